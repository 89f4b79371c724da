#include "diagram/isolines.h"

#include "diagram/dome_isobars.h"

POINT label_anchor[isobar_count];
CrossingGrid crossing_grid;

void draw_isolines(HDC hdc, const DiagramFrame& frame) {
    draw_isobars(hdc, frame, &crossing_grid, label_anchor);
    draw_isobar_labels(hdc, frame, label_anchor);
    add_isenthalp_end_points(frame, &crossing_grid, label_anchor);
    draw_isenthalps(hdc, crossing_grid);
    draw_isenthalp_labels(hdc, label_anchor);
}
