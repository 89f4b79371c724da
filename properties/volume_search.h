// Volume searches of the critical region: the specific volume [m3/kg] of
// subregions 3 and 4 for a given (T [K], p [Pa]), and the saturated-liquid
// volume of subregion 4, each from a start value of a fixed spline table or
// formula, improved by bisection or marching with fixed iteration caps.
#pragma once

// The lowest pressure of subregion 4 (about the saturation pressure at
// 623.15 K) and the first knot of the saturated-liquid table [Pa].
constexpr double sub4_lowest_pressure = 16535000.0;

// Volume on the critical isotherm (647.3 K) from its spline table; p >= 2.212e7.
double critical_isotherm_volume(double p);

// Saturated-liquid volume from its spline table; p >= 16,535,000 Pa.
double sat_liquid_volume_spline(double p);

// Estimate of the saturated-vapour volume of subregion 3 at T (623.15 K to
// 647.3 K), the start of the vapour-side search.
double sub3_vapour_side_volume(double T);

// Volume of subregion 3 at (T, p); at the cap the last midpoint.
double sub3_volume(double T, double p);

// Saturated-liquid volume of subregion 4 at T; -1.0 outside 623.15 ... 647.3 K.
double sub4_sat_liquid_volume(double T);

// Volume of subregion 4 at (T, p), for 623.15 K <= T <= 647.3 K; -1.0 for
// p < 16,535,000 Pa (at or below the critical pressure).
double sub4_volume(double T, double p);
