// vapora-chart: draws the main window's client area (994 x 671, the pixels the Linux
// window shows) through the same repaint as the window, headless, into a PNG, an SVG or
// a PDF, as the output's extension says.
//
//   vapora-chart OUT [--scale N] [--point S T] [--process S1 T1 S2 T2] [--states FILE]
//
// s in kJ/kg C, t in C. --scale draws a PNG N times larger (1 to 8). --states draws the
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

namespace {

constexpr int client_width = 994;
constexpr int client_height = 671;

const char usage_text[] =
    "usage: vapora-chart OUT.png|OUT.svg|OUT.pdf [--scale N] [--point S T]\n"
    "                    [--process S1 T1 S2 T2] [--states FILE]\n"
    "       S in kJ/kg C, T in C; --scale 1 to 8 (PNG); FILE a batch input or output\n";

// One line on stderr and the status of a refused command line.
int refuse(const std::string& why)
{
    std::fprintf(stderr, "vapora-chart: %s\n", why.c_str());
    return 2;
}

// The whole field is one number as the data-input dialog reads it: an optional sign,
// digits with a decimal point, an optional exponent; finite.
bool parse_number(const std::string& text, double* value)
{
    if (text.empty() || text.find_first_not_of("0123456789+-.eE") != std::string::npos)
        return false;
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return *end == '\0' && end != text.c_str() && std::isfinite(*value);
}

// A diagram point no further outside the chart than the chart is wide or high: beyond
// that nothing drawn there could be seen, and its pixels would leave the int range.
bool on_or_near_chart(double s_kj, double t)
{
    return s_kj >= -10 && s_kj <= 20 && t >= -700 && t <= 1400;
}

struct Point {
    double s_kj, t;
};

// The state one CSV row stands for: a batch input row (PAIR,A,B or
// turbine,P1,T1,P2,EFF, solved as vapora-calc solves it) or a batch output row (its
// t_C and s_kJ_kgC when its status is ok). Returns an empty string and *point, or why
// the row gives no state.
std::string state_of_row(const std::vector<std::string>& f, Point* point)
{
    static const char* const pairs[] = {"t_p", "t_h", "p_h", "t_s", "p_s", "t_x", "p_x"};
    double v[4];
    if (f.size() >= 12) {
        std::string status = f[11];  // a refusal's text may hold commas, and quotes
        for (size_t i = 12; i < f.size(); ++i)
            status += "," + f[i];
        if (status.size() > 1 && status.front() == '"' && status.back() == '"')
            status = status.substr(1, status.size() - 2);
        if (status != "ok")
            return status;
        if (!parse_number(f[5], &v[0]) || !parse_number(f[8], &v[1]))
            return "bad row: no state";
        *point = {v[1], v[0]};
        return "";
    }
    const bool turbine = f[0] == "turbine";
    const size_t count = turbine ? 4 : 2;
    int pair = -1;
    for (int code = 0; code < 7; ++code)
        if (f[0] == pairs[code])
            pair = code;
    if ((!turbine && pair < 0) || f.size() != count + 1)
        return "bad row: not a pair code and two numbers, nor turbine and four";
    for (size_t i = 0; i < count; ++i)
        if (!parse_number(f[i + 1], &v[i]))
            return "bad row: '" + f[i + 1] + "' is not a number";
    SteamState state, inlet, isentropic;
    // h and s are given in kJ, the solvers take J.
    const auto si = [](char quantity, double value) { return quantity == 'h' || quantity == 's' ? value * 1000 : value; };
    const bool solved = turbine ? solve_typed_point(t_p, v[1], v[0], &inlet) &&
                                      turbine_expansion(&inlet, v[2], v[3], &isentropic, &state)
                                : solve_typed_point(pair, si(f[0][0], v[0]), si(f[0][2], v[1]), &state);
    if (!solved)
        return "Data out of range, please retry";
    *point = {state.s / 1000, state.t};
    return "";
}

// The answered rows of a states file in order; refused ones are named on stderr.
bool read_states(const char* path, std::vector<Point>* points)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#' || line.compare(0, 4, "pair") == 0)
            continue;
        std::vector<std::string> fields;
        std::stringstream row(line);
        for (std::string field; std::getline(row, field, ',');)
            fields.push_back(field);
        Point p;
        const std::string why = state_of_row(fields, &p);
        if (why.empty())
            points->push_back(p);
        else
            std::fprintf(stderr, "vapora-chart: %s line %d skipped: %s\n", path, number, why.c_str());
    }
    return true;
}

// The readout as a mouse move at that diagram point shows it: t and s always, the
// other values only inside the valid space, p converted to Pa.
void draw_point_readout(HDC hdc, const DiagramFrame& frame, Point point)
{
    SteamState state = {};
    state.t = point.t;
    state.s = point.s_kj * 1000;
    if (state_at_diagram_point(state.t, state.s, &state))
        state.p *= 100000;
    draw_readout_panel(hdc, frame, state);
}

// Red marks joined in order by red lines, as the window draws a process.
void draw_path(HDC hdc, const DiagramFrame& frame, const std::vector<Point>& points)
{
    std::vector<POINT> px;
    for (const Point& p : points)
        px.push_back({s_to_px(frame, p.s_kj * 1000), t_to_px(frame, p.t)});
    for (size_t i = 1; i < px.size(); ++i)
        draw_process_line(hdc, px[i - 1].x, px[i - 1].y, px[i].x, px[i].y, marker_red);
    for (const POINT& p : px)
        draw_point_marker(hdc, p.x, p.y, marker_red);
}

bool ends_with(const std::string& text, const char* tail)
{
    const size_t n = std::strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(usage_text, stdout);
        return 0;
    }
    if (argc < 2 || argv[1][0] == '-') {
        std::fputs(usage_text, stderr);
        return 2;
    }
    const std::string out = argv[1];
    const bool png = ends_with(out, ".png"), svg = ends_with(out, ".svg"), pdf = ends_with(out, ".pdf");
    if (!png && !svg && !pdf)
        return refuse("'" + out + "': the output must end in .png, .svg or .pdf");
    double scale = 1;
    std::vector<Point> point, process, states;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        const int count = option == "--point" ? 2 : option == "--process" ? 4 : 1;
        if (option != "--point" && option != "--process" && option != "--scale" && option != "--states")
            return refuse("unknown option '" + option + "'");
        if (i + count >= argc)
            return refuse(option + " needs " + std::to_string(count) + (count == 1 ? " value" : " numbers"));
        if (option == "--states") {
            if (!read_states(argv[++i], &states))
                return refuse(std::string("cannot read ") + argv[i]);
            continue;
        }
        double v[4];
        for (int j = 0; j < count; ++j)
            if (!parse_number(argv[++i], &v[j]))
                return refuse("'" + std::string(argv[i]) + "' is not a number");
        if (option == "--scale") {
            if (v[0] != std::floor(v[0]) || v[0] < 1 || v[0] > 8)
                return refuse("--scale takes a whole number from 1 to 8");
            scale = v[0];
            continue;
        }
        for (int j = 0; j < count; j += 2) {
            if (!on_or_near_chart(v[j], v[j + 1]))
                return refuse("(" + std::string(argv[i - count + j + 1]) + ", " + argv[i - count + j + 2] +
                              ") lies far outside the chart");
            (option == "--point" ? point : process).push_back({v[j], v[j + 1]});
        }
    }

    cairo_surface_t* surface =
        svg   ? cairo_svg_surface_create(out.c_str(), client_width, client_height)
        : pdf ? cairo_pdf_surface_create(out.c_str(), client_width, client_height)
              : cairo_image_surface_create(CAIRO_FORMAT_RGB24, int(client_width * scale),
                                           int(client_height * scale));
    if (svg)
        cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);  // the window's pixels
    cairo_surface_set_device_scale(surface, scale, scale);
    HDC hdc = vapora_dc_for_surface(surface);
    const RECT client = {0, 0, client_width, client_height};
    DiagramFrame frame;
    draw_chart(hdc, &client, &frame);
    if (!point.empty())
        draw_point_readout(hdc, frame, point.back());
    draw_path(hdc, frame, process);
    draw_path(hdc, frame, states);
    vapora_release_surface_dc(hdc);

    cairo_status_t status = png ? cairo_surface_write_to_png(surface, out.c_str()) : CAIRO_STATUS_SUCCESS;
    cairo_surface_finish(surface);
    const bool written = status == CAIRO_STATUS_SUCCESS && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!written) {
        std::fprintf(stderr, "vapora-chart: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
