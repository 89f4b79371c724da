// The window's answers in SI: the conversions are the ones the window makes, so that a
// state converted back is bit for bit what `vapora-calc state` prints.
#include "library/as_window.h"

#include "solvers/typed_point.h"

namespace {

static_assert(int(VAPORA_TP) == t_p && int(VAPORA_TH) == t_h && int(VAPORA_PH) == p_h &&
                  int(VAPORA_TS) == t_s && int(VAPORA_PS) == p_s && int(VAPORA_TX) == t_x &&
                  int(VAPORA_PX) == p_x,
              "vapora_pair and the window's pair codes name the pairs in one order");

// The window takes T in degC and p in bar; h, s and x are the same in both.
double to_window_units(char quantity, double value) {
    if (quantity == 't') return value - celsius_zero;
    if (quantity == 'p') return value / pascals_per_bar;
    return value;
}

// The window's records hold p in bar, which it multiplies by 100000 right after solving.
vapora_state to_si(const SteamState& state) {
    return {state.t + celsius_zero, state.p * pascals_per_bar, state.h, state.s, state.v, state.x};
}

}  // namespace

vapora_status window_solve(vapora_pair pair, double a, double b, vapora_state* out) {
    const char* name = vapora_pair_name(pair);  // "t_p": the quantities at 0 and 2
    SteamState state;
    if (!solve_typed_point(pair, to_window_units(name[0], a), to_window_units(name[2], b), &state))
        return VAPORA_OUT_OF_RANGE;
    *out = to_si(state);
    return VAPORA_OK;
}

vapora_status window_turbine(double p1, double T1, double p2, double efficiency,
                             vapora_state* inlet, vapora_state* isentropic, vapora_state* outlet) {
    SteamState in, end, out;
    // The dialog takes the efficiency in percent.
    if (!solve_typed_point(t_p, T1 - celsius_zero, p1 / pascals_per_bar, &in) ||
        !turbine_expansion(&in, p2 / pascals_per_bar, efficiency * 100.0, &end, &out))
        return VAPORA_OUT_OF_RANGE;
    *inlet = to_si(in);
    *isentropic = to_si(end);
    *outlet = to_si(out);
    return VAPORA_OK;
}
