// The saturation dome and the sixteen isobars with their rotated pressure labels.
// Both tracers step upward in temperature by the frame's t_step and ask the property
// library for the entropy at each step; the isobar tracer also hands every drawn point
// to the isenthalp crossing detector (diagram/isenthalps.h).
#pragma once

#include "diagram/frame.h"
#include "diagram/isenthalps.h"
#include "diagram/isobar_table.h"
#include "platform.h"

constexpr COLORREF dome_colour = RGB(255, 255, 0);
constexpr COLORREF isobar_colour = RGB(0, 255, 0);
constexpr COLORREF critical_isobar_colour = RGB(0, 130, 0);

// The temperature step the tracers use: the frame's t_step, or 1 C if the frame's step
// is not positive (a plot taller than 700 pixels), so that a tracer always advances.
double tracer_step(const DiagramFrame& frame);

// Liquid and vapour branches from 10 C up to the critical point.
void draw_saturation_dome(HDC hdc, const DiagramFrame& frame);

// Traces and draws the sixteen isobars, records each one's end in anchors and feeds
// every drawn point to the crossing detector of grid (which it clears first).
void draw_isobars(HDC hdc, const DiagramFrame& frame, CrossingGrid* grid,
                  POINT anchors[isobar_count]);

// The pressure labels, rotated along the isobars' general direction, ending near each
// isobar's last point.
void draw_isobar_labels(HDC hdc, const DiagramFrame& frame, const POINT anchors[isobar_count]);
