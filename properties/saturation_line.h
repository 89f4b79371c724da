// Saturation line of water and the reference constants shared by the whole
// property library (IFC-67, 1967 IFC Formulation for Industrial Use).
//
// Units at every library interface: T [K], p [Pa], v [m3/kg], h [J/kg],
// s [J/(kg K)]. A function asked outside the range it covers returns -1.0.
#pragma once

// The IFC-67 critical constants and the scales derived from them.
constexpr double critical_temperature = 647.3;  // K, theta = T / 647.3
constexpr double critical_pressure = 2.212e7;   // Pa, beta = p / 2.212e7
constexpr double critical_volume = 0.00317;     // m3/kg, chi = v / 0.00317
constexpr double enthalpy_scale = 70120.4;      // J/kg, pc * vc
constexpr double entropy_scale = 108.3275143;   // J/(kg K), pc * vc / Tc
// The entropy at the critical point, where both sides of the saturation line
// meet and the dome on the chart closes.
constexpr double critical_entropy = 4442.9;  // J/(kg K)
// Upper end of subregions 1 and 2 below the near-critical band.
constexpr double sub12_top_temperature = 623.15;  // K
// 0 degC in K: T = t + 273.15 wherever a temperature comes in degC.
constexpr double celsius_zero = 273.15;
// What a function returns when asked outside its range: no pressure, volume or
// temperature of water is negative.
constexpr double property_refused = -1.0;

// The L function's coefficients: beta_L(theta) = L0 + L1 theta + L2 theta^2.
constexpr double l_function_L0 = 15.74373327;
constexpr double l_function_L1 = -34.17061978;
constexpr double l_function_L2 = 19.31380707;

// The L function: reduced pressure (multiply by 2.212e7 for Pa) of the boundary
// between subregions 2 and 3 at reduced temperature theta = T / 647.3.
double l_boundary_beta(double theta);

// The K function: saturation pressure [Pa] at T [K]; -1.0 above 647.3 K or
// for a T that is not a number. 647.3 K exactly gives 2.212e7 Pa.
double sat_pressure(double T);

// One Newton step on the K function: the correction dT [K] such that T + dT
// solves E(T) = y to first order, E = ln(p / 2.212e7) the exponent the K
// function takes the exponential of and y = ln(p / 2.212e7) of the pressure
// sought. The exponent and its slope share one denominator: one division, no
// exponential. No refusal: above 647.3 K it continues the formula.
double sat_temperature_step(double T, double y);

// Saturation temperature [K] near T_start at which |p - sat_pressure(T)| < tol
// [Pa]: a march in 0.05 K steps, then bisection of the last step. A start
// above 647.3 K starts at 647.3 K; a pressure above the line's end gives
// 647.3; a p <= 0 or an argument that is not a number gives -1.0.
double sat_temperature_refine(double T_start, double p, double tol);

// Saturation temperature [K] at p [Pa]; 647.3 for p >= 2.21e7 Pa (the state
// is at or above the critical region), -1.0 for p <= 26.97 Pa.
double sat_temperature(double p);

// The phase flag of a single-phase state at T [K], P [Pa], as every state of
// the program carries it in x: 0.0 above the critical pressure and below the
// critical temperature (compressed liquid), 1.0 everywhere else.
double phase_flag(double T, double P);
