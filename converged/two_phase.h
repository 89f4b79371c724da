// States of the converged solvers built from the evaluation of forward.h:
// a single-phase state with the window's phase flag, and a mixture of the
// two saturated sides. Internal to the converged solvers.
#pragma once

#include "converged/converged_state.h"
#include "converged/forward.h"

ConvergedState single_phase_state(const SlopedState& st);
ConvergedState mixture(const SlopedState& liquid, const SlopedState& vapour, double x);
