#include "properties/volume_search.h"
double critical_isotherm_volume(double) { return 0.0; }
double sat_liquid_volume_spline(double) { return 0.0; }
double sub3_volume(double, double) { return 0.0; }
double sub4_sat_liquid_volume(double) { return 0.0; }
double sub4_volume(double, double) { return 0.0; }
