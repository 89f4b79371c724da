// Critical region, IFC-67 subregion 3: a Helmholtz function of T [K] and
// v [m3/kg] (v > 0). The volume for a given (T, p) comes from sub3_volume.
#pragma once

double sub3_pressure(double T, double v);  // p [Pa]
double sub3_enthalpy(double T, double v);  // h [J/kg]
double sub3_entropy(double T, double v);   // s [J/(kg K)]
