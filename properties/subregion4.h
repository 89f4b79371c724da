// Liquid near the critical point, IFC-67 subregion 4 (623.15 K to 647.3 K):
// subregion 3 plus a correction that vanishes at 647.3 K. Functions of T [K]
// and v [m3/kg]; the volume for (T, p) comes from sub4_volume.
#pragma once

#include "properties/subregion3.h"

double sub4_pressure(double T, double v);  // p [Pa]
double sub4_enthalpy(double T, double v);  // h [J/kg]
double sub4_entropy(double T, double v);   // s [J/(kg K)]

// Partial derivatives of a subregion-4 state at (T, v), as sub3_slopes.
ConvergedSlopes sub4_slopes(double T, double v);
double sub4_pressure_slope(double T, double v);  // dp/dv at constant T [Pa kg/m3]
