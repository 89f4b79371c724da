#include "properties/subregion2.h"
double sub2_volume(double, double) { return 0.0; }
double sub2_enthalpy(double, double) { return 0.0; }
double sub2_entropy(double, double) { return 0.0; }
