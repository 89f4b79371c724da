// The converged solver of each pair, in vapora_pair's order, which is also the window's
// pair codes' (t_p .. p_x): one table for the library and for vapora-calc --converged.
#pragma once

#include "converged/converged.h"

using ConvergedPairSolver = int (*)(double, double, ConvergedState*);

inline constexpr ConvergedPairSolver converged_pair_solvers[] = {
    converged_state_from_T_p, converged_state_from_T_h, converged_state_from_p_h,
    converged_state_from_T_s, converged_state_from_p_s, converged_state_from_T_x,
    converged_state_from_p_x};
