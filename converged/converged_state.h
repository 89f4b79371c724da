// The record and the statuses the converged solvers answer with, apart from
// the solvers themselves so that their internal pieces can build states
// without depending on the calls that use them.
#pragma once

// One state in SI units; x as in the window: the dryness fraction of a
// two-phase state, the phase flag of a single-phase one.
struct ConvergedState {
    double T;
    double p;
    double h;
    double s;
    double v;
    double x;
};

enum ConvergedStatus : int {
    converged_ok = 0,
    converged_out_of_range = 1,
    converged_invalid = 2,
};
