// VAPORA_AS_WINDOW: the window's guards and solvers behind vapora.h. Arguments and
// results in SI; the window's units (degC, bar, efficiency in percent) live only inside.
// The callers have already refused NaN, infinities and null pointers.
#pragma once

#include "library/vapora.h"

// One state from a pair; VAPORA_OUT_OF_RANGE where the window's guards refuse it.
vapora_status window_solve(vapora_pair pair, double a, double b, vapora_state* out);

// The turbine expansion as the window runs it; all three states or none.
vapora_status window_turbine(double p1, double T1, double p2, double efficiency,
                             vapora_state* inlet, vapora_state* isentropic, vapora_state* outlet);
