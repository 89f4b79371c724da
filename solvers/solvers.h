// Every public function of the state solvers.
#ifndef VAPORA_SOLVERS_SOLVERS_H
#define VAPORA_SOLVERS_SOLVERS_H

#include "solvers/steam_state.h"
#include "solvers/two_phase.h"
#include "solvers/bisection.h"
#include "solvers/valid_space.h"
#include "solvers/typed_point.h"

#endif
