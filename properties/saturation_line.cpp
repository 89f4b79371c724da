// The saturation line: the IFC-67 K function, its inverse and the L function.
#include "properties/saturation_line.h"

#include <cmath>

namespace {

// K function coefficients.
constexpr double k1 = -7.691234564;
constexpr double k2 = -26.08023696;
constexpr double k3 = -168.1706546;
constexpr double k4 = 64.23285504;
constexpr double k5 = -118.9646225;
constexpr double k6 = 4.16711732;
constexpr double k7 = 20.9750676;
constexpr double k8 = 1e9;
constexpr double k9 = 6.0;

// Fixed march step of the refinement [K].
constexpr double march_step = 0.05;
// The start values lie within a few kelvin of the root (about a dozen steps
// in the worst band). 20000 steps (1000 K) is far more than any start value
// needs, so reaching it means the pressure has no root on the line.
constexpr int march_cap = 20000;
// Each bisection halves the 0.05 K bracket; after 80 halvings it is below the
// spacing of doubles near 650 K, so more rounds cannot improve the result.
constexpr int bisection_cap = 80;

// Pressure bands of the start value [Pa]: 5 kgf/cm2 and 0.12 kgf/cm2.
constexpr double band_high = 490332.0;
constexpr double band_mid = 11767.98;
// Above this pressure the line is treated as ending at the critical point.
constexpr double top_pressure = 2.21e7;
constexpr double kgf_per_cm2_per_pa = 0.0001 / 9.80665;

}  // namespace

double l_boundary_beta(double theta) {
    return l_function_L0 + l_function_L1 * theta + l_function_L2 * theta * theta;
}

double sat_pressure(double T) {
    const double theta = T / critical_temperature;
    if (!(theta <= 1.0)) return property_refused;  // above 647.3 K, or NaN
    const double tau = 1.0 - theta;
    const double poly = tau * (k1 + tau * (k2 + tau * (k3 + tau * (k4 + tau * k5))));
    const double E =
        poly / (theta * (1.0 + k6 * tau + k7 * tau * tau)) - tau / (k8 * tau * tau + k9);
    return critical_pressure * std::exp(E);
}

double sat_temperature_step(double T, double y) {
    // The K function's exponent E = n / d and its slope, over one common
    // denominator, so that the step (E - y) / (dE/dT) takes one division:
    // E = poly / (theta q) - tau / r = (poly r - tau theta q) / (theta q r).
    const double theta = T / critical_temperature;
    const double tau = 1.0 - theta;
    const double poly = tau * (k1 + tau * (k2 + tau * (k3 + tau * (k4 + tau * k5))));
    const double dpoly =
        k1 + tau * (2.0 * k2 + tau * (3.0 * k3 + tau * (4.0 * k4 + tau * 5.0 * k5)));
    const double q = 1.0 + k6 * tau + k7 * tau * tau;
    const double tq = theta * q;
    const double r = k8 * tau * tau + k9;
    const double d = tq * r;
    const double residual = poly * r - tau * tq - y * d;  // (E - y) d
    // dE/dtau d^2, with d(theta q)/dtau = theta q' - q, q' = k6 + 2 k7 tau.
    const double slope = (dpoly * tq - poly * (theta * (k6 + 2.0 * k7 * tau) - q)) * r * r -
                         (k9 - k8 * tau * tau) * tq * tq;
    // dT = -(E - y) / (dE/dT) with dE/dT = -(dE/dtau) / 647.3.
    return residual * d * critical_temperature / slope;
}

double sat_temperature_refine(double T_start, double p, double tol) {
    // Above 647.3 K the saturation pressure has no value (it reads -1), so a
    // march started there would see a constant p + 1 and climb for ever; the
    // line ends at 647.3 K, so start no higher than that.
    if (std::isnan(T_start) || std::isnan(tol) || !(p > 0.0)) return property_refused;
    double T = T_start > critical_temperature ? critical_temperature : T_start;
    double f = p - sat_pressure(T);
    if (std::fabs(f) < tol) return T;

    double T_prev = T;
    bool bracketed = false;
    for (int i = 0; i < march_cap; ++i) {
        T_prev = T;
        const double f_prev = f;
        if (f > 0.0) {
            // Upwards the line ends at 647.3 K: a step stops there, so that a root
            // in the last 0.05 K is still bracketed; a pressure still higher than
            // the line's end is never reached, and the end is the answer.
            if (T >= critical_temperature) return critical_temperature;
            T = T + march_step > critical_temperature ? critical_temperature : T + march_step;
        } else {
            T -= march_step;
        }
        f = p - sat_pressure(T);
        if (std::fabs(f) < tol) return T;
        if (f_prev * f < 0.0) {
            bracketed = true;
            break;
        }
    }
    if (!bracketed) return T;  // no root within the cap: the last value

    double last = T;
    double f_last = f;
    double other = T_prev;
    double m = last;
    for (int i = 0; i < bisection_cap; ++i) {
        m = (last + other) * 0.5;
        const double f_m = p - sat_pressure(m);
        if (std::fabs(f_m) < tol) return m;
        if (f_last * f_m < 0.0) other = last;
        last = m;
        f_last = f_m;
    }
    return m;
}

double sat_temperature(double p) {
    if (std::isnan(p) || p >= top_pressure) return critical_temperature;
    const double P = p * kgf_per_cm2_per_pa;
    double T0;
    double tol;
    if (p >= band_high) {
        T0 = 110.708483 * std::pow(P - 0.123804, 0.2287) - 7.948737 + celsius_zero;
        tol = 10.0;
    } else if (p >= band_mid) {
        T0 = 148.093587 * std::pow(P - 0.01267492, 0.1863) - 48.6736975 + celsius_zero;
        tol = 1.0;
    } else {
        // The lowest band's start formula has no value for P <= 0.000275
        // kgf/cm2 (p <= 26.97 Pa).
        if (!(P > 0.000275)) return property_refused;
        T0 = 194.71 * std::pow(P - 0.000275, 0.13681683) - 96.6 + celsius_zero;
        tol = 0.1;
    }
    return sat_temperature_refine(T0, p, tol);
}

double phase_flag(double T, double P) {
    return (P > critical_pressure && T < critical_temperature) ? 0.0 : 1.0;
}
