// The valid space of the program and the state at a point of the diagram.
// Every comparison is written so that a NaN argument falls outside.
#include "solvers/valid_space.h"

#include "solvers/bisection.h"
#include "solvers/steam_state.h"
#include "solvers/two_phase.h"

namespace {

int in_range(double value, double lo, double hi) {
    return (value >= lo && value <= hi) ? 1 : 0;
}

}  // namespace

int in_valid_space_t_s(double t, double s) {
    if (!in_range(t, valid_t_min, valid_t_max)) return 0;
    const double T = t + celsius_zero;
    return in_range(s, entropy_from_TP(T, valid_P_max), entropy_from_TP(T, valid_P_min));
}

int in_valid_space_t_h(double t, double h) {
    if (!in_range(t, valid_t_min, valid_t_max)) return 0;
    double h_top, s_top, v, x;
    state_from_t_p(t, valid_p_max, &h_top, &s_top, &v, &x);
    double h_end, s_end;
    state_from_t_p(t, valid_p_min, &h_end, &s_end, &v, &x);
    // Where the 0.02 bar isobar lies beyond the diagram's right edge, the
    // edge ends the band; the (t, s) bisection reaches it there.
    if (s_end > valid_s_max) {
        double p;
        state_from_t_s(t, valid_s_max, &h_end, &p, &v, &x);
    }
    return in_range(h, h_top, h_end);
}

int in_valid_space_p_h(double p, double h) {
    if (!in_range(p, valid_p_min, valid_p_max)) return 0;
    double h_cold, s_cold, v, x;
    state_from_t_p(valid_t_min, p, &h_cold, &s_cold, &v, &x);
    double h_hot, s_hot;
    state_from_t_p(valid_t_max, p, &h_hot, &s_hot, &v, &x);
    // Where the 700 degC isotherm lies beyond the diagram's right edge, the
    // edge ends the band; the (p, s) bisection reaches it there.
    if (s_hot > valid_s_max) {
        double t;
        state_from_p_s(p, valid_s_max, &t, &h_hot, &v, &x);
    }
    return in_range(h, h_cold, h_hot);
}

int in_valid_space_p_s(double p, double s) {
    if (!in_range(p, valid_p_min, valid_p_max)) return 0;
    const double P = p * pascals_per_bar;
    return in_range(s, entropy_from_TP(valid_T_min, P), entropy_from_TP(valid_T_max, P));
}

int state_at_diagram_point(double t, double s, SteamState* state) {
    if (!in_valid_space_t_s(t, s)) return 0;
    SteamState found;
    found.t = t;
    found.s = s;
    if (is_two_phase_t_s(t, s))
        wet_state_from_t_s(t, s, &found.h, &found.p, &found.v, &found.x);
    else
        state_from_t_s(t, s, &found.h, &found.p, &found.v, &found.x);
    *state = found;
    return 1;
}
