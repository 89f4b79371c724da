// Critical region, IFC-67 subregion 3: pressure, enthalpy and entropy from
// the reduced Helmholtz function psi(theta, chi), differentiated by hand.
// theta = T / 647.3, chi = v / 0.00317, d = theta - 1.
#include "properties/subregion3.h"

#include <cmath>

#include "properties/int_power.h"
#include "properties/saturation_line.h"

namespace {

using props_detail::ipow;

constexpr double C0[13] = {-6.8399,       -1.7226042e-2,  -7.77175039,   4.20460752,
                           -2.76807038,   2.10419707,     -1.14649588,   2.23138085e-1,
                           1.16250363e-1, -8.20900544e-2, 1.94129239e-2, -1.69470576e-3,
                           -4.311577033};
constexpr double C1[7] = {7.08636085e-1,  1.23679455e1,  -1.20389004e1, 5.40437422,
                          -9.93865043e-1, 6.27523182e-2, -7.74743016};
constexpr double C2[8] = {-4.29885092, 4.31430538e1, -1.41619313e1, 4.04172459,
                          1.55546326,  -1.66568935,  3.24881158e-1, 2.93655325e1};
constexpr double C3[10] = {7.94841842e-6, 8.08859747e1, -8.36153380e1, 3.58636517e1,   7.51895954,
                           -1.26160640e1, 1.09717462,   2.12145492,    -5.46529566e-1, 8.32875413};
constexpr double C40 = 2.75971776e-6;
constexpr double C41 = -5.09073985e-4;
constexpr double C50 = 2.10636332e2;
constexpr double C6[5] = {5.528935335e-2, -2.336365955e-1, 3.697071420e-1, -2.596415470e-1,
                          6.828087013e-2};
constexpr double C7[9] = {-2.571600553e2, -1.518783715e2, 2.220723208e1,
                          -1.802039570e2, 2.357096220e3,  -1.462335698e4,
                          4.542916630e4,  -7.053556432e4, 4.381571428e4};

// Products stored ready-made.
constexpr double five_abs_C41 = 0.0025453699250000002;
constexpr double C50_minus_C00_plus_C012 = 213.16465496700002;
constexpr double C012_minus_C16 = 3.4358531270000006;
constexpr double C50_plus_C16 = 202.88890184000002;
constexpr double minus_C10_2C20 = 7.889065754999999;  // -(C10 + 2 C20)
constexpr double two_C27 = 58.731065;
constexpr double minus_2C20_3C30 = 8.597677994744739;  // -(2 C20 + 3 C30)
constexpr double C27_plus_3C39 = 54.35179489;
constexpr double three_C30 = 2.384525526e-5;
constexpr double two_C39 = 16.65750826;
constexpr double twentythree_C40 = 6.347350848e-5;
constexpr double twentyeight_abs_C41 = 0.014254071580000001;
constexpr double twentyfour_C40 = 6.623322624e-5;
constexpr double twentynine_abs_C41 = 0.014763145565000002;
// (j + 2) C6j, j = 0 ... 4.
constexpr double jp2_C6[5] = {0.1105787067, -0.7009097865, 1.478828568, -1.2982077349999999,
                              0.40968522078};

// At the critical temperature the d terms vanish; the theta = 1 forms are
// used within these distances [K] (the enthalpy's band is the wider one).
constexpr double pressure_theta1_band = 1e-6;
constexpr double enthalpy_theta1_band = 0.001;
constexpr double entropy_theta1_band = 1e-6;
// Near the critical volume ln chi is about zero and its terms are left out [m3/kg].
constexpr double h0_log_band = 1e-6;
constexpr double log_band = 1e-9;

// sum over n = from ... to of coef(n) * c[n] * x^n, by Horner's rule.
template <typename Coef>
double poly(const double* c, int from, int to, double x, Coef coef) {
    double s = 0.0;
    for (int n = to; n >= from; --n) s = s * x + coef(n) * c[n];
    for (int n = 0; n < from; ++n) s *= x;
    return s;
}

double one(int) {
    return 1.0;
}
double index(int n) {
    return n;
}

// F_k(chi) = C_k0 chi + sum C_kv chi^-v + C_k,last ln chi (log term optional).
double F(const double* c, int last, double chi, double inv, double lnchi) {
    return c[0] * chi + poly(c, 1, last - 1, inv, one) + c[last] * lnchi;
}

}  // namespace

double sub3_pressure(double T, double v) {
    const double theta = T / critical_temperature;
    const double chi = v / critical_volume;
    const double inv = 1.0 / chi;
    const double chi5 = ipow(chi, 5);
    // P0 = C01 + C012/chi - sum k C0,(k+1) chi^-(k+1)
    double s0 = 0.0;
    for (int k = 10; k >= 1; --k) s0 = s0 * inv + k * C0[k + 1];
    const double P0 = C0[1] + C0[12] * inv - s0 * inv * inv;
    double beta;
    if (std::fabs(T - critical_temperature) <= pressure_theta1_band) {
        beta = -P0 - 6.0 * chi5 * (C6[0] + C6[1] + C6[2] + C6[3] + C6[4]);
    } else {
        const double d = theta - 1.0;
        const double inv2 = inv * inv;
        const double P1 = C1[0] + C1[6] * inv - poly(C1, 1, 5, inv, index) * inv;
        const double P2 = C2[0] + C2[7] * inv - poly(C2, 1, 6, inv, index) * inv;
        const double P3 = C3[0] + C3[9] * inv - poly(C3, 1, 8, inv, index) * inv;
        const double itheta = 1.0 / theta;
        const double sum6 = poly(C6, 0, 4, itheta, one) * itheta * itheta;
        beta = -P0 - d * (P1 + d * (P2 + d * P3)) -
               five_abs_C41 * ipow(itheta, 23) * d * ipow(inv2, 3) - 6.0 * chi5 * sum6;
    }
    return critical_pressure * beta;
}

double sub3_enthalpy(double T, double v) {
    const double theta = T / critical_temperature;
    const double chi = v / critical_volume;
    const double inv = 1.0 / chi;
    const double lnchi = std::log(chi);
    const double dv = std::fabs(v - critical_volume);
    const double chi6 = ipow(chi, 6);
    const double inv5 = ipow(inv, 5);

    double H0 = poly(C0 + 1, 1, 10, inv, [](int k) { return k + 1.0; }) -
                (C1[0] * chi + C50_minus_C00_plus_C012) - poly(C1, 1, 5, inv, one);
    if (dv > h0_log_band) H0 += C012_minus_C16 * lnchi;

    if (std::fabs(T - critical_temperature) <= enthalpy_theta1_band) {
        const double H = H0 - (C40 + C41 * inv5) - C7[0] +
                         chi6 * poly(C6, 0, 4, 1.0, [](int j) { return j - 3.0; });
        return enthalpy_scale * H;
    }
    const double d = theta - 1.0;
    const double ln3 = dv <= log_band ? 0.0 : lnchi;
    const double H1 = poly(C1, 1, 5, inv, index) - C50_plus_C16 + minus_C10_2C20 * chi -
                      2.0 * poly(C2, 1, 6, inv, one) - two_C27 * ln3;
    const double H2 = poly(C2, 1, 6, inv, [](int n) { return n - 1.0; }) - C2[7] +
                      minus_2C20_3C30 * chi - 3.0 * poly(C3, 1, 8, inv, one) - C27_plus_3C39 * ln3;
    const double H3 = poly(C3, 1, 8, inv, [](int n) { return n - 2.0; }) -
                      (C3[9] + three_C30 * chi) - two_C39 * ln3;
    const double H4 = (twentythree_C40 - twentyeight_abs_C41 * inv5) * ipow(theta, -22) -
                      (twentyfour_C40 - twentynine_abs_C41 * inv5) * std::pow(theta, -23.0);
    const double itheta = 1.0 / theta;
    const double H6 =
        chi6 * poly(C6, 0, 4, itheta, [](int j) { return j - 3.0; }) * itheta * itheta;
    // sum over u = 1 ... 8 of (1 + u theta) C7u d^u
    double s7 = 0.0;
    for (int u = 8; u >= 1; --u) s7 = (s7 + (1.0 + u * theta) * C7[u]) * d;
    const double H7 = -C7[0] - s7;
    const double H = H0 + d * (H1 + d * (H2 + d * H3)) + H4 + H6 + H7;
    return enthalpy_scale * H;
}

double sub3_entropy(double T, double v) {
    const double theta = T / critical_temperature;
    const double chi = v / critical_volume;
    const double inv = 1.0 / chi;
    const double ln3 = std::fabs(v - critical_volume) <= log_band ? 0.0 : std::log(chi);
    const double chi6 = ipow(chi, 6);
    const double c4 = C40 + C41 * ipow(inv, 5);
    const double G = F(C1, 6, chi, inv, ln3) + C50;

    if (std::fabs(T - critical_temperature) <= entropy_theta1_band) {
        const double S = -c4 - G - C7[0] + chi6 * poly(jp2_C6, 0, 4, 1.0, one);
        return entropy_scale * S;
    }
    const double d = theta - 1.0;
    const double itheta = 1.0 / theta;
    const double it23 = ipow(itheta, 23);
    const double F2 = F(C2, 7, chi, inv, ln3);
    const double F3 = F(C3, 9, chi, inv, ln3);
    // sum over u = 1 ... 8 of (u + 1) C7u d^u
    double s7 = 0.0;
    for (int u = 8; u >= 1; --u) s7 = (s7 + (u + 1.0) * C7[u]) * d;
    const double S = c4 * (22.0 * it23 - 23.0 * it23 * itheta) -
                     (G + 2.0 * d * F2 + 3.0 * d * d * F3) - C50 * std::log(theta) +
                     chi6 * poly(jp2_C6, 0, 4, itheta, one) * ipow(itheta, 3) - C7[0] - s7;
    return entropy_scale * S;
}

namespace {

// Derivatives of F_k(chi): the first and the second.
double F_chi(const double* c, int last, double inv) {
    return c[0] - poly(c, 1, last - 1, inv, index) * inv + c[last] * inv;
}
double F_chi_chi(const double* c, int last, double inv) {
    return poly(c, 1, last - 1, inv, [](int v) { return v * (v + 1.0); }) * inv * inv -
           c[last] * inv * inv;
}

// psi_chi_chi at (theta, chi): the curvature the pressure's slope needs.
double psi_chi_chi(double theta, double chi) {
    const double inv = 1.0 / chi;
    const double d = theta - 1.0;
    const double itheta = 1.0 / theta;
    const double it22 = ipow(itheta, 22);
    // sum over v = 2 ... 11 of v (v - 1) C0v chi^-(v + 1)
    const double s0 = poly(C0 + 1, 1, 10, inv, [](int k) { return (k + 1.0) * k; }) * inv * inv;
    const double g6 = poly(C6, 0, 4, itheta, one) * itheta * itheta;  // sum C6j theta^-(j+2)
    return s0 - C0[12] * inv * inv +
           d * (F_chi_chi(C1, 6, inv) + d * (F_chi_chi(C2, 7, inv) + d * F_chi_chi(C3, 9, inv))) +
           (it22 - it22 * itheta) * 30.0 * C41 * ipow(inv, 7) + 30.0 * ipow(chi, 4) * g6;
}

}  // namespace

double sub3_pressure_slope(double T, double v) {
    return -critical_pressure * psi_chi_chi(T / critical_temperature, v / critical_volume) /
           critical_volume;
}

HelmholtzCurvature sub3_curvature(double T, double v) {
    const double theta = T / critical_temperature;
    const double chi = v / critical_volume;
    const double inv = 1.0 / chi;
    const double lnchi = std::log(chi);
    const double d = theta - 1.0;
    const double itheta = 1.0 / theta;
    const double chi4 = ipow(chi, 4);
    const double c4 = C40 + C41 * ipow(inv, 5);
    const double it22 = ipow(itheta, 22);
    const double it23 = it22 * itheta;
    const double g6t = poly(C6, 0, 4, itheta, [](int j) { return j + 2.0; }) * ipow(itheta, 3);
    const double g6tt =
        poly(C6, 0, 4, itheta, [](int j) { return (j + 2.0) * (j + 3.0); }) * ipow(itheta, 4);
    double s7 = 0.0;  // sum over u = 1 ... 8 of u (u + 1) C7u d^(u - 1)
    for (int u = 8; u >= 1; --u) s7 = s7 * d + u * (u + 1.0) * C7[u];

    HelmholtzCurvature k;
    k.psi_chi_chi = psi_chi_chi(theta, chi);
    k.psi_theta_chi =
        F_chi(C1, 6, inv) + d * (2.0 * F_chi(C2, 7, inv) + 3.0 * d * F_chi(C3, 9, inv)) +
        (23.0 * itheta - 22.0) * it23 * (-5.0 * C41 * ipow(inv, 6)) - 6.0 * chi4 * chi * g6t;
    k.psi_theta_theta = 2.0 * F(C2, 7, chi, inv, lnchi) + 6.0 * d * F(C3, 9, chi, inv, lnchi) +
                        (506.0 - 552.0 * itheta) * it23 * itheta * c4 + C50 * itheta +
                        chi4 * chi * chi * g6tt + s7;
    return k;
}

ConvergedSlopes slopes_from_curvature(double theta, double chi, const HelmholtzCurvature& k) {
    ConvergedSlopes s;
    s.p_v = -critical_pressure * k.psi_chi_chi / critical_volume;
    s.p_T = -critical_pressure * k.psi_theta_chi / critical_temperature;
    s.s_T = -entropy_scale * k.psi_theta_theta / critical_temperature;
    s.h_T = enthalpy_scale * (-theta * k.psi_theta_theta - chi * k.psi_theta_chi) /
            critical_temperature;
    s.h_v = enthalpy_scale * (-theta * k.psi_theta_chi - chi * k.psi_chi_chi) / critical_volume;
    return s;
}

ConvergedSlopes sub3_slopes(double T, double v) {
    return slopes_from_curvature(T / critical_temperature, v / critical_volume,
                                 sub3_curvature(T, v));
}
