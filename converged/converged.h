// Converged solvers: a state of water from any two given values, solved to
// double precision on the property library's own equations (the library's
// answers, never the window's). SI units throughout: T [K], p [Pa], h [J/kg],
// s [J/(kg K)], v [m3/kg], x [kg/kg]; an efficiency is a fraction.
//
// Every function returns a status, the values of vapora.h's vapora_status:
// converged_ok (the state is written), converged_out_of_range (finite
// arguments outside the range the call covers, or a pair that names no
// state; nothing written) or converged_invalid (NaN, an infinity or a null
// pointer; nothing written).
//
// Converged: the state returned reproduces both given values, T, p and x
// within 1e-12 relative, h and s within 1e-9 relative (below |h| = 1 kJ/kg
// within 1e-6 J/kg, below |s| = 10 J/(kg K) within 1e-8 J/(kg K), where the
// formulation's own sums round to about that). The volume of subregions 3
// and 4 is solved to the last digits (Newton's method on the pressure), so
// h and s of a (T, p) state are those of the formulation, not of a search's
// tolerance.
//
// The range: single-phase states at 273.15 K <= T <= 1073.15 K (0 to
// 800 degC) and 611.2 Pa <= p <= 1e8 Pa (the triple-point pressure to
// 1000 bar), each in the subregion the window's state from (T, p) gives it
// (subregion 2 from 857.15 K up at every pressure). The saturation line from
// 273.15 K (611.2 Pa for the calls from p) to the critical point.
#pragma once

#include "converged/converged_state.h"

// (T, p): every (T, p) of the range. A p on the saturation line (within
// 1e-5 Pa) is the liquid, as in the window. In subregions 3 and 4 below
// 647.3 K the liquid is the smallest volume at that pressure and the vapour
// the largest (the formulation's loop between them is never returned);
// above 647.3 K the stable volume (far above it subregion 3 has a second,
// unphysical root near 0.0013 m3/kg). x is the phase flag.
int converged_state_from_T_p(double T, double p, ConvergedState* out);

// (p, h) and (p, s): p in the range; every h or s of a state of the range at
// that p (single-phase at 0 to 800 degC, or wet below the critical
// pressure). Along an isobar h and s rise with T, but the subregions do not
// join exactly: at 623.15 K (liquid from 165 bar; h falls by up to 155 J/kg,
// s rises by up to 0.2 J/(kg K)), on the L line between subregions 2 and 3
// (h -241 to +255 J/kg, s -0.28 to +0.49 J/(kg K)) and at 857.15 K (from
// 965 bar; h -106 to +729 J/kg, s -0.06 to +0.91 J/(kg K)) the values jump;
// near the critical point subregion 3's own forms at 647.3 K (within 1e-6 K
// for p and s, 0.001 K for h) and at its critical volume make smaller jumps.
// A value that two states have (an overlap) gives the colder one; a value
// that none has (a gap) is out of range. Between the saturated liquid and
// vapour the state is wet (x its dryness fraction), also on those lines.
int converged_state_from_p_h(double p, double h, ConvergedState* out);
int converged_state_from_p_s(double p, double s, ConvergedState* out);

// (T, h) and (T, s): T in the range; every h or s of a state of the range at
// that T. Along an isotherm neither needs to be monotonic: the enthalpy of
// hot compressed water has a minimum between the saturation pressure and
// 1000 bar, the entropy of water below about 4 degC a maximum, and the
// subregions jump at the L line. Where two single-phase states have the
// value, the one at the lower pressure is returned; where a compressed
// liquid and a wet state have the same h (below about 285 degC) the liquid;
// a value in a gap between subregions is out of range.
int converged_state_from_T_h(double T, double h, ConvergedState* out);
int converged_state_from_T_s(double T, double s, ConvergedState* out);

// (T, x) for 273.15 K <= T <= 647.3 K and (p, x) for 611.2 Pa <= p <=
// 2.212e7 Pa, 0 <= x <= 1: the wet state, x the dryness fraction.
int converged_state_from_T_x(double T, double x, ConvergedState* out);
int converged_state_from_p_x(double p, double x, ConvergedState* out);

// (T, v) in the critical region, subregions 3 and 4, whose pieces are
// functions of T and v: p, h and s evaluated at the given T and v, for every
// (T, v) that is a single-phase state of those pieces as (T, p) answers it:
// 623.15 K < T < 857.15 K, p(T, v) within the range, the (T, p) state in
// subregion 3 or 4, and v the volume converged_state_from_T_p gives there
// (within 1e-6 relative; within about 1e-5 K of the critical temperature,
// where the pressure is flat in v, also where the pressure between the two
// volumes stays within 1e-12 relative, which takes in the critical point
// itself, 647.3 K and 0.00317 m3/kg). Out of range: a v inside the loop
// between the saturated liquid and vapour (the dome), a metastable liquid or
// vapour, the unphysical root far above the critical temperature, and every
// (T, v) of another subregion. x is the phase flag.
int converged_state_from_T_v(double T, double v, ConvergedState* out);

// The saturation pressure [Pa] for 273.15 K <= T <= 647.3 K (the K
// function), and its inverse for 611.2 Pa <= p <= 2.212e7 Pa, the root of
// the K function to the last digits (not the window's tolerance of 0.1 to
// 10 Pa).
int converged_sat_pressure(double T, double* p);
int converged_sat_temperature(double p, double* T);

// Inlet from (p1, T1), isentropic end at (p2, s1), outlet at (p2, h2) with
// h2 = h1 - efficiency (h1 - h2s), 0 <= efficiency <= 1. Each step covers
// what its pair covers; the first refusal is the status. *inlet and
// *isentropic are written whenever the inlet and the isentropic end are
// solved, also when the outlet is refused.
int converged_turbine(double p1, double T1, double p2, double efficiency, ConvergedState* inlet,
                      ConvergedState* isentropic, ConvergedState* outlet);
