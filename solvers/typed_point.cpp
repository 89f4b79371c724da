// Typed points: the range guard of each input pair, its solver, and the
// turbine expansion. Guards are written so that a NaN value is refused.
#include "solvers/typed_point.h"

#include "solvers/bisection.h"
#include "solvers/steam_state.h"
#include "solvers/two_phase.h"
#include "solvers/valid_space.h"

namespace {

int in_range(double value, double lo, double hi) {
    return (value >= lo && value <= hi) ? 1 : 0;
}

int solve_t_p(double t, double p, SteamState* out) {
    if (!in_range(t, valid_t_min, valid_t_max) || !in_range(p, valid_p_min, valid_p_max)) return 0;
    out->t = t;
    out->p = p;
    state_from_t_p(t, p, &out->h, &out->s, &out->v, &out->x);
    return 1;
}

int solve_t_h(double t, double h, SteamState* out) {
    if (!in_valid_space_t_h(t, h)) return 0;
    out->t = t;
    out->h = h;
    return try_state_from_t_h(t, h, &out->p, &out->s, &out->v, &out->x);
}

int solve_p_h(double p, double h, SteamState* out) {
    if (!in_valid_space_p_h(p, h)) return 0;
    out->p = p;
    out->h = h;
    return try_state_from_p_h(p, h, &out->t, &out->s, &out->v, &out->x);
}

int solve_t_s(double t, double s, SteamState* out) {
    if (!in_valid_space_t_s(t, s)) return 0;
    out->t = t;
    out->s = s;
    if (is_two_phase_t_s(t, s)) {
        wet_state_from_t_s(t, s, &out->h, &out->p, &out->v, &out->x);
        return 1;
    }
    return try_state_from_t_s(t, s, &out->h, &out->p, &out->v, &out->x);
}

// A (p, s) state without the diagram's entropy limit, as the turbine's
// isentropic end needs it. Outside the dome the entropy must lie between the
// 10 and 700 degC isotherms, where the (p, s) bisection can meet it.
int solve_p_s_unbounded(double p, double s, SteamState* out) {
    if (!in_range(p, valid_p_min, valid_p_max)) return 0;
    out->p = p;
    out->s = s;
    if (is_two_phase_p_s(p, s)) {
        wet_state_from_p_s(p, s, &out->t, &out->h, &out->v, &out->x);
        return 1;
    }
    if (!in_valid_space_p_s(p, s)) return 0;
    return try_state_from_p_s(p, s, &out->t, &out->h, &out->v, &out->x);
}

int solve_p_s(double p, double s, SteamState* out) {
    if (!in_range(s, 0.0, valid_s_max)) return 0;
    return solve_p_s_unbounded(p, s, out);
}

int solve_t_x(double t, double x, SteamState* out) {
    // 374.15 + 273.15 is exactly 647.3 in double precision, so 374.15 passes.
    if (!(t >= valid_t_min && t + celsius_zero <= critical_temperature) || !in_range(x, 0.0, 1.0))
        return 0;
    out->t = t;
    out->x = x;
    wet_state_from_t_x(t, x, &out->p, &out->s, &out->h, &out->v);
    return 1;
}

// No upper bound on the pressure below 1000 bar: from 221 bar up both
// saturated sides are the same critical-isotherm state, whatever x.
int solve_p_x(double p, double x, SteamState* out) {
    if (!in_range(p, valid_p_min, valid_p_max) || !in_range(x, 0.0, 1.0)) return 0;
    out->p = p;
    out->x = x;
    wet_state_from_p_x(p, x, &out->t, &out->s, &out->h, &out->v);
    return 1;
}

}  // namespace

int solve_typed_point(int pair, double first, double second, SteamState* state) {
    SteamState found = {0, 0, 0, 0, 0, 0};
    int ok = 0;
    switch (pair) {
        case t_p:
            ok = solve_t_p(first, second, &found);
            break;
        case t_h:
            ok = solve_t_h(first, second, &found);
            break;
        case p_h:
            ok = solve_p_h(first, second, &found);
            break;
        case t_s:
            ok = solve_t_s(first, second, &found);
            break;
        case p_s:
            ok = solve_p_s(first, second, &found);
            break;
        case t_x:
            ok = solve_t_x(first, second, &found);
            break;
        case p_x:
            ok = solve_p_x(first, second, &found);
            break;
        default:
            ok = 0;
            break;
    }
    if (ok) *state = found;
    return ok;
}

int turbine_isentropic_end(const SteamState* inlet, double p2, double efficiency,
                           SteamState* isentropic) {
    if (!in_range(p2, valid_p_min, valid_p_max) || !in_range(efficiency, 0.0, 100.0)) return 0;
    SteamState end = {0, 0, 0, 0, 0, 0};
    if (!solve_p_s_unbounded(p2, inlet->s, &end)) return 0;
    *isentropic = end;
    return 1;
}

int turbine_real_outlet(const SteamState* inlet, const SteamState* isentropic, double efficiency,
                        SteamState* outlet) {
    const double s1 = inlet->s;
    const double t2s = isentropic->t;
    SteamState out = {0, 0, 0, 0, 0, 0};
    out.h = isentropic->h + (1 - efficiency / 100) * (inlet->h - isentropic->h);
    // The outlet pressure is taken again at the isentropic end (t2s, s1); the
    // enthalpy found there is not used.
    double h_unused;
    if (is_two_phase_t_s(t2s, s1)) {
        wet_state_from_t_s(t2s, s1, &h_unused, &out.p, &out.v, &out.x);
    } else if (!try_state_from_t_s(t2s, s1, &h_unused, &out.p, &out.v, &out.x)) {
        return 0;
    }
    if (!in_valid_space_p_h(out.p, out.h)) return 0;
    if (!try_state_from_p_h(out.p, out.h, &out.t, &out.s, &out.v, &out.x)) return 0;
    *outlet = out;
    return 1;
}

int turbine_expansion(const SteamState* inlet, double p2, double efficiency, SteamState* isentropic,
                      SteamState* outlet) {
    if (!turbine_isentropic_end(inlet, p2, efficiency, isentropic)) return 0;
    return turbine_real_outlet(inlet, isentropic, efficiency, outlet);
}
