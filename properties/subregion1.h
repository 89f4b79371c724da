// Compressed liquid, IFC-67 subregion 1 (liquid up to 623.15 K), as functions
// of T [K] and p [Pa]. No guards: the callers decide that (T, p) is liquid.
#pragma once

double sub1_volume(double T, double p);    // v [m3/kg]
double sub1_enthalpy(double T, double p);  // h [J/kg]
double sub1_entropy(double T, double p);   // s [J/(kg K)]

// Any of the three at once, sharing Y, Y', Z and the powers: a null pointer
// skips that property. Each value is the one the function above gives.
void sub1_properties(double T, double p, double* v, double* h, double* s);

// sub1_properties with the entropy's partial derivatives of the same sums:
// s_T = ds/dT at constant p [J/(kg K2)], s_p = ds/dp at constant T
// [J/(kg K Pa)]; a null pointer skips that value. The other slopes follow:
// dh/dT = T s_T, dh/dp = v + T s_p, dv/dT = -s_p.
void sub1_properties_slopes(double T, double p, double* v, double* h, double* s, double* s_T,
                            double* s_p);
