// The saturation dome and the sixteen isobars with their rotated pressure labels.
// Both tracers step upward in temperature by the frame's t_step and ask the property
// library for the entropy at each step; the isobar tracer also hands every drawn point
// to the isenthalp crossing detector (diagram/isenthalps.h).
#pragma once

#include "diagram/frame.h"
#include "platform.h"

struct CrossingGrid;

constexpr int isobar_count = 16;
constexpr int critical_isobar = 13;  // the 221.2 bar entry

// Pressures in bar, single precision on purpose: an isobar's pressure in Pa is the
// entry widened to double times 100000, rounding included (0.02 -> 1999.99995529... Pa).
extern const float isobar_pressures[isobar_count];

// The last point drawn on each isobar. After the isobar labels are drawn, entries 0..10
// are overwritten with the label anchors of the eleven isenthalps.
extern POINT label_anchor[isobar_count];

constexpr COLORREF dome_colour = RGB(255, 255, 0);
constexpr COLORREF isobar_colour = RGB(0, 255, 0);
constexpr COLORREF critical_isobar_colour = RGB(0, 130, 0);

// Critical point as the dome draws it.
constexpr double dome_critical_t = 374.15;   // C
constexpr double dome_critical_s = 4442.9;   // J/(kg K)

// The temperature step the tracers use: the frame's t_step, or 1 C if the frame's step
// is not positive (a plot taller than 700 pixels), so that a tracer always advances.
double tracer_step(const DiagramFrame& frame);

// Entropy of the saturated liquid and vapour at t (C), as the dome traces them.
double dome_liquid_entropy(double t);
double dome_vapour_entropy(double t);

// Liquid and vapour branches from 10 C up to the critical point.
void draw_saturation_dome(HDC hdc, const DiagramFrame& frame);

// Traces and draws the sixteen isobars, records each one's end in anchors and feeds
// every drawn point to the crossing detector of grid (which it clears first).
void draw_isobars(HDC hdc, const DiagramFrame& frame, CrossingGrid* grid,
                  POINT anchors[isobar_count]);

// The pressure labels, rotated along the isobars' general direction, ending near each
// isobar's last point.
void draw_isobar_labels(HDC hdc, const DiagramFrame& frame,
                        const POINT anchors[isobar_count]);

// The isobar phase followed by the isenthalp phase, over the module-level
// crossing_grid and label_anchor. Nothing is cached: everything is traced again.
void draw_isolines(HDC hdc, const DiagramFrame& frame);
