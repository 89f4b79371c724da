#include "properties/subregion1.h"
double sub1_volume(double, double) { return 0.0; }
double sub1_enthalpy(double, double) { return 0.0; }
double sub1_entropy(double, double) { return 0.0; }
