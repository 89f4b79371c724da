#include "properties/subregion3.h"
double sub3_pressure(double, double) { return 0.0; }
double sub3_enthalpy(double, double) { return 0.0; }
double sub3_entropy(double, double) { return 0.0; }
