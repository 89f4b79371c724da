// Two-phase states: the dome tests and the mixtures of saturated liquid and
// saturated vapour.
#include "solvers/two_phase.h"

#include <cmath>

#include "properties/properties.h"
#include "solvers/steam_state.h"

namespace {

const double critical_T = 647.3;      // K
const double critical_P = 22120000.0; // Pa
const double sub12_top_T = 623.15;    // K
// The entropy that closes the dome on the diagram; the tests use it for both
// sides within 0.0001 K of the critical temperature, where the two sides
// meet and the subregion-3 and subregion-4 volume searches cannot tell them apart.
const double critical_s = 4442.9;     // J/(kg K)
const double critical_band_T = 0.0001;

// Saturated entropies for the dome tests, at a point (T, Ps) of the saturation line.
void sat_entropies(double T, double Ps, double *s_liquid, double *s_vapour)
{
    if (T <= sub12_top_T) {
        *s_liquid = sub1_entropy(T, Ps);
        *s_vapour = sub2_entropy(T, Ps);
    } else if (std::fabs(T - critical_T) < critical_band_T) {
        *s_liquid = critical_s;
        *s_vapour = critical_s;
    } else {
        *s_liquid = sub4_entropy(T, sub4_volume(T, Ps));
        *s_vapour = sub3_entropy(T, sub3_volume(T, Ps));
    }
}

int between(double s, double s_liquid, double s_vapour)
{
    return (s_liquid <= s && s <= s_vapour) ? 1 : 0;
}

struct SatSides {
    double v1, h1, s1; // saturated liquid
    double v2, h2, s2; // saturated vapour
};

SatSides sat_sides(double T, double Ps)
{
    SatSides sides;
    sat_liquid_props(T, Ps, &sides.v1, &sides.h1, &sides.s1);
    sat_vapour_props(T, Ps, &sides.v2, &sides.h2, &sides.s2);
    return sides;
}

// Lever rule on the entropy. At the critical point the two sides coincide and
// the rule has no value; the state is then that common point, with the flag
// 1.0 that a single-phase state at the critical temperature carries.
void mix_by_entropy(const SatSides &sides, double s, double *h, double *v, double *x)
{
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

void mix_by_fraction(const SatSides &sides, double x, double *s, double *h, double *v)
{
    *s = (1 - x) * sides.s1 + x * sides.s2;
    *h = (1 - x) * sides.h1 + x * sides.h2;
    *v = (1 - x) * sides.v1 + x * sides.v2;
}

} // namespace

int is_two_phase_t_s(double t, double s)
{
    const double T = t + 273.15;
    if (!(T <= critical_T))
        return 0;
    double s_liquid, s_vapour;
    sat_entropies(T, sat_pressure(T), &s_liquid, &s_vapour);
    return between(s, s_liquid, s_vapour);
}

int is_two_phase_p_s(double p, double s)
{
    const double P = p * 100000;
    if (!(P <= critical_P))
        return 0;
    const double Ts = sat_temperature(P);
    double s_liquid, s_vapour;
    sat_entropies(Ts, P, &s_liquid, &s_vapour);
    return between(s, s_liquid, s_vapour);
}

void wet_state_from_t_s(double t, double s, double *h, double *p, double *v, double *x)
{
    const double T = t + 273.15;
    const double Ps = sat_pressure(T);
    mix_by_entropy(sat_sides(T, Ps), s, h, v, x);
    *p = Ps / 100000;
}

void wet_state_from_p_s(double p, double s, double *t, double *h, double *v, double *x)
{
    const double Ps = p * 100000;
    const double T = sat_temperature(Ps);
    mix_by_entropy(sat_sides(T, Ps), s, h, v, x);
    *t = T - 273.15;
}

void wet_state_from_t_x(double t, double x, double *p, double *s, double *h, double *v)
{
    const double T = t + 273.15;
    const double Ps = sat_pressure(T);
    mix_by_fraction(sat_sides(T, Ps), x, s, h, v);
    *p = Ps / 100000;
}

void wet_state_from_p_x(double p, double x, double *t, double *s, double *h, double *v)
{
    const double Ps = p * 100000;
    const double T = sat_temperature(Ps);
    mix_by_fraction(sat_sides(T, Ps), x, s, h, v);
    *t = T - 273.15;
}
