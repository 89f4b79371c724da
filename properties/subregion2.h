// Superheated steam, IFC-67 subregion 2 (steam up to the L boundary), as
// functions of T [K] and p [Pa], p > 0. No guards: the callers place (T, p).
#pragma once

double sub2_volume(double T, double p);    // v [m3/kg]
double sub2_enthalpy(double T, double p);  // h [J/kg]
double sub2_entropy(double T, double p);   // s [J/(kg K)]

// Any of the three at once, sharing the common part of the sums: a null
// pointer skips that property. Each value is the one the function above gives.
void sub2_properties(double T, double p, double* v, double* h, double* s);

// sub2_properties with the entropy's partial derivatives of the same sums:
// s_T = ds/dT at constant p [J/(kg K2)], s_p = ds/dp at constant T
// [J/(kg K Pa)]; a null pointer skips that value. The other slopes follow:
// dh/dT = T s_T, dh/dp = v + T s_p, dv/dT = -s_p.
void sub2_properties_slopes(double T, double p, double* v, double* h, double* s, double* s_T,
                            double* s_p);
