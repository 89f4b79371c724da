// The worksheet functions of vapora.dll: vapora.h's answers in the window's units
// (t [degC], p [bar], h [kJ/kg], s [kJ/(kg degC)], v [m3/kg], x [kg/kg], an
// efficiency in percent), one double out per call, so that a VBA Declare can call
// them (Vapora.bas, generated from vapora.h, wraps them as worksheet functions).
//
// A refused state: the function returns -1 and writes its vapora_status to *status
// (0 when the value is good); VaporaStatusText gives the status's text. The status
// travels through the caller's variable, so these functions keep no state either, like
// the library, and a recalculating spreadsheet may call them from many threads.
#include <cstddef>
#include <cstring>

#include "library/vapora.h"
#include "solvers/steam_state.h"

namespace {

// The value a worksheet function returns for a refused state, beside its status.
constexpr double refused = -1.0;

// A quantity in the window's unit is (SI value) / scale - offset.
struct WindowUnit {
    double scale;
    double offset;
};

// The window's unit of an SI unit as vapora.h names it.
WindowUnit window_unit(const char* si) {
    if (std::strcmp(si, "K") == 0) return {1.0, celsius_zero};
    if (std::strcmp(si, "Pa") == 0) return {pascals_per_bar, 0.0};
    if (std::strcmp(si, "J/kg") == 0 || std::strcmp(si, "J/(kg K)") == 0) return {1000.0, 0.0};
    return {1.0, 0.0};  // m3/kg and the dryness fraction are the window's own
}

double to_si(double value, const char* si) {
    const WindowUnit u = window_unit(si);
    return (value + u.offset) * u.scale;
}

// vapora_state's fields in their order, with their SI units.
constexpr int field_count = 6;
const char* const field_units[field_count] = {"K", "Pa", "J/kg", "J/(kg K)", "m3/kg", "1"};
static_assert(sizeof(vapora_state) == field_count * sizeof(double) &&
                  offsetof(vapora_state, T) == 0 && offsetof(vapora_state, x) == 5 * sizeof(double),
              "vapora_state is six doubles, T first and x last");

// Field `field` of a solved state in the window's unit, or `refused` with the status.
double answer(vapora_status got, const vapora_state& state, int field, int* status) {
    if (got == VAPORA_OK && (field < 0 || field >= field_count)) got = VAPORA_INVALID;
    if (status) *status = got;
    if (got != VAPORA_OK) return refused;
    const double si = (&state.T)[field];
    const WindowUnit u = window_unit(field_units[field]);
    return si / u.scale - u.offset;
}

}  // namespace

extern "C" {

// Field `field` (0..5: t, p, h, s, v, x) of the state given by `pair` (a vapora_pair)
// with a and b in the window's units; flags as vapora_solve's.
VAPORA_API double VAPORA_CALL VaporaState(int pair, double a, double b, int field, int flags,
                                          int* status) {
    const char* unit_a = vapora_pair_unit(static_cast<vapora_pair>(pair), 0);
    const char* unit_b = vapora_pair_unit(static_cast<vapora_pair>(pair), 1);
    vapora_state state{};
    const vapora_status got = unit_a && unit_b
                                  ? vapora_solve(static_cast<vapora_pair>(pair), to_si(a, unit_a),
                                                 to_si(b, unit_b), flags, &state)
                                  : VAPORA_INVALID;
    return answer(got, state, field, status);
}

// Field `field` of one point (0 the inlet, 1 the isentropic end, 2 the outlet) of the
// turbine expansion from p1 [bar], t1 [degC] to p2 [bar] at an efficiency in percent.
VAPORA_API double VAPORA_CALL VaporaTurbine(double p1, double t1, double p2, double efficiency,
                                            int point, int field, int* status) {
    vapora_state points[3] = {};
    vapora_status got =
        vapora_turbine(p1 * pascals_per_bar, t1 + celsius_zero, p2 * pascals_per_bar,
                       efficiency / 100.0, VAPORA_CONVERGED, &points[0], &points[1], &points[2]);
    if (point < 0 || point > 2) got = VAPORA_INVALID, point = 0;
    return answer(got, points[point], field, status);
}

// The saturation temperature [degC] at p [bar].
VAPORA_API double VAPORA_CALL VaporaSatTemperature(double p, int* status) {
    vapora_state state{};
    return answer(vapora_sat_temperature(p * pascals_per_bar, &state.T), state, 0, status);
}

// The saturation pressure [bar] at t [degC].
VAPORA_API double VAPORA_CALL VaporaSatPressure(double t, int* status) {
    vapora_state state{};
    return answer(vapora_sat_pressure(t + celsius_zero, &state.p), state, 1, status);
}

// Copies the text of a status into text[size] (cut to fit, always terminated) and
// returns its length: VBA passes a String buffer.
VAPORA_API int VAPORA_CALL VaporaStatusText(int status, char* text, int size) {
    if (!text || size <= 0) return 0;
    std::strncpy(text, vapora_status_text(static_cast<vapora_status>(status)), size - 1);
    text[size - 1] = '\0';
    return static_cast<int>(std::strlen(text));
}
}
