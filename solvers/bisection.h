// States from (t, s), (p, s), (t, h) and (p, h) outside the dome, by interval
// halving over the (T, P) evaluation. Units: t degC, p bar, h J/kg,
// s J/(kg K), v m3/kg, x kg/kg.
//
// Brackets: pressure 0.02..1000 bar, temperature 10..700 degC, entropy from
// the 1000 bar (or 0) end up to 10 kJ/kg degC (or the 700 degC isotherm).
// Tolerances: 0.25 J/(kg K) on a matched entropy, 250 J/kg on a matched
// enthalpy. Every loop has a cap; a target that no probe can meet ends at
// the cap with the last probe written, and the try_ forms then return 0.
#pragma once

// A search ends when its probe is within these of the target, both ends of
// the band included; the chart's end-point searches use the same bands.
constexpr double entropy_tolerance = 0.25;    // J/(kg K)
constexpr double enthalpy_tolerance = 250.0;  // J/kg

// Caps on the number of halvings. Each is far more than a reachable target
// needs, and stops where a further halving no longer shows in the volume
// searches of the critical region (their pressure tolerances are 0.8 Pa and
// up): 1e8 Pa / 2^48 is below 1e-6 Pa, 690 K / 2^40 below 1e-9 K,
// 1e4 J/(kg K) / 2^40 below 1e-8 J/(kg K).
const int pressure_halvings_cap = 48;
const int temperature_halvings_cap = 40;
const int entropy_halvings_cap = 40;

// Single-phase only: the caller routes two-phase (t, s) and (p, s) to the
// mixtures first.
void state_from_t_s(double t, double s, double* h, double* p, double* v, double* x);
void state_from_p_s(double p, double s, double* t, double* h, double* v, double* x);
// Bisections on entropy; each probe is completed by the mixture inside the
// dome and by the matching inner bisection outside it.
void state_from_t_h(double t, double h, double* p, double* s, double* v, double* x);
void state_from_p_h(double p, double h, double* t, double* s, double* v, double* x);

// The same four, returning 1 when the last probe met the tolerance and 0
// when the target was out of reach (outside the bracket, inside a jump of the
// matched property, or beyond what the inner bisection can reach). The
// outputs are written in either case.
int try_state_from_t_s(double t, double s, double* h, double* p, double* v, double* x);
int try_state_from_p_s(double p, double s, double* t, double* h, double* v, double* x);
int try_state_from_t_h(double t, double h, double* p, double* s, double* v, double* x);
int try_state_from_p_h(double p, double h, double* t, double* s, double* v, double* x);
