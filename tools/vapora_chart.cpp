// vapora-chart: draws the main window's client area (994 x 671, the pixels the Linux
// window shows) through the same repaint as the window, headless, into a PNG, an SVG or
// a PDF, as the output's extension says.
//
//   vapora-chart OUT [--scale N] [--point S T] [--process S1 T1 S2 T2] [--states FILE]
//
// s in kJ/kg C, t in C. --scale draws it N times larger (1 to 8). --states draws the
// states of a batch input or output file (or - for standard input) as red marks joined by
// red lines.
//
// The chart is written to a temporary file beside OUT and renamed over it only when it is
// complete, so a failure (a full disk, say) leaves no file and never a partial one: one
// line naming OUT and the reason, status 1.
#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <fcntl.h>
#include <getopt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "diagram/diagram.h"
#include "gdi_internal.h"
#include "solvers/solvers.h"
#include "solvers/typed_number.h"
#include "tools/batch.h"
#include "tools/csv_reader.h"

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

// The state of an answered record: empty and *point when there is one, else why not. A
// batch output row (twelve fields or more) is read as it stands, an input row is answered
// as the batch answers it.
std::string state_of(const CsvRecord& record, Point* point) {
    const std::vector<std::string>& f = record.fields;
    if (f.size() >= 12 && !record.malformed) {
        if (f[11] != "ok") return f[11];
        if (!parse_number_field(f[5].c_str(), &point->t) ||
            !parse_number_field(f[8].c_str(), &point->s_kj))
            return "bad row: no state";
        return "";
    }
    SteamState state;
    const char* status = batch_status(record, &state);
    if (std::strcmp(status, "ok") != 0) return status;
    *point = {state.s / 1000, state.t};
    return "";
}

// The answered rows of a states file in order; refused ones are named on stderr. "-" is
// standard input; anything else must be a readable regular file. Returns the refusal of
// the argument, empty when the file was read.
std::string read_states(const char* path, std::vector<Point>* points) {
    const bool from_stdin = std::strcmp(path, "-") == 0;
    const std::string name = from_stdin ? "standard input" : "'" + std::string(path) + "'";
    const int fd = from_stdin ? 0 : open(path, O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) return "cannot read " + name + ": " + std::strerror(errno);
    CsvInput input;
    CsvEnd end = S_ISREG(st.st_mode) || from_stdin ? csv_open(fd, &input) : CsvEnd::read_error;
    CsvRecord record;
    bool first_row = true;
    // Ends at the input's end: every record consumes at least its line break.
    while (end == CsvEnd::record && (end = csv_next(&input, &record)) == CsvEnd::record) {
        Point p;
        if (!batch_answers(record, &first_row)) continue;
        const std::string why = state_of(record, &p);
        if (why.empty())
            points->push_back(p);
        else
            std::fprintf(stderr, "vapora-chart: %s line %ld skipped: %s\n", path, record.line,
                         why.c_str());
    }
    if (!from_stdin) close(fd);
    if (!S_ISREG(st.st_mode) && !from_stdin) return name + " is not a regular file";
    if (end == CsvEnd::utf16) return name + " is UTF-16, not UTF-8 text: save it as CSV UTF-8";
    if (end == CsvEnd::not_utf8) return name + " is not UTF-8 text: save it as CSV UTF-8";
    if (end == CsvEnd::read_error)
        return "cannot read " + name + ": " + std::strerror(input.errno_value);
    return "";
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

// --- the command line -------------------------------------------------------------

struct ChartRequest {
    std::string out;
    bool png = false, svg = false, pdf = false;
    double scale = 1;
    std::vector<Point> point, process, states;
};

// The values of --scale, --point or --process: getopt gives the first, the rest follow.
std::string read_numbers(int count, char** argv, int argc, double* v) {
    const char* name = count == 1 ? "--scale" : count == 2 ? "--point" : "--process";
    for (int j = 0; j < count; ++j) {
        const char* word = j == 0 ? optarg : optind < argc ? argv[optind++] : nullptr;
        if (word == nullptr)
            return std::string(name) + " needs " + std::to_string(count) +
                   (count == 1 ? " value" : " numbers");
        if (!parse_number_field(word, &v[j])) return "'" + std::string(word) + "' is not a number";
    }
    return "";
}

// The options after OUT (argv[0] here, as getopt wants a name there); the refusal, or
// empty.
std::string read_options(int argc, char** argv, ChartRequest* r) {
    static const option options[] = {{"scale", required_argument, nullptr, 1},
                                     {"point", required_argument, nullptr, 2},
                                     {"process", required_argument, nullptr, 4},
                                     {"states", required_argument, nullptr, 's'},
                                     {nullptr, 0, nullptr, 0}};
    opterr = 0;  // its own messages instead of getopt's
    // Ends: every call consumes at least one word.
    for (int c; (c = getopt_long(argc, argv, "+:", options, nullptr)) != -1;) {
        if (c == '?') return "unknown option '" + std::string(argv[optind - 1]) + "'";
        if (c == ':' || c == 's') {
            if (c == ':') return std::string(argv[optind - 1]) + " needs a value";
            const std::string why = read_states(optarg, &r->states);
            if (!why.empty()) return why;
            continue;
        }
        double v[4];
        const std::string why = read_numbers(c, argv, argc, v);
        if (!why.empty()) return why;
        if (c == 1 && (v[0] != std::floor(v[0]) || v[0] < 1 || v[0] > 8))
            return "--scale takes a whole number from 1 to 8";
        if (c == 1) r->scale = v[0];
        for (int j = 0; c > 1 && j < c; j += 2) {
            if (!on_or_near_chart(v[j], v[j + 1]))
                return "(" + std::string(argv[optind - c + j]) + ", " + argv[optind - c + j + 1] +
                       ") lies far outside the chart";
            (c == 2 ? r->point : r->process).push_back({v[j], v[j + 1]});
        }
    }
    if (optind < argc) return "unexpected argument '" + std::string(argv[optind]) + "'";
    return "";
}

// --- writing ----------------------------------------------------------------------

// Where the chart's bytes go, and the first error met there.
struct Sink {
    int fd = -1;
    int error = 0;
    std::string path;  // the file the chart ends up in
    std::string temp;  // the temporary file beside it; empty when writing directly
};

cairo_status_t write_bytes(void* closure, const unsigned char* data, unsigned int length) {
    Sink* sink = static_cast<Sink*>(closure);
    // Ends: every pass writes at least one byte or stops at the error.
    while (length > 0 && sink->error == 0) {
        const ssize_t n = write(sink->fd, data, length);
        if (n < 0) {
            if (errno != EINTR) sink->error = errno;
            continue;
        }
        data += n, length -= static_cast<unsigned int>(n);
    }
    return sink->error ? CAIRO_STATUS_WRITE_ERROR : CAIRO_STATUS_SUCCESS;
}

// Opens the temporary file beside out (beside the file a symbolic link names), with the
// permissions a new file gets. An existing out that is not a regular file (a device, a
// pipe) is written directly. A failure is left in sink->error.
void open_sink(const std::string& out, Sink* sink) {
    struct stat st;
    if (stat(out.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        sink->fd = open(out.c_str(), O_WRONLY | O_CLOEXEC);
        if (sink->fd < 0) sink->error = errno;
        return;
    }
    char* real = realpath(out.c_str(), nullptr);
    sink->path = real ? real : out;
    std::free(real);
    const size_t slash = sink->path.rfind('/');
    sink->temp = (slash == std::string::npos ? "" : sink->path.substr(0, slash + 1)) +
                 ".vapora-chart-XXXXXX";
    sink->fd = mkstemp(&sink->temp[0]);
    const mode_t mask = umask(0);
    umask(mask);
    if (sink->fd < 0 || fchmod(sink->fd, 0666 & ~mask) != 0) sink->error = errno;
}

// Completes a drawn file: synced and closed, then renamed over its target. A file not
// drawn, or not written whole, is removed. Returns 0 or the first errno.
int close_sink(Sink* sink, bool drawn) {
    int error = sink->error;
    if (drawn && error == 0 && !sink->temp.empty() && fsync(sink->fd) != 0) error = errno;
    if (sink->fd >= 0 && close(sink->fd) != 0 && error == 0) error = errno;
    if (sink->temp.empty() || sink->fd < 0) return error;
    if (drawn && error == 0 && std::rename(sink->temp.c_str(), sink->path.c_str()) != 0)
        error = errno;
    if (!drawn || error != 0) unlink(sink->temp.c_str());
    return error;
}

// What --help and --version print, checked like the chart itself.
int print_text(const char* text) {
    std::fputs(text, stdout);
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout);
    const int error = errno;
    if (std::fclose(stdout) == 0 && !failed) return 0;
    std::fprintf(stderr, "vapora-chart: cannot write standard output: %s\n",
                 std::strerror(failed ? error : errno));
    return 1;
}

// Draws the chart onto a new surface of the request's format writing into sink; returns
// cairo's status after the surface has been finished.
cairo_status_t draw_to(const ChartRequest& r, Sink* sink) {
    // N times larger: the page or picture, and through the device scale everything on it.
    const int width = int(client_width * r.scale), height = int(client_height * r.scale);
    cairo_surface_t* surface =
        r.svg   ? cairo_svg_surface_create_for_stream(write_bytes, sink, width, height)
        : r.pdf ? cairo_pdf_surface_create_for_stream(write_bytes, sink, width, height)
                : cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (r.svg)
        cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);  // the window's pixels
    cairo_surface_set_device_scale(surface, r.scale, r.scale);
    HDC hdc = vapora_dc_for_surface(surface);
    const RECT client = {0, 0, client_width, client_height};
    DiagramFrame frame;
    draw_chart(hdc, &client, &frame);
    if (!r.point.empty()) draw_point_readout(hdc, frame, r.point.back());
    draw_path(hdc, frame, r.process);
    draw_path(hdc, frame, r.states);
    vapora_release_surface_dc(hdc);
    cairo_status_t status = r.png ? cairo_surface_write_to_png_stream(surface, write_bytes, sink)
                                  : CAIRO_STATUS_SUCCESS;
    cairo_surface_finish(surface);  // a vector surface writes its end here
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
        return print_text("vapora-chart " VAPORA_VERSION "\n");
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) return print_text(usage_text);
    if (argc < 2 || argv[1][0] == '-')
        return refuse(
            "the first argument is the output, OUT.png, OUT.svg or OUT.pdf (--help for more)");
    ChartRequest r;
    r.out = argv[1];
    r.png = ends_with(r.out, ".png"), r.svg = ends_with(r.out, ".svg");
    r.pdf = ends_with(r.out, ".pdf");
    if (!r.png && !r.svg && !r.pdf)
        return refuse("'" + r.out + "': the output must end in .png, .svg or .pdf");
    const std::string why = read_options(argc - 1, argv + 1, &r);
    if (!why.empty()) return refuse(why);

    Sink sink;
    open_sink(r.out, &sink);
    const cairo_status_t status = sink.error ? CAIRO_STATUS_WRITE_ERROR : draw_to(r, &sink);
    const int error = close_sink(&sink, status == CAIRO_STATUS_SUCCESS);
    if (status == CAIRO_STATUS_SUCCESS && error == 0) return 0;
    std::fprintf(stderr, "vapora-chart: cannot write %s: %s\n", r.out.c_str(),
                 error ? std::strerror(error) : cairo_status_to_string(status));
    return 1;
}
