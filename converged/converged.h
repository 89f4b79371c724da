// Converged solvers: a state of water from any two given values, solved to
// double precision on the property library's own equations (the library's
// answers, never the window's). SI units throughout: T [K], p [Pa], h [J/kg],
// s [J/(kg K)], v [m3/kg], x [kg/kg]; an efficiency is a fraction.
//
// Every function returns a status, the values of vapora.h's vapora_status:
// converged_ok (the state is written), converged_out_of_range (finite
// arguments outside the range the call covers; nothing written) or
// converged_invalid (NaN or an infinity; nothing written).
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

int converged_state_from_T_p(double T, double p, ConvergedState* out);
int converged_state_from_T_h(double T, double h, ConvergedState* out);
int converged_state_from_p_h(double p, double h, ConvergedState* out);
int converged_state_from_T_s(double T, double s, ConvergedState* out);
int converged_state_from_p_s(double p, double s, ConvergedState* out);
int converged_state_from_T_x(double T, double x, ConvergedState* out);
int converged_state_from_p_x(double p, double x, ConvergedState* out);

int converged_sat_pressure(double T, double* p);
int converged_sat_temperature(double p, double* T);

// Inlet from (p1, T1), isentropic end at (p2, s1), outlet at (p2, h2) with
// h2 = h1 - efficiency (h1 - h2s). *isentropic is written whenever the inlet
// and the isentropic end are solved, also when the outlet is refused.
int converged_turbine(double p1, double T1, double p2, double efficiency,
                      ConvergedState* inlet, ConvergedState* isentropic,
                      ConvergedState* outlet);
