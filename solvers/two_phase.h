// Two-phase states: whether (t, s) or (p, s) lies inside the saturation dome,
// and the mixture of saturated liquid and vapour from (t, s), (p, s), (t, x)
// or (p, x). Units: t degC, p bar, h J/kg, s J/(kg K), v m3/kg, x kg/kg.
#pragma once

// 1 inside the dome, its two boundary lines included; 0 outside and for
// every t above the critical temperature (p above the critical pressure).
int is_two_phase_t_s(double t, double s);
int is_two_phase_p_s(double p, double s);

// Saturated-liquid and saturated-vapour entropies [J/(kg K)] at a point
// (T [K], Ps [Pa]) of the saturation line, as the two tests above and the dome
// on the chart take them: within critical_point_band of the critical
// temperature both are the critical entropy.
double sat_liquid_entropy(double T, double Ps);
double sat_vapour_entropy(double T, double Ps);

// Mixtures. The entropy forms are called only where the matching test
// answered 1; the dryness-fraction forms after the range guards of typed
// points (0 <= x <= 1).
void wet_state_from_t_s(double t, double s, double* h, double* p, double* v, double* x);
void wet_state_from_p_s(double p, double s, double* t, double* h, double* v, double* x);
void wet_state_from_t_x(double t, double x, double* p, double* s, double* h, double* v);
void wet_state_from_p_x(double p, double x, double* t, double* s, double* h, double* v);
