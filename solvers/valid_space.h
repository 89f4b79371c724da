// The program's valid space and the state at a point of the T-s diagram.
// Units: t degC, p bar, h J/kg, s J/(kg K). Every test returns 1 inside
// (limits included) and 0 outside; a NaN argument is outside.
#pragma once

#include "solvers/steam_state.h"

// 10..700 degC, between the 1000 bar and the 0.02 bar isobars.
int in_valid_space_t_s(double t, double s);
// The same band, cut at s = 10000 J/(kg K) where that edge comes first.
int in_valid_space_t_h(double t, double h);
// 0.02..1000 bar between the 10 and 700 degC isotherms, cut at s = 10000.
int in_valid_space_p_h(double p, double h);
// 0.02..1000 bar between the 10 and 700 degC isotherms: the entropies that
// the (p, s) bisection can reach. Typed (p, s) pairs and the isentropic end
// of the turbine expansion are refused outside it.
int in_valid_space_p_s(double p, double s);

// The state under the cursor or at a clicked point: 1 and all six fields of
// *state (p in bar) inside the (t, s) valid space; 0 and nothing written
// outside it.
int state_at_diagram_point(double t, double s, SteamState* state);
