// vapora-chart: draws the main window's client area (994 x 671, the pixels the Linux
// window shows) through the same repaint as the window, headless, into a PNG, an SVG or
// a PDF, as the output's extension says.
//
//   vapora-chart OUT [--scale N] [--point S T] [--process S1 T1 S2 T2] [--states FILE]
//
// s in kJ/kg C, t in C. --scale draws it N times larger (1 to 8). --states draws the
// states of a batch input or output file as red marks joined by red lines.
#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "diagram/diagram.h"
#include "gdi_internal.h"
#include "solvers/solvers.h"
#include "solvers/typed_number.h"
#include "tools/batch.h"

namespace {

constexpr int client_width = 994;
constexpr int client_height = 671;

const char usage_text[] =
    "usage: vapora-chart OUT.png|OUT.svg|OUT.pdf [--scale N] [--point S T]\n"
    "                    [--process S1 T1 S2 T2] [--states FILE]\n"
    "       S in kJ/kg C, T in C; --scale 1 to 8; FILE a batch input or output\n";

// One line on stderr and the status of a refused command line.
int refuse(const std::string& why) {
    std::fprintf(stderr, "vapora-chart: %s\n", why.c_str());
    return 2;
}

// A diagram point no further outside the chart than the chart is wide or high: beyond
// that nothing drawn there could be seen, and its pixels would leave the int range.
bool on_or_near_chart(double s_kj, double t) {
    return s_kj >= -10 && s_kj <= 20 && t >= -700 && t <= 1400;
}

struct Point {
    double s_kj, t;
};

std::vector<std::string> fields_of(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream row(line);
    for (std::string field; std::getline(row, field, ',');) fields.push_back(field);
    return fields;
}

// The state a batch output row holds: empty and *point (t_C, s_kJ_kgC) when its status
// is ok, else the status, which may hold commas and be quoted.
std::string state_of_answer(const std::vector<std::string>& f, Point* point) {
    std::string status = f[11];
    for (size_t i = 12; i < f.size(); ++i) status += "," + f[i];
    if (status.size() > 1 && status.front() == '"' && status.back() == '"')
        status = status.substr(1, status.size() - 2);
    if (status != "ok") return status;
    if (!parse_number_field(f[5].c_str(), &point->t) ||
        !parse_number_field(f[8].c_str(), &point->s_kj))
        return "bad row: no state";
    return "";
}

// The answered rows of a states file in order; refused ones are named on stderr.
bool read_states(const char* path, std::vector<Point>* points) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    bool first_row = true;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Lines the batch skips (blank, comment, header) are skipped here too; an input row
        // is read as the batch answers it, an output row as it stands.
        std::string answer;
        batch_answer_line(line, &first_row, &answer);
        if (answer.empty()) continue;
        std::vector<std::string> fields = fields_of(line);
        if (fields.size() < 12) fields = fields_of(answer.substr(0, answer.find('\n')));
        Point p;
        const std::string why = fields.size() < 12 ? "bad row" : state_of_answer(fields, &p);
        if (why.empty())
            points->push_back(p);
        else
            std::fprintf(stderr, "vapora-chart: %s line %d skipped: %s\n", path, number,
                         why.c_str());
    }
    return true;
}

// The readout as a mouse move at that diagram point shows it: t and s always, the
// other values only inside the valid space, p converted to Pa.
void draw_point_readout(HDC hdc, const DiagramFrame& frame, Point point) {
    SteamState state = {};
    state.t = point.t;
    state.s = point.s_kj * 1000;
    if (state_at_diagram_point(state.t, state.s, &state)) state.p *= pascals_per_bar;
    draw_readout_panel(hdc, frame, state);
}

// Red marks joined in order by red lines, as the window draws a process.
void draw_path(HDC hdc, const DiagramFrame& frame, const std::vector<Point>& points) {
    std::vector<POINT> px;
    for (const Point& p : points)
        px.push_back({s_to_px(frame, p.s_kj * 1000), t_to_px(frame, p.t)});
    for (size_t i = 1; i < px.size(); ++i)
        draw_process_line(hdc, px[i - 1].x, px[i - 1].y, px[i].x, px[i].y, marker_red);
    for (const POINT& p : px) draw_point_marker(hdc, p.x, p.y, marker_red);
}

bool ends_with(const std::string& text, const char* tail) {
    const size_t n = std::strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("vapora-chart %s\n", VAPORA_VERSION);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(usage_text, stdout);
        return 0;
    }
    if (argc < 2 || argv[1][0] == '-')
        return refuse(
            "the first argument is the output, OUT.png, OUT.svg or OUT.pdf (--help for more)");
    const std::string out = argv[1];
    const bool png = ends_with(out, ".png"), svg = ends_with(out, ".svg"),
               pdf = ends_with(out, ".pdf");
    if (!png && !svg && !pdf)
        return refuse("'" + out + "': the output must end in .png, .svg or .pdf");
    double scale = 1;
    std::vector<Point> point, process, states;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        const int count = option == "--point" ? 2 : option == "--process" ? 4 : 1;
        if (option != "--point" && option != "--process" && option != "--scale" &&
            option != "--states")
            return refuse("unknown option '" + option + "'");
        if (i + count >= argc)
            return refuse(option + " needs " + std::to_string(count) +
                          (count == 1 ? " value" : " numbers"));
        if (option == "--states") {
            if (!read_states(argv[++i], &states))
                return refuse(std::string("cannot read ") + argv[i]);
            continue;
        }
        double v[4];
        for (int j = 0; j < count; ++j)
            if (!parse_number_field(argv[++i], &v[j]))
                return refuse("'" + std::string(argv[i]) + "' is not a number");
        if (option == "--scale") {
            if (v[0] != std::floor(v[0]) || v[0] < 1 || v[0] > 8)
                return refuse("--scale takes a whole number from 1 to 8");
            scale = v[0];
            continue;
        }
        for (int j = 0; j < count; j += 2) {
            if (!on_or_near_chart(v[j], v[j + 1]))
                return refuse("(" + std::string(argv[i - count + j + 1]) + ", " +
                              argv[i - count + j + 2] + ") lies far outside the chart");
            (option == "--point" ? point : process).push_back({v[j], v[j + 1]});
        }
    }

    // N times larger: the page or picture, and through the device scale everything on it.
    const int width = int(client_width * scale), height = int(client_height * scale);
    cairo_surface_t* surface = svg ? cairo_svg_surface_create(out.c_str(), width, height)
                               : pdf
                                   ? cairo_pdf_surface_create(out.c_str(), width, height)
                                   : cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (svg)
        cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);  // the window's pixels
    cairo_surface_set_device_scale(surface, scale, scale);
    HDC hdc = vapora_dc_for_surface(surface);
    const RECT client = {0, 0, client_width, client_height};
    DiagramFrame frame;
    draw_chart(hdc, &client, &frame);
    if (!point.empty()) draw_point_readout(hdc, frame, point.back());
    draw_path(hdc, frame, process);
    draw_path(hdc, frame, states);
    vapora_release_surface_dc(hdc);

    cairo_status_t status =
        png ? cairo_surface_write_to_png(surface, out.c_str()) : CAIRO_STATUS_SUCCESS;
    cairo_surface_finish(surface);
    const bool written =
        status == CAIRO_STATUS_SUCCESS && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!written) {
        std::fprintf(stderr, "vapora-chart: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
