// The entry points of vapora.h: argument checks common to both flags, then the
// converged solvers or the window's. No state is kept between calls.
#include "library/vapora.h"

#include <cmath>

#include "converged/converged.h"
#include "library/as_window.h"
#include "library/converged_pairs.h"

namespace {

static_assert(int(VAPORA_OK) == converged_ok &&
                  int(VAPORA_OUT_OF_RANGE) == converged_out_of_range &&
                  int(VAPORA_INVALID) == converged_invalid,
              "the converged solvers' statuses are vapora.h's");
static_assert(sizeof converged_pair_solvers / sizeof converged_pair_solvers[0] == VAPORA_PAIR_COUNT,
              "a converged solver for every pair");

const char* const pair_names[VAPORA_PAIR_COUNT] = {"t_p", "t_h", "p_h", "t_s", "p_s", "t_x", "p_x"};

bool finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

bool known_pair(vapora_pair pair) {
    return int(pair) >= 0 && int(pair) < VAPORA_PAIR_COUNT;
}

bool known_flags(int flags) {
    return flags == VAPORA_CONVERGED || flags == VAPORA_AS_WINDOW;
}

vapora_state from_converged(const ConvergedState& state) {
    return {state.T, state.p, state.h, state.s, state.v, state.x};
}

vapora_status converged_solve(vapora_pair pair, double a, double b, vapora_state* out) {
    ConvergedState state;
    const int status = converged_pair_solvers[pair](a, b, &state);
    if (status == converged_ok) *out = from_converged(state);
    return vapora_status(status);
}

vapora_status converged_turbine_si(double p1, double T1, double p2, double efficiency,
                                   vapora_state* inlet, vapora_state* isentropic,
                                   vapora_state* outlet) {
    ConvergedState in, end, out;
    const int status = converged_turbine(p1, T1, p2, efficiency, &in, &end, &out);
    if (status != converged_ok) return vapora_status(status);
    *inlet = from_converged(in);
    *isentropic = from_converged(end);
    *outlet = from_converged(out);
    return VAPORA_OK;
}

}  // namespace

vapora_status VAPORA_CALL vapora_solve(vapora_pair pair, double a, double b, int flags,
                                       vapora_state* out) {
    if (!known_pair(pair) || !known_flags(flags) || !out || !finite(a, b)) return VAPORA_INVALID;
    return flags == VAPORA_AS_WINDOW ? window_solve(pair, a, b, out)
                                     : converged_solve(pair, a, b, out);
}

size_t VAPORA_CALL vapora_solve_n(vapora_pair pair, size_t n, const double* a, const double* b,
                                  int flags, vapora_state* out, vapora_status* status) {
    size_t solved = 0;
    const bool arrays = a && b && out;
    for (size_t i = 0; i < n; ++i) {  // one pass over the caller's n states
        const vapora_status one =
            arrays ? vapora_solve(pair, a[i], b[i], flags, &out[i]) : VAPORA_INVALID;
        if (status) status[i] = one;
        solved += one == VAPORA_OK;
    }
    return solved;
}

vapora_status VAPORA_CALL vapora_turbine(double p1, double T1, double p2, double efficiency,
                                         int flags, vapora_state* inlet, vapora_state* isentropic,
                                         vapora_state* outlet) {
    if (!known_flags(flags) || !inlet || !isentropic || !outlet || !finite(p1, T1) ||
        !finite(p2, efficiency))
        return VAPORA_INVALID;
    return flags == VAPORA_AS_WINDOW
               ? window_turbine(p1, T1, p2, efficiency, inlet, isentropic, outlet)
               : converged_turbine_si(p1, T1, p2, efficiency, inlet, isentropic, outlet);
}

vapora_status VAPORA_CALL vapora_sat_pressure(double T, double* p) {
    if (!p || !std::isfinite(T)) return VAPORA_INVALID;
    return vapora_status(converged_sat_pressure(T, p));
}

vapora_status VAPORA_CALL vapora_sat_temperature(double p, double* T) {
    if (!T || !std::isfinite(p)) return VAPORA_INVALID;
    return vapora_status(converged_sat_temperature(p, T));
}

vapora_status VAPORA_CALL vapora_state_at_T_v(double T, double v, vapora_state* out) {
    if (!out || !finite(T, v)) return VAPORA_INVALID;
    ConvergedState state;
    const int status = converged_state_from_T_v(T, v, &state);
    if (status == converged_ok) *out = from_converged(state);
    return vapora_status(status);
}

const char* VAPORA_CALL vapora_status_text(vapora_status status) {
    switch (int(status)) {
        case VAPORA_OK:
            return "ok";
        case VAPORA_OUT_OF_RANGE:
            return "out of range";
        case VAPORA_INVALID:
            return "invalid argument";
    }
    return "unknown status";
}

const char* VAPORA_CALL vapora_version(void) {
    return VAPORA_VERSION_TEXT;
}

const char* VAPORA_CALL vapora_pair_name(vapora_pair pair) {
    return known_pair(pair) ? pair_names[pair] : nullptr;
}

const char* VAPORA_CALL vapora_pair_unit(vapora_pair pair, int which) {
    const char* name = vapora_pair_name(pair);
    if (!name || (which != 0 && which != 1)) return nullptr;
    switch (name[2 * which]) {
        case 't':
            return "K";
        case 'p':
            return "Pa";
        case 'h':
            return "J/kg";
        case 's':
            return "J/(kg K)";
    }
    return "1";  // x
}
