// The states the converged solvers build from an evaluation with slopes: a
// single phase with the window's phase flag, and a two-phase mixture.
#include "converged/two_phase.h"

#include "properties/saturation_line.h"

ConvergedState single_phase_state(const SlopedState& st) {
    return {st.T, st.p, st.h, st.s, st.v, phase_flag(st.T, st.p)};
}

ConvergedState mixture(const SlopedState& liquid, const SlopedState& vapour, double x) {
    return {liquid.T,
            liquid.p,
            (1.0 - x) * liquid.h + x * vapour.h,
            (1.0 - x) * liquid.s + x * vapour.s,
            (1.0 - x) * liquid.v + x * vapour.v,
            x};
}
