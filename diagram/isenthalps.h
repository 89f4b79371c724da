// The eleven isenthalps from 2.6 to 3.6 MJ/kg. They are not traced on their own:
// while the isobars are traced every point is compared with the eleven levels and the
// pixel where an isobar comes nearest to a level is kept as their crossing. Each
// isenthalp is then drawn through its crossings in isobar order, extended to the top
// edge (700 C) or the right edge (10 kJ/kg C) where it leaves the chart.
#pragma once

#include <cstdint>

#include "diagram/frame.h"
#include "diagram/isobar_table.h"
#include "platform.h"

constexpr int isenthalp_count = 11;

// J/kg, single precision as the comparisons use them.
extern const float isenthalp_levels[isenthalp_count];
// 100000 / 11 held in single precision: how near a point must come to a level.
extern const float crossing_tolerance;

constexpr COLORREF isenthalp_colour = RGB(0, 255, 255);

// Slot (k, i) holds the crossing of isenthalp k with isobar i, or an end point added
// after the trace; x == -1 marks an empty slot.
struct CrossingGrid {
    int32_t x[isenthalp_count][isobar_count];
    int32_t y[isenthalp_count][isobar_count];
};

void clear_crossings(CrossingGrid* grid);

// The crossing detector, called once per drawn isobar point. reference_h starts each
// isobar at the enthalpy of its start point; the first level (in ascending order) the
// point comes nearer to takes it as the new reference, and the point is recorded in
// that level's slot if it is within crossing_tolerance.
void note_crossing(CrossingGrid* grid, int isobar, double* reference_h, double h, int x, int y);

// Result of an end-point search: found is 0 if the search hit its iteration cap.
struct EdgeSearch {
    int found;
    double value;  // pressure in Pa (top edge) or temperature in C (right edge)
};

// Pressure on the 700 C isotherm where the steam enthalpy is within 250 J/kg of h.
EdgeSearch top_edge_pressure(double h);
// Temperature on the line s = 10000 J/(kg K) where the steam enthalpy is within
// 250 J/kg of h; low_pressure_pa bounds the inner pressure search from above.
EdgeSearch right_edge_temperature(double h, double low_pressure_pa);

// Adds the top-edge and right-edge end points to grid and sets the isenthalp label
// anchors (entries 0..10 of anchors). A label whose anchor could not be found gets
// x = -1 and is not drawn.
void add_isenthalp_end_points(const DiagramFrame& frame, CrossingGrid* grid,
                              POINT anchors[isobar_count]);

// Polylines through the filled slots; an empty slot lifts the pen.
void draw_isenthalps(HDC hdc, const CrossingGrid& grid);

// "2.6 MJ/kg" ... "3.6 MJ/kg", each ending six pixels left of and just above its anchor.
void draw_isenthalp_labels(HDC hdc, const POINT anchors[isobar_count]);
