// Two-phase states: the dome tests and the mixtures of saturated liquid and
// saturated vapour.
#include "solvers/two_phase.h"

#include <cmath>

#include "properties/properties.h"
#include "solvers/steam_state.h"

namespace {

// Within critical_point_band of the critical temperature the two sides meet
// and the subregion-3 and subregion-4 volume searches cannot tell them apart:
// both entropies are then the critical entropy.
int at_critical_point(double T) {
    return std::fabs(T - critical_temperature) < critical_point_band ? 1 : 0;
}

int between(double s, double s_liquid, double s_vapour) {
    return (s_liquid <= s && s <= s_vapour) ? 1 : 0;
}

struct SatSides {
    double v1, h1, s1;  // saturated liquid
    double v2, h2, s2;  // saturated vapour
};

SatSides sat_sides(double T, double Ps) {
    SatSides sides;
    sat_liquid_props(T, Ps, &sides.v1, &sides.h1, &sides.s1);
    sat_vapour_props(T, Ps, &sides.v2, &sides.h2, &sides.s2);
    return sides;
}

// Lever rule on the entropy. At the critical point the two sides coincide and
// the rule has no value; the state is then that common point, with the flag
// 1.0 that a single-phase state at the critical temperature carries.
void mix_by_entropy(const SatSides& sides, double s, double* h, double* v, double* x) {
    const double d = sides.s2 - sides.s1;
    if (!(d > 0.0)) {
        *h = 0.5 * (sides.h1 + sides.h2);
        *v = 0.5 * (sides.v1 + sides.v2);
        *x = 1.0;
        return;
    }
    const double a = s - sides.s1;
    const double b = sides.s2 - s;
    *h = (a * sides.h2 + b * sides.h1) / d;
    *v = (a * sides.v2 + b * sides.v1) / d;
    *x = a / d;
}

void mix_by_fraction(const SatSides& sides, double x, double* s, double* h, double* v) {
    *s = (1 - x) * sides.s1 + x * sides.s2;
    *h = (1 - x) * sides.h1 + x * sides.h2;
    *v = (1 - x) * sides.v1 + x * sides.v2;
}

}  // namespace

double sat_liquid_entropy(double T, double Ps) {
    if (T <= sub12_top_temperature) return sub1_entropy(T, Ps);
    if (at_critical_point(T)) return critical_entropy;
    return sub4_entropy(T, sub4_volume(T, Ps));
}

double sat_vapour_entropy(double T, double Ps) {
    if (T <= sub12_top_temperature) return sub2_entropy(T, Ps);
    if (at_critical_point(T)) return critical_entropy;
    return sub3_entropy(T, sub3_volume(T, Ps));
}

int is_two_phase_t_s(double t, double s) {
    const double T = t + celsius_zero;
    if (!(T <= critical_temperature)) return 0;
    const double Ps = sat_pressure(T);
    return between(s, sat_liquid_entropy(T, Ps), sat_vapour_entropy(T, Ps));
}

int is_two_phase_p_s(double p, double s) {
    const double P = p * pascals_per_bar;
    if (!(P <= critical_pressure)) return 0;
    const double Ts = sat_temperature(P);
    return between(s, sat_liquid_entropy(Ts, P), sat_vapour_entropy(Ts, P));
}

void wet_state_from_t_s(double t, double s, double* h, double* p, double* v, double* x) {
    const double T = t + celsius_zero;
    const double Ps = sat_pressure(T);
    mix_by_entropy(sat_sides(T, Ps), s, h, v, x);
    *p = Ps / pascals_per_bar;
}

void wet_state_from_p_s(double p, double s, double* t, double* h, double* v, double* x) {
    const double Ps = p * pascals_per_bar;
    const double T = sat_temperature(Ps);
    mix_by_entropy(sat_sides(T, Ps), s, h, v, x);
    *t = T - celsius_zero;
}

void wet_state_from_t_x(double t, double x, double* p, double* s, double* h, double* v) {
    const double T = t + celsius_zero;
    const double Ps = sat_pressure(T);
    mix_by_fraction(sat_sides(T, Ps), x, s, h, v);
    *p = Ps / pascals_per_bar;
}

void wet_state_from_p_x(double p, double x, double* t, double* s, double* h, double* v) {
    const double Ps = p * pascals_per_bar;
    const double T = sat_temperature(Ps);
    mix_by_fraction(sat_sides(T, Ps), x, s, h, v);
    *t = T - celsius_zero;
}
