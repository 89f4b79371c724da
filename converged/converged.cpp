// The converged solvers' single calls: (T, p), the two-phase pairs and the
// saturation line, each behind the guards of its range.
#include "converged/converged.h"

#include <cmath>

#include "converged/forward.h"
#include "converged/two_phase.h"
#include "properties/saturation_line.h"

namespace {

bool finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

bool within(double a, double lo, double hi) {
    return a >= lo && a <= hi;
}

}  // namespace

ConvergedState single_phase_state(const SlopedState& st) {
    // The window's phase flag: 0 above the critical pressure below the
    // critical temperature, 1 everywhere else.
    const double x = (st.p > critical_pressure && st.T < critical_temperature) ? 0.0 : 1.0;
    return {st.T, st.p, st.h, st.s, st.v, x};
}

ConvergedState mixture(const SlopedState& liquid, const SlopedState& vapour, double x) {
    return {liquid.T,
            liquid.p,
            (1.0 - x) * liquid.h + x * vapour.h,
            (1.0 - x) * liquid.s + x * vapour.s,
            (1.0 - x) * liquid.v + x * vapour.v,
            x};
}

int converged_state_from_T_p(double T, double p, ConvergedState* out) {
    if (!finite(T, p) || !out) return converged_invalid;
    if (!within(T, converged_T_min, converged_T_max) ||
        !within(p, converged_p_min, converged_p_max))
        return converged_out_of_range;
    const bool liquid = on_liquid_branch(T, p);
    *out = single_phase_state(state_in(subregion_on_side(T, p, liquid), liquid, T, p, 0.0, 0));
    return converged_ok;
}

int converged_state_from_T_x(double T, double x, ConvergedState* out) {
    if (!finite(T, x) || !out) return converged_invalid;
    if (!within(T, converged_T_min, critical_temperature) || !within(x, 0.0, 1.0))
        return converged_out_of_range;
    SlopedState liquid, vapour;
    saturated_sides(T, sat_pressure(T), &liquid, &vapour, 0);
    *out = mixture(liquid, vapour, x);
    return converged_ok;
}

int converged_state_from_p_x(double p, double x, ConvergedState* out) {
    if (!finite(p, x) || !out) return converged_invalid;
    if (!within(p, converged_p_min, critical_pressure) || !within(x, 0.0, 1.0))
        return converged_out_of_range;
    SlopedState liquid, vapour;
    saturated_sides(saturation_temperature(p), p, &liquid, &vapour, 0);
    *out = mixture(liquid, vapour, x);
    return converged_ok;
}

int converged_sat_pressure(double T, double* p) {
    if (!std::isfinite(T) || !p) return converged_invalid;
    if (!within(T, converged_T_min, critical_temperature)) return converged_out_of_range;
    *p = sat_pressure(T);
    return converged_ok;
}

int converged_sat_temperature(double p, double* T) {
    if (!std::isfinite(p) || !T) return converged_invalid;
    if (!within(p, converged_p_min, critical_pressure)) return converged_out_of_range;
    *T = saturation_temperature(p);
    return converged_ok;
}
