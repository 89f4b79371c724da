// Where the subregions of IFC-67 meet, as the state from (T, p) decides it:
// the constants both the window's solvers and the converged solvers use.
#pragma once

// Upper end of the near-critical band; within band_top_margin below it, and
// above it, subregion 2 holds at every pressure.
constexpr double band_top_temperature = 863.15;  // K
constexpr double band_top_margin = 6.0;          // K
// A pressure this close to the saturation pressure counts as liquid [Pa].
constexpr double sat_pressure_tolerance = 1e-5;
// A temperature this close below the critical one counts as supercritical [K].
constexpr double near_critical_band = 0.001;
