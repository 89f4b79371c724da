// The state dump: a few hundred bytes of text per handled message, only when asked for.
#include "state_dump.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "program_state.h"
#include "results_dialog.h"

namespace {

long dump_sequence = 0;
long beep_count = 0;
long refusal_count = 0;
// How often each event has been dumped, so a reader cannot miss one that a later
// dump has overwritten.
std::map<std::string, long> event_counts;

const char* dump_path() {
    static const char* path = std::getenv("VAPORA_STATE_DUMP");
    return (path && *path) ? path : nullptr;
}

void put_state(FILE* f, const char* name, const SteamState& s) {
    std::fprintf(f, "%s %.17g %.17g %.17g %.17g %.17g %.17g\n", name, s.t, s.p, s.h, s.s, s.v,
                 s.x);
}

void put_point(FILE* f, const char* name, POINT p) {
    std::fprintf(f, "%s %ld %ld\n", name, static_cast<long>(p.x), static_cast<long>(p.y));
}

// UTF-8 of a wide string (the texts hold only characters of the Basic Multilingual Plane).
std::string utf8(const wchar_t* text) {
    std::string out;
    for (const wchar_t* c = text; *c; ++c) {
        unsigned long u = static_cast<unsigned long>(*c);
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

int live_gdi_objects() {
#ifdef _WIN32
    return static_cast<int>(GetGuiResources(GetCurrentProcess(), 0 /* GR_GDIOBJECTS */));
#else
    return vapora_gdi_object_count();
#endif
}

}  // namespace

void count_beep() { ++beep_count; }
void count_refusal() { ++refusal_count; }

void dump_program_state(const char* event) {
    const char* path = dump_path();
    if (!path) return;
    std::string temporary = std::string(path) + ".tmp";
    FILE* f = std::fopen(temporary.c_str(), "w");
    if (!f) return;
    ++event_counts[event];
    std::fprintf(f, "seq %ld\nevent %s\n", ++dump_sequence, event);
    for (const auto& count : event_counts)
        std::fprintf(f, "count_%s %ld\n", count.first.c_str(), count.second);
    std::fprintf(f, "awaiting_first_point %d\nrubber_band_fresh %d\n",
                 awaiting_first_point ? 1 : 0, rubber_band_fresh ? 1 : 0);
    put_point(f, "cursor_px", cursor_px);
    put_point(f, "previous_cursor_px", previous_cursor_px);
    put_point(f, "point1_px", point1_px);
    put_point(f, "point2_px", point2_px);
    put_state(f, "cursor_state", cursor_state);
    put_state(f, "point1_state", point1_state);
    put_state(f, "point2_state", point2_state);
    std::fprintf(f, "point1_pair %d\npoint2_pair %d\nturbine_efficiency %.17g\n",
                 static_cast<int>(point1_pair), static_cast<int>(point2_pair),
                 turbine_efficiency);
    std::fprintf(f, "client_rect %ld %ld %ld %ld\n", static_cast<long>(client_rect.left),
                 static_cast<long>(client_rect.top), static_cast<long>(client_rect.right),
                 static_cast<long>(client_rect.bottom));
    std::fprintf(f, "frame %d %d %d %d\n", diagram_frame.origin_x, diagram_frame.origin_y,
                 diagram_frame.plot_width, diagram_frame.plot_height);
    std::fprintf(f, "gdi_objects %d\nbeeps %ld\nrefusals %ld\n", live_gdi_objects(), beep_count,
                 refusal_count);
    for (int i = 0; i < results_line_count; ++i)
        std::fprintf(f, "results_line %d %s\n", i, utf8(painted_results[i]).c_str());
    std::fclose(f);
    std::remove(path);  // rename does not replace an existing file on Windows
    std::rename(temporary.c_str(), path);
}
