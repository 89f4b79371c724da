// Every public function of the state solvers.
#pragma once

#include "solvers/steam_state.h"
#include "solvers/two_phase.h"
#include "solvers/bisection.h"
#include "solvers/valid_space.h"
#include "solvers/typed_point.h"
