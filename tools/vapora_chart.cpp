// vapora-chart: draws the main window's client area (994 x 671, the pixels the Linux
// window shows) into a memory device context through the same repaint as the window,
// and writes it as a PNG. Needs no display.
//
//   vapora-chart out.png                         the chart as a repaint leaves it
//   vapora-chart out.png --point S T             plus the readout at (s, t)
//   vapora-chart out.png --process S1 T1 S2 T2   plus two marked points and the red line
//
// s in kJ/kg C, t in C.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "diagram/diagram.h"
#include "solvers/solvers.h"

namespace {

constexpr int client_width = 994;
constexpr int client_height = 671;

void usage()
{
    std::fprintf(stderr,
                 "usage: vapora-chart OUT.png [--point S T] [--process S1 T1 S2 T2]\n"
                 "       S in kJ/kg C, T in C\n");
}

bool parse_number(const char* text, double* value)
{
    char* end = nullptr;
    *value = std::strtod(text, &end);
    return end != text && *end == '\0';
}

// The readout as a mouse move at that diagram point shows it: t and s always, the
// other values only inside the valid space, p converted to Pa.
void draw_point_readout(HDC hdc, const DiagramFrame& frame, double s_kj, double t)
{
    SteamState state = {};
    state.t = t;
    state.s = s_kj * 1000;
    if (state_at_diagram_point(t, state.s, &state))
        state.p *= 100000;
    draw_readout_panel(hdc, frame, state);
}

void draw_process(HDC hdc, const DiagramFrame& frame, const double v[4])
{
    const int x1 = s_to_px(frame, v[0] * 1000), y1 = t_to_px(frame, v[1]);
    const int x2 = s_to_px(frame, v[2] * 1000), y2 = t_to_px(frame, v[3]);
    draw_point_marker(hdc, x1, y1, marker_red);
    draw_point_marker(hdc, x2, y2, marker_red);
    draw_process_line(hdc, x1, y1, x2, y2, marker_red);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("vapora-chart %s\n", VAPORA_VERSION);
        return 0;
    }
    if (argc < 2 || argv[1][0] == '-') {
        usage();
        return 2;
    }
    const char* out_path = argv[1];
    bool want_point = false, want_process = false;
    double point[2] = {0, 0}, process[4] = {0, 0, 0, 0};
    for (int i = 2; i < argc; ++i) {
        double* target = nullptr;
        int count = 0;
        if (std::strcmp(argv[i], "--point") == 0) {
            want_point = true;
            target = point;
            count = 2;
        } else if (std::strcmp(argv[i], "--process") == 0) {
            want_process = true;
            target = process;
            count = 4;
        } else {
            usage();
            return 2;
        }
        if (i + count >= argc) {  // too few numbers after the option
            usage();
            return 2;
        }
        for (int j = 0; j < count; ++j)
            if (!parse_number(argv[i + 1 + j], &target[j])) {
                usage();
                return 2;
            }
        i += count;
    }

    HDC hdc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(hdc, client_width, client_height);
    HGDIOBJ old_bitmap = SelectObject(hdc, bitmap);

    const RECT client = {0, 0, client_width, client_height};
    DiagramFrame frame;
    draw_chart(hdc, &client, &frame);
    if (want_point)
        draw_point_readout(hdc, frame, point[0], point[1]);
    if (want_process)
        draw_process(hdc, frame, process);

    const int saved = vapora_save_png(hdc, out_path);
    SelectObject(hdc, old_bitmap);
    DeleteObject(bitmap);
    DeleteDC(hdc);
    if (!saved) {
        std::fprintf(stderr, "vapora-chart: cannot write %s\n", out_path);
        return 1;
    }
    return 0;
}
