// Evaluation of typed points: the range guard of each input pair followed by
// its solver, and the turbine expansion. One implementation for the main
// window's typed-point path and for vapora-calc; it shows no message: a
// refusal is the result 0, and the caller tells the user.
//
// Units are those the data-input dialog leaves in the records, which are the
// solver units: t degC, p bar, h J/kg, s J/(kg K), x kg/kg, efficiency in
// percent. Solved records hold p in bar; the caller converts to Pa.
#pragma once

#include "solvers/steam_state.h"

// What is given for a point. turbine is for the end point only: outlet
// pressure and efficiency of an expansion from the start point.
enum InputPair : int { t_p = 0, t_h = 1, p_h = 2, t_s = 3, p_s = 4, t_x = 5, p_x = 6, turbine = 7 };

// Guard and solve one point given by `pair` (t_p .. p_x) with its two values
// in the order of the pair's name (t_h: first = t, second = h). Returns 1 and
// writes all six fields of *state, the given ones included; returns 0 and
// writes nothing when a guard refuses the input or the target is out of the
// solver's reach. pair = turbine, or any other code, returns 0.
int solve_typed_point(int pair, double first, double second, SteamState* state);

// First half of the turbine expansion from a solved *inlet (p in bar) to the
// outlet pressure p2 [bar] with efficiency [%]: guards p2 and the efficiency,
// then the isentropic end at (p2, s1). Returns 1 and writes *isentropic (all
// six fields, p = p2, s = s1); 0 and nothing written when refused. The main
// window draws the isentropic line after this step, whatever follows.
int turbine_isentropic_end(const SteamState* inlet, double p2, double efficiency,
                           SteamState* isentropic);

// Second half: the real outlet enthalpy h2 = h2s + (1 - efficiency/100)(h1 - h2s),
// the outlet pressure taken again at the isentropic end (t2s, s1), the (p, h)
// valid-space test and the (p, h) solve. Returns 1 and writes *outlet (all six
// fields); 0 and nothing written when refused.
int turbine_real_outlet(const SteamState* inlet, const SteamState* isentropic, double efficiency,
                        SteamState* outlet);

// Both halves in order. *isentropic is written whenever the first half
// succeeded, also when the second refuses; the result is 1 only when both did.
int turbine_expansion(const SteamState* inlet, double p2, double efficiency, SteamState* isentropic,
                      SteamState* outlet);
