#include "properties/subregion4.h"
double sub4_pressure(double, double) { return 0.0; }
double sub4_enthalpy(double, double) { return 0.0; }
double sub4_entropy(double, double) { return 0.0; }
