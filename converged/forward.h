// The converged solvers' own evaluation of the formulation: the subregion a
// (T, p) state belongs to, the volume of the critical region solved to the
// last digit, and each state with the slopes the inversions need. Internal to
// the converged solvers.
#pragma once

// The library's range (the header converged.h says which call covers what).
constexpr double converged_T_min = 273.15;   // K, 0 degC
constexpr double converged_T_max = 1073.15;  // K, 800 degC
// The lowest pressure: the triple-point pressure of water, below which the
// liquid at 0 degC would have no saturation temperature inside the range.
constexpr double converged_p_min = 611.2;  // Pa
constexpr double converged_p_max = 1e8;    // Pa, 1000 bar

// Subregions, numbered as in the formulation.
enum Subregion { subregion_1 = 1, subregion_2 = 2, subregion_3 = 3, subregion_4 = 4 };

// The subregion of (T, p), decided as the window's state from (T, p) decides
// it; subregion_on_side when the side of the saturation line is known
// (liquid: p at or above the saturation pressure, below 647.3 K).
int subregion_of(double T, double p);
int subregion_on_side(double T, double p, bool liquid);

// Below the critical temperature subregions 3 and 4 give a loop between the
// two sides of the saturation line: the liquid is the smallest volume with
// the given pressure, the vapour the largest. Above it the fluid is taken as
// the vapour: the largest volume, since far above the critical temperature
// subregion 3 has a second, unphysical root at about 0.0013 m3/kg where its
// pressure has a maximum.
bool on_liquid_branch(double T, double p);

// The volume [m3/kg] at (T, p) in subregion 3 or 4, on the liquid or the
// vapour branch; v_guess > 0 starts the search there.
double critical_region_volume(int sub, bool liquid, double T, double p, double v_guess);

// A state and its slopes along a constant-pressure line (h_T, s_T, v_T: d/dT
// at constant p) and along a constant-temperature line (h_p, s_p, v_p: d/dp
// at constant T). v_T and v_p are those of the critical region's volume,
// and 0 in subregions 1 and 2, which have no volume search to start.
struct SlopedState {
    double T, p, v, h, s;
    double h_T, s_T, h_p, s_p;
    double v_T, v_p;
};

// Which slopes to compute (flags): along the isobar, along the isotherm.
enum { along_isobar = 1, along_isotherm = 2 };

// v, h, s at (T, p) in the given subregion and branch (the branch matters in
// subregions 3 and 4 only), with the slopes asked for (0 for none; the
// critical region gives both at once).
SlopedState state_in(int sub, bool liquid, double T, double p, double v_guess, int slopes);

// The saturation temperature [K] at p [Pa], 611.2 Pa <= p <= 2.212e7 Pa.
double saturation_temperature(double p);

// The saturated liquid and vapour at a point (Ts, ps) of the saturation line,
// with the slopes asked for.
void saturated_sides(double Ts, double ps, SlopedState* liquid, SlopedState* vapour, int slopes);
