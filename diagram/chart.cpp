#include "diagram/chart.h"

#include "diagram/dome_isobars.h"
#include "diagram/isolines.h"
#include "diagram/overlays.h"

void fill_client_black(HDC hdc, const RECT* client) {
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
    HGDIOBJ old_brush = SelectObject(hdc, brush);
    Rectangle(hdc, 0, 0, client->right, client->bottom);
    SelectObject(hdc, old_brush);
    DeleteObject(brush);
}

void draw_chart(HDC hdc, const RECT* client, DiagramFrame* frame) {
    *frame = frame_from_client(client);
    fill_client_black(hdc, client);
    draw_diagram_frame(hdc, *frame);
    draw_status_box(hdc, status_drawing);
    draw_isolines(hdc, *frame);
    draw_saturation_dome(hdc, *frame);
    draw_title_box(hdc, start_prompt_line1, start_prompt_line2);
}
