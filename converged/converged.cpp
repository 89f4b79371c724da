// The converged solvers' single calls: (T, p), the two-phase pairs and the
// saturation line, each behind the guards of its range.
#include "converged/converged.h"

#include <cmath>

#include "converged/forward.h"
#include "converged/two_phase.h"
#include "properties/saturation_line.h"
#include "properties/subregion3.h"
#include "properties/subregion4.h"
#include "properties/subregion_bounds.h"

namespace {

bool finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

bool within(double a, double lo, double hi) {
    return a >= lo && a <= hi;
}

// A (T, v) state is the (T, p) answer when the volume solved at its pressure
// is v within this share: the Newton steps end within about 1e-9 of the root
// wherever the pressure changes with v, while another root at the same
// pressure (the loop's middle, the other branch) lies much farther away.
constexpr double same_volume = 1e-6;
// Within about 1e-5 K of the critical temperature near the critical volume the
// pressure is flat in v to the last digits, and the solved volume can be off
// by up to 5e-4: there the states are the same where the pressure between them
// stays within the library's own bound for p.
constexpr double flat_pressure = 1e-12;

// Whether the (T, p) solve on this piece and branch answers with volume v.
bool solved_volume_is(int sub, bool liquid, double T, double p, double v) {
    const double solved = critical_region_volume(sub, liquid, T, p, 0.0);
    if (std::fabs(solved - v) <= same_volume * v) return true;
    const double middle = 0.5 * (solved + v);
    const double p_middle =
        sub == subregion_3 ? sub3_pressure(T, middle) : sub4_pressure(T, middle);
    return std::fabs(p_middle - p) <= flat_pressure * p;
}

}  // namespace

int converged_state_from_T_p(double T, double p, ConvergedState* out) {
    if (!finite(T, p) || !out) return converged_invalid;
    if (!within(T, converged_T_min, converged_T_max) ||
        !within(p, converged_p_min, converged_p_max))
        return converged_out_of_range;
    const bool liquid = on_liquid_branch(T, p);
    *out = single_phase_state(state_in(subregion_on_side(T, p, liquid), liquid, T, p, 0.0, 0));
    return converged_ok;
}

int converged_state_from_T_v(double T, double v, ConvergedState* out) {
    if (!finite(T, v) || !out) return converged_invalid;
    if (!within(T, sub12_top_temperature, band_top_temperature) ||
        !within(v, critical_volume_floor, critical_volume_ceiling))
        return converged_out_of_range;
    // Below the critical temperature the liquid is subregion 4's, the vapour
    // subregion 3's (within 0.001 K of it both are subregion 3's): each piece
    // is tried, and kept where the (T, p) state at its pressure is this one.
    const int pieces[] = {subregion_4, subregion_3};
    for (int sub : pieces) {
        if (sub == subregion_4 && !(T < critical_temperature)) continue;
        const double p = sub == subregion_3 ? sub3_pressure(T, v) : sub4_pressure(T, v);
        if (!within(p, converged_p_min, converged_p_max)) continue;
        const bool liquid = on_liquid_branch(T, p);
        if (subregion_on_side(T, p, liquid) != sub) continue;
        if (!solved_volume_is(sub, liquid, T, p, v)) continue;
        // Started at v itself the volume search returns v at once.
        *out = single_phase_state(state_in(sub, liquid, T, p, v, 0));
        return converged_ok;
    }
    return converged_out_of_range;
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
