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
