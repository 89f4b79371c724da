// The single-phase evaluation from (T, P) with its choice of subregion, the
// (t, p) pair, and the two sides of the saturation line.
#include "solvers/steam_state.h"

#include <cmath>

#include "properties/properties.h"
#include "properties/subregion_bounds.h"

namespace {

// Each subregion writes only the properties asked for (a null pointer skips
// one); subregions 1 and 2 share the common part of their sums.
void subregion1(double T, double P, double* v, double* h, double* s) {
    sub1_properties(T, P, v, h, s);
}

void subregion2(double T, double P, double* v, double* h, double* s) {
    sub2_properties(T, P, v, h, s);
}

// Subregions 3 and 4 are functions of (T, v): the volume search comes first,
// whatever is asked for.
void subregion3(double T, double P, double* v, double* h, double* s) {
    const double volume = sub3_volume(T, P);
    if (v) *v = volume;
    if (s) *s = sub3_entropy(T, volume);
    if (h) *h = sub3_enthalpy(T, volume);
}

void subregion4(double T, double P, double* v, double* h, double* s) {
    const double volume = sub4_volume(T, P);
    if (v) *v = volume;
    if (s) *s = sub4_entropy(T, volume);
    if (h) *h = sub4_enthalpy(T, volume);
}

int on_liquid_side(double P, double Ps) {
    return (P > Ps || std::fabs(P - Ps) < sat_pressure_tolerance) ? 1 : 0;
}

// On or below the boundary line between subregions 2 and 3.
int below_l_boundary(double T, double P) {
    return l_boundary_beta(T / critical_temperature) >= P / critical_pressure ? 1 : 0;
}

}  // namespace

void props_from_TP(double T, double P, double* v, double* h, double* s) {
    if (T <= sub12_top_temperature) {
        if (on_liquid_side(P, sat_pressure(T)))
            subregion1(T, P, v, h, s);
        else
            subregion2(T, P, v, h, s);
        return;
    }
    if (T < critical_temperature && std::fabs(T - critical_temperature) >= near_critical_band) {
        if (below_l_boundary(T, P))
            subregion2(T, P, v, h, s);
        else if (on_liquid_side(P, sat_pressure(T)))
            subregion4(T, P, v, h, s);
        else
            subregion3(T, P, v, h, s);
        return;
    }
    // Supercritical, or within 0.001 K below the critical temperature.
    if (T > band_top_temperature || std::fabs(T - band_top_temperature) < band_top_margin)
        subregion2(T, P, v, h, s);
    else if (below_l_boundary(T, P))
        subregion2(T, P, v, h, s);
    else
        subregion3(T, P, v, h, s);
}

double entropy_from_TP(double T, double P) {
    double s;
    props_from_TP(T, P, nullptr, nullptr, &s);
    return s;
}

void state_from_t_p(double t, double p, double* h, double* s, double* v, double* x) {
    const double T = t + celsius_zero;
    const double P = p * pascals_per_bar;
    props_from_TP(T, P, v, h, s);
    *x = phase_flag(T, P);
}

void sat_liquid_props(double Ts, double Ps, double* v, double* h, double* s) {
    if (Ts <= sub12_top_temperature)
        subregion1(Ts, Ps, v, h, s);
    else
        subregion4(Ts, Ps, v, h, s);
}

// At the critical point the vapour is taken from the liquid-side functions,
// so that both sides meet.
void sat_vapour_props(double Ts, double Ps, double* v, double* h, double* s) {
    if (Ts <= sub12_top_temperature)
        subregion2(Ts, Ps, v, h, s);
    else if (std::fabs(Ts - critical_temperature) < critical_point_band)
        subregion4(Ts, Ps, v, h, s);
    else
        subregion3(Ts, Ps, v, h, s);
}
