// Critical region, IFC-67 subregion 3: a Helmholtz function of T [K] and
// v [m3/kg] (v > 0). The volume for a given (T, p) comes from sub3_volume.
#pragma once

double sub3_pressure(double T, double v);  // p [Pa]
double sub3_enthalpy(double T, double v);  // h [J/kg]
double sub3_entropy(double T, double v);   // s [J/(kg K)]

// Second derivatives of the reduced Helmholtz function psi(theta, chi).
struct HelmholtzCurvature {
    double psi_theta_theta, psi_theta_chi, psi_chi_chi;
};

// Partial derivatives of a (T, v) state, SI: p_v = dp/dv and s_T = ds/dT,
// h_T = dh/dT at constant v; p_T = dp/dT and h_v = dh/dv at constant T.
// ds/dv at constant T equals p_T.
struct ConvergedSlopes {
    double p_v, p_T, s_T, h_T, h_v;
};

// The curvature of psi in subregion 3, and the slopes it gives. These
// differentiate psi itself; the three functions above leave out terms near
// the critical temperature and volume that are below 1e-6 of their value,
// which the slopes do not follow.
HelmholtzCurvature sub3_curvature(double T, double v);
double sub3_pressure_slope(double T, double v);  // dp/dv at constant T [Pa kg/m3]
ConvergedSlopes slopes_from_curvature(double theta, double chi, const HelmholtzCurvature& k);
ConvergedSlopes sub3_slopes(double T, double v);
