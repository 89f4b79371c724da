// Liquid near the critical point, IFC-67 subregion 4: subregion 3 plus a
// correction of the Helmholtz function in y = (1 - theta) / (1 - theta1),
// theta1 = 623.15 / 647.3, so y = 1 at 623.15 K and 0 at 647.3 K.
#include "properties/subregion4.h"

#include <cmath>

#include "properties/int_power.h"
#include "properties/saturation_line.h"
#include "properties/subregion3.h"

namespace {

using props_detail::ipow;

constexpr double one_minus_theta1 = 0.03730882125753121;
constexpr double thirtytwo_over_one_minus_theta1 = 857.7060041407884;

// Correction coefficients D3k (with y^3), D4k (with y^4), D5k (with y^32).
constexpr double D3[5] = {-1.717616747, 3.526389875, -2.690899373, 0.9070982605, -0.1138791156};
constexpr double D4[5] = {1.301023613, -2.642777743, 1.996765362, -0.6661557013, 0.08270860589};
constexpr double D5[3] = {0.0003426663535, -0.001236521258, 0.001155018309};

// Within 1.9 K of the critical temperature y < 0.079 and y^32 < 1e-35: the
// y^32 and y^31 terms are left out there.
constexpr double high_power_band = 1.9;
// Within 1e-6 K of the critical temperature y is zero to within 1.6e-9.
constexpr double enthalpy_zero_band = 1e-6;

double y_of(double T) {
    return (1.0 - T / critical_temperature) / one_minus_theta1;
}

bool has_high_powers(double T) {
    return std::fabs(T - critical_temperature) > high_power_band;
}

}  // namespace

double sub4_pressure(double T, double v) {
    const double y = y_of(T);
    const double chi = v / critical_volume;
    const double inv = 1.0 / chi;
    // sum over k of k Dnk chi^-(k+1), for n = 3 and 4
    double s3 = 0.0, s4 = 0.0;
    for (int k = 4; k >= 1; --k) {
        s3 = s3 * inv + k * D3[k];
        s4 = s4 * inv + k * D4[k];
    }
    const double y3 = y * y * y;
    double dbeta = (y3 * s3 + y3 * y * s4) * inv * inv;
    if (has_high_powers(T)) dbeta -= ipow(y, 32) * (D5[1] + 2.0 * D5[2] * chi);
    return critical_pressure * (sub3_pressure(T, v) / critical_pressure + dbeta);
}

double sub4_entropy(double T, double v) {
    const double y = y_of(T);
    const double chi = v / critical_volume;
    const double inv = 1.0 / chi;
    double s3 = 0.0, s4 = 0.0;
    for (int k = 4; k >= 0; --k) {
        s3 = s3 * inv + D3[k];
        s4 = s4 * inv + D4[k];
    }
    const double y2 = y * y;
    double sum = 3.0 * y2 * s3 + 4.0 * y2 * y * s4;
    if (has_high_powers(T)) sum += 32.0 * ipow(y, 31) * (D5[0] + chi * (D5[1] + chi * D5[2]));
    const double dS = sum / one_minus_theta1;
    return entropy_scale * (sub3_entropy(T, v) / entropy_scale + dS);
}

double sub4_enthalpy(double T, double v) {
    const double h3 = sub3_enthalpy(T, v);
    if (std::fabs(T - critical_temperature) <= enthalpy_zero_band) return h3;
    const double y = y_of(T);
    const double chi = v / critical_volume;
    const double inv = 1.0 / chi;
    const double y2 = y * y;
    double dH = 0.0;
    double inv_k = 1.0;  // chi^-k
    for (int k = 0; k <= 4; ++k) {
        dH += D3[k] * inv_k * y2 * ((k - 2.0) * y + 3.0 / one_minus_theta1);
        dH += D4[k] * inv_k * y2 * y * ((k - 3.0) * y + 4.0 / one_minus_theta1);
        inv_k *= inv;
    }
    if (has_high_powers(T)) {
        double s5 = 0.0;
        double chi_k = 1.0;
        for (int k = 0; k <= 2; ++k) {
            s5 += D5[k] * chi_k * ((k + 31.0) * y - thirtytwo_over_one_minus_theta1);
            chi_k *= chi;
        }
        dH -= ipow(y, 31) * s5;
    }
    return enthalpy_scale * (h3 / enthalpy_scale + dH);
}

ConvergedSlopes sub4_slopes(double T, double v) {
    HelmholtzCurvature k = sub3_curvature(T, v);
    const double y = y_of(T);
    const double chi = v / critical_volume;
    const double inv = 1.0 / chi;
    const double c = 1.0 / one_minus_theta1;  // -dy/dtheta
    // Sums over k of the correction's chi-powers, by Horner's rule.
    double a_cc3 = 0.0, a_cc4 = 0.0, a_tc3 = 0.0, a_tc4 = 0.0, a_tt3 = 0.0, a_tt4 = 0.0;
    for (int j = 4; j >= 0; --j) {
        a_cc3 = a_cc3 * inv + j * (j + 1.0) * D3[j];
        a_cc4 = a_cc4 * inv + j * (j + 1.0) * D4[j];
        a_tc3 = a_tc3 * inv + j * D3[j];
        a_tc4 = a_tc4 * inv + j * D4[j];
        a_tt3 = a_tt3 * inv + D3[j];
        a_tt4 = a_tt4 * inv + D4[j];
    }
    const double y2 = y * y;
    const double inv2 = inv * inv;
    k.psi_chi_chi += (y2 * y * a_cc3 + y2 * y2 * a_cc4) * inv2;
    k.psi_theta_chi += c * (3.0 * y2 * a_tc3 + 4.0 * y2 * y * a_tc4) * inv;
    k.psi_theta_theta += c * c * (6.0 * y * a_tt3 + 12.0 * y2 * a_tt4);
    if (has_high_powers(T)) {
        const double y30 = ipow(y, 30);
        k.psi_chi_chi += y30 * y2 * 2.0 * D5[2];
        k.psi_theta_chi -= c * 32.0 * y30 * y * (D5[1] + 2.0 * D5[2] * chi);
        k.psi_theta_theta += c * c * 992.0 * y30 * (D5[0] + chi * (D5[1] + chi * D5[2]));
    }
    return slopes_from_curvature(T / critical_temperature, chi, k);
}

double sub4_pressure_slope(double T, double v) {
    const double y = y_of(T);
    const double chi = v / critical_volume;
    const double inv = 1.0 / chi;
    double a3 = 0.0, a4 = 0.0;  // sums over k of k (k + 1) Dnk chi^-k
    for (int j = 4; j >= 1; --j) {
        a3 = a3 * inv + j * (j + 1.0) * D3[j];
        a4 = a4 * inv + j * (j + 1.0) * D4[j];
    }
    const double y3 = y * y * y;
    double psi_cc = (y3 * a3 + y3 * y * a4) * inv * inv * inv;
    if (has_high_powers(T)) psi_cc += ipow(y, 32) * 2.0 * D5[2];
    return sub3_pressure_slope(T, v) - critical_pressure * psi_cc / critical_volume;
}
