// Compressed liquid, IFC-67 subregion 1. The three functions share the
// auxiliary quantities Y, Y' and Z and differ only in their final sums.
#include "properties/subregion1.h"

#include <cmath>

#include "properties/saturation_line.h"

namespace {

// A0 ... A10, indexed by position in the enthalpy and entropy sums.
constexpr double A[11] = {6.824687741e3,  -5.422063673e2, -2.096666205e4, 3.941286787e4,
                          -6.733277739e4, 9.902381028e4,  -1.093911774e5, 8.590841667e4,
                          -4.511168742e4, 1.418138926e4,  -2.017271113e3};
constexpr double A11 = 7.982692717e0;
constexpr double A12 = -2.616571843e-2;
constexpr double A13 = 1.522411790e-3;
constexpr double A14 = 2.284279054e-2;
constexpr double A15 = 2.421647003e2;
constexpr double A16 = 1.269716088e-10;
constexpr double A17 = 2.074838328e-7;
constexpr double A18 = 2.174020350e-8;
constexpr double A19 = 1.105710498e-9;
constexpr double A20 = 1.293441934e1;
constexpr double A21 = 1.308119072e-5;
constexpr double A22 = 6.047626338e-14;

constexpr double a1 = 8.438375405e-1;
constexpr double a2 = 5.362162162e-4;
constexpr double a3 = 1.72;
constexpr double a4 = 7.342278489e-2;
constexpr double a6 = 6.537154300e-1;
constexpr double a7 = 1.150e-6;
constexpr double a8 = 1.51080e-5;
constexpr double a9 = 1.41880e-1;
constexpr double a10 = 7.002753165;
constexpr double a11 = 2.995284926e-4;
constexpr double a12 = 2.040e-1;

// Products stored ready-made.
constexpr double two_a1 = 1.687675081;
constexpr double six_a2 = 0.0032172972972;
constexpr double two_a4 = 0.14684556978;
constexpr double two_a5 = 0.0995171774;
constexpr double a3_minus_1 = 0.72;
constexpr double z_exponent = -0.29411764705882354;  // -5/17
constexpr double five_twelfths = 0.4166666666666667;
constexpr double A11_a5 = 0.3972075236236885;
constexpr double two_A18 = 4.3480407e-8;
constexpr double three_A19 = 3.3171314939999997e-9;
constexpr double three_A21 = 3.924357216e-5;
constexpr double four_A22 = 2.4190505352e-13;
constexpr double seventeen_a9 = 2.41196;
constexpr double A21_a12 = 2.6685629068799995e-6;
constexpr double twentyone_A22 = 1.27000153098e-12;
constexpr double ten_A15 = 2421.647003;
constexpr double two_A14 = 0.04568558108;
constexpr double nineteen_A16 = 2.4124605672e-9;
constexpr double eighteen_a9 = 2.55384;
constexpr double twenty_A22 = 1.2095252676e-12;

// Within this distance of a6 (T near 423.15 K) the A15 term is dropped: it
// contributes below 3e-16 there in reduced units.
constexpr double a15_band = 0.008;

// The auxiliary quantities, and the powers theta^2, 4, 8, 16 from which each
// sum forms the powers it needs with a multiplication or two (in the order
// that square-and-multiply would, so the values stay those of a power loop).
struct Common {
    double theta, beta;
    double Y, Yp, Z, Zpow;  // Zpow = Z^(-5/17)
    double D;               // a6 - theta
    bool use_a15;
    double t2, t4, t8, t16;
    double D2, D8;  // powers of D, used only when use_a15
    double q3_inv;  // (a10 + beta)^-3
};

Common common(double T, double p) {
    Common c;
    c.theta = T / critical_temperature;
    c.beta = p / critical_pressure;
    const double t = c.theta;
    c.t2 = t * t;
    c.t4 = c.t2 * c.t2;
    c.t8 = c.t4 * c.t4;
    c.t16 = c.t8 * c.t8;
    const double t6 = c.t2 * c.t4;
    c.Y = 1.0 - a1 * t * t - a2 / t6;
    c.Yp = -two_a1 * t + six_a2 / (t6 * t);
    c.Z = c.Y + std::sqrt(a3 * c.Y * c.Y - two_a4 * t + two_a5 * c.beta);
    c.Zpow = std::pow(c.Z, z_exponent);
    c.D = a6 - t;
    c.use_a15 = !(std::fabs(c.D) < a15_band);
    c.D2 = c.D * c.D;
    const double D4 = c.D2 * c.D2;
    c.D8 = D4 * D4;
    const double q = a10 + c.beta;
    c.q3_inv = 1.0 / (q * (q * q));
    return c;
}

double volume(const Common& c) {
    const double t = c.theta, b = c.beta;
    const double t11 = t * c.t2 * c.t8;
    const double t18 = c.t2 * c.t16;
    const double t19 = t18 * t;
    const double q = a10 + b;
    double chi = A11_a5 * c.Zpow + A12 + A13 * t + A14 * t * t;
    if (c.use_a15) chi += A15 * (c.D2 * c.D8);
    chi += A16 / (a7 + t19);
    chi -= (A17 + two_A18 * b + three_A19 * b * b) / (a8 + t11);
    chi -= A20 * t18 * (a9 + t * t) * (a11 - 3.0 / ((q * q) * (q * q)));
    chi += three_A21 * (a12 - t) * b * b + four_A22 * (1.0 / (c.t4 * c.t16)) * b * b * b;
    return critical_volume * chi;
}

double enthalpy(const Common& c) {
    const double t = c.theta, b = c.beta;
    // Sum over v = 1 ... 10 of (v - 2) A_v theta^(v - 1), by Horner's rule.
    double poly = 0.0;
    for (int v = 10; v >= 1; --v) poly = poly * t + (v - 2) * A[v];
    const double t11 = t * c.t2 * c.t8;
    const double t18 = c.t2 * c.t16;
    const double t19 = t18 * t;
    double H = A[0] * t - poly;
    H += A11 *
         (c.Z * (17.0 * (c.Z / 29.0 - c.Y / 12.0) + 5.0 * t * c.Yp / 12.0) + a4 * t -
          a3_minus_1 * t * c.Y * c.Yp) *
         c.Zpow;
    const double d16 = a7 + t19;
    double lin = A12 - A14 * t * t + A16 * (20.0 * t19 + a7) / (d16 * d16);
    if (c.use_a15) lin += A15 * (9.0 * t + a6) * (c.D * c.D8);
    H += lin * b;
    const double d17 = a8 + t11;
    H -= (12.0 * t11 + a8) / (d17 * d17) * (b * (A17 + b * (A18 + b * A19)));
    H += A20 * t18 * (seventeen_a9 + 19.0 * t * t) * (c.q3_inv + a11 * b);
    const double b2 = b * b;
    H += A21_a12 * b * b * b + twentyone_A22 * (1.0 / (c.t4 * c.t16)) * (b2 * b2);
    return enthalpy_scale * H;
}

double entropy(const Common& c) {
    const double t = c.theta, b = c.beta;
    // Sum over v = 2 ... 10 of (v - 1) A_v theta^(v - 2), by Horner's rule.
    double poly = 0.0;
    for (int v = 10; v >= 2; --v) poly = poly * t + (v - 1) * A[v];
    const double t10 = c.t2 * c.t8;
    const double t11 = t10 * t;
    const double t17 = t * c.t16;
    const double t18 = t17 * t;
    const double t19 = t18 * t;
    double S = A[0] * std::log(t) - poly;
    S += A11 * ((five_twelfths * c.Z - a3_minus_1 * c.Y) * c.Yp + a4) * c.Zpow;
    const double d16 = a7 + t19;
    double lin = -A13 - two_A14 * t + nineteen_A16 * t18 / (d16 * d16);
    if (c.use_a15) lin += ten_A15 * (c.D * c.D8);
    S += lin * b;
    const double d17 = a8 + t11;
    S -= 11.0 * t10 / (d17 * d17) * (b * (A17 + b * (A18 + b * A19)));
    S += A20 * t17 * (eighteen_a9 + 20.0 * t * t) * (c.q3_inv + a11 * b);
    const double b2 = b * b;
    S += A21 * b * b * b + twenty_A22 * (1.0 / (t * c.t4 * c.t16)) * (b2 * b2);
    return entropy_scale * S;
}

// dS/dtheta and dS/dbeta of the entropy sum above, term by term.
void entropy_slopes(const Common& c, double* S_theta, double* S_beta) {
    const double t = c.theta, b = c.beta;
    // Sum over v = 3 ... 10 of (v - 1)(v - 2) A_v theta^(v - 3).
    double poly = 0.0;
    for (int v = 10; v >= 3; --v) poly = poly * t + (v - 1) * (v - 2) * A[v];
    const double root = c.Z - c.Y;  // the square root in Z
    const double Ypp = -two_a1 - 7.0 * six_a2 / (c.t8);
    const double Z_t = c.Yp + (a3 * c.Y * c.Yp - a4) / root;
    const double Z_b = 0.5 * two_a5 / root;
    const double W = (five_twelfths * c.Z - a3_minus_1 * c.Y) * c.Yp + a4;
    const double W_t = (five_twelfths * Z_t - a3_minus_1 * c.Yp) * c.Yp +
                       (five_twelfths * c.Z - a3_minus_1 * c.Y) * Ypp;
    const double W_b = five_twelfths * Z_b * c.Yp;
    // d(Z^(-5/17)) = (-5/17) Z^(-5/17) dZ / Z
    const double zp = z_exponent * c.Zpow / c.Z;
    const double t10 = c.t2 * c.t8;
    const double t11 = t10 * t;
    const double t17 = t * c.t16;
    const double t18 = t17 * t;
    const double t19 = t18 * t;
    const double d16 = a7 + t19;
    const double d17 = a8 + t11;
    const double q = a10 + b;
    const double lin_b = b * (A17 + b * (A18 + b * A19));
    const double t21_inv = 1.0 / (t * c.t4 * c.t16);
    const double rest = c.q3_inv + a11 * b;
    const double b2 = b * b;

    double lin_t =
        -two_A14 + nineteen_A16 * (18.0 * t17 * d16 - 38.0 * t18 * t18) / (d16 * d16 * d16);
    if (c.use_a15) lin_t -= 9.0 * ten_A15 * c.D8;
    double lin = -A13 - two_A14 * t + nineteen_A16 * t18 / (d16 * d16);
    if (c.use_a15) lin += ten_A15 * (c.D * c.D8);

    if (S_theta)
        *S_theta = A[0] / t - poly + A11 * (W_t * c.Zpow + W * zp * Z_t) + lin_t * b -
                   11.0 * (10.0 * t10 / t * d17 - 22.0 * t10 * t10) / (d17 * d17 * d17) * lin_b +
                   A20 * (17.0 * eighteen_a9 * c.t16 + 19.0 * 20.0 * t18) * rest -
                   21.0 * twenty_A22 * t21_inv / t * (b2 * b2);
    if (S_beta)
        *S_beta = A11 * (W_b * c.Zpow + W * zp * Z_b) + lin -
                  11.0 * t10 / (d17 * d17) * (A17 + b * (2.0 * A18 + 3.0 * b * A19)) +
                  A20 * t17 * (eighteen_a9 + 20.0 * t * t) * (a11 - 3.0 * c.q3_inv / q) +
                  3.0 * A21 * b2 + 4.0 * twenty_A22 * t21_inv * b2 * b;
}

}  // namespace

void sub1_properties_slopes(double T, double p, double* v, double* h, double* s, double* s_T,
                            double* s_p) {
    const Common c = common(T, p);
    if (v) *v = volume(c);
    if (h) *h = enthalpy(c);
    if (s) *s = entropy(c);
    double S_theta = 0.0, S_beta = 0.0;
    entropy_slopes(c, s_T ? &S_theta : nullptr, s_p ? &S_beta : nullptr);
    if (s_T) *s_T = entropy_scale * S_theta / critical_temperature;
    if (s_p) *s_p = entropy_scale * S_beta / critical_pressure;
}

double sub1_volume(double T, double p) {
    return volume(common(T, p));
}

double sub1_enthalpy(double T, double p) {
    return enthalpy(common(T, p));
}

double sub1_entropy(double T, double p) {
    return entropy(common(T, p));
}

void sub1_properties(double T, double p, double* v, double* h, double* s) {
    const Common c = common(T, p);
    if (v) *v = volume(c);
    if (h) *h = enthalpy(c);
    if (s) *s = entropy(c);
}
