// The isolines of the chart: the sixteen isobars with their labels, then the eleven
// isenthalps that the isobar trace finds on its way, with their end points and labels.
#pragma once

#include "diagram/frame.h"
#include "diagram/isenthalps.h"
#include "diagram/isobar_table.h"
#include "platform.h"

// The last point drawn on each isobar. After the isobar labels are drawn, entries 0..10
// are overwritten with the label anchors of the eleven isenthalps.
extern POINT label_anchor[isobar_count];

// The grid the last draw_isolines call built.
extern CrossingGrid crossing_grid;

// The isobar phase followed by the isenthalp phase, over crossing_grid and label_anchor.
// Nothing is cached: everything is traced again.
void draw_isolines(HDC hdc, const DiagramFrame& frame);
