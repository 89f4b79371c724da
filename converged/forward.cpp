// The converged solvers' evaluation of the formulation: the subregion of a
// (T, p) state, the critical-region volume by Newton's method on the
// pressure, each state with its slopes, and the saturation temperature.
#include "converged/forward.h"
#include "converged/sat_temperature_fit.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "properties/properties.h"
#include "properties/subregion_bounds.h"

namespace {

// Far above the critical temperature subregion 3's pressure has an
// unphysical maximum, below 0.0016 m3/kg in the range [m3/kg].
constexpr double unphysical_volume = 0.002;
// Above this temperature [K] the volume search starts from the L line.
constexpr double far_from_critical = 700.0;
// Within this multiple of the L line's pressure the search starts from it.
constexpr double near_l_line = 1.01;
// Each round takes a Newton step or halves the bracket; 100 halvings of the
// widest bracket reach below the spacing of doubles, so the cap is never the
// reason a search ends.
constexpr int volume_cap = 100;
// A Newton step this small (relative) leaves an error of its square: done.
constexpr double volume_step_done = 1e-13;
// The pressure sums round to about 1.5e-14 of p near their root: a residual
// within this share is the root to the last digits the sums allow.
constexpr double volume_residual_done = 2e-14;

// Near the critical point (the table's last rows) Newton's steps on the
// exact slope converge quadratically (the error goes from e to at most about
// 0.1 e^2 per kelvin): once a step is below sat_step_done what is left is
// below 1e-10 K; three steps reach double precision from the worst start
// (3.2e-3 K), the cap leaves room.
constexpr double sat_step_done = 2e-5;
constexpr int sat_cap = 8;

double start_volume(int sub, bool liquid, double T, double p) {
    // Away from the critical isotherm, and next to the L line, the volume on
    // the L line at this temperature (subregion 2's), scaled as a gas's to
    // the pressure, is the nearer start.
    if (T > critical_temperature) {
        const double pL = critical_pressure * l_boundary_beta(T / critical_temperature);
        if (T > far_from_critical || p < near_l_line * pL) return sub2_volume(T, pL) * pL / p;
    }
    // The subregion-1 volume continued above 623.15 K lies within 0.6 % of
    // the liquid's.
    if (sub == subregion_4) return sub1_volume(T, p);
    if (p > critical_pressure) return critical_isotherm_volume(p);
    if (!liquid && T < critical_temperature) return sub3_vapour_side_volume(T) - 2e-5;
    return critical_volume;
}

}  // namespace

int subregion_on_side(double T, double p, bool liquid) {
    if (T <= sub12_top_temperature) return liquid ? subregion_1 : subregion_2;
    const bool below_L = l_boundary_beta(T / critical_temperature) >= p / critical_pressure;
    if (T < critical_temperature && std::fabs(T - critical_temperature) >= near_critical_band)
        return below_L ? subregion_2 : (liquid ? subregion_4 : subregion_3);
    if (T > band_top_temperature || std::fabs(T - band_top_temperature) < band_top_margin)
        return subregion_2;
    return below_L ? subregion_2 : subregion_3;
}

bool on_liquid_branch(double T, double p) {
    if (!(T < critical_temperature)) return false;
    const double ps = sat_pressure(T);
    return p > ps || std::fabs(p - ps) < sat_pressure_tolerance;
}

int subregion_of(double T, double p) {
    return subregion_on_side(T, p, on_liquid_branch(T, p));
}

double critical_region_volume(int sub, bool liquid, double T, double p, double v_guess) {
    double (*pressure)(double, double) = sub == subregion_3 ? sub3_pressure : sub4_pressure;
    double (*slope)(double, double) =
        sub == subregion_3 ? sub3_pressure_slope : sub4_pressure_slope;
    // Below the critical temperature the critical volume lies inside the loop,
    // between the liquid's and the vapour's volumes: it bounds each branch.
    double lo = critical_volume_floor, hi = critical_volume_ceiling;
    if (T < critical_temperature) (liquid ? hi : lo) = critical_volume;
    double v = v_guess > 0.0 ? v_guess : start_volume(sub, liquid, T, p);
    if (!(v > lo && v < hi)) v = 0.5 * (lo + hi);
    for (int i = 0; i < volume_cap; ++i) {
        const double f = pressure(T, v) - p;
        if (std::fabs(f) <= volume_residual_done * p) return v;
        const double fv = slope(T, v);
        // The pressure falls with the volume on either branch; where it rises
        // the volume is inside the loop, beyond the branch sought, or, above
        // the critical temperature, left of the unphysical maximum. At the
        // critical point itself the slope vanishes and the sign decides.
        const bool beyond = T < critical_temperature || v < unphysical_volume;
        if (!(fv < 0.0) && beyond)
            (liquid ? hi : lo) = v;
        else
            (f > 0.0 ? lo : hi) = v;
        double next = fv < 0.0 ? v - f / fv : 0.5 * (lo + hi);
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (std::fabs(next - v) <= volume_step_done * v) return next;
        v = next;
    }
    return v;
}

SlopedState state_in(int sub, bool liquid, double T, double p, double v_guess, int slopes) {
    SlopedState st{T, p, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    if (sub == subregion_1 || sub == subregion_2) {
        if (!slopes) {
            (sub == subregion_1 ? sub1_properties : sub2_properties)(T, p, &st.v, &st.h, &st.s);
            return st;
        }
        double* s_T = slopes & along_isobar ? &st.s_T : nullptr;
        double* s_p = slopes & along_isotherm ? &st.s_p : nullptr;
        (sub == subregion_1 ? sub1_properties_slopes : sub2_properties_slopes)(T, p, &st.v, &st.h,
                                                                               &st.s, s_T, s_p);
        st.h_T = T * st.s_T;
        st.h_p = st.v + T * st.s_p;
        return st;
    }
    const bool three = sub == subregion_3;
    st.v = critical_region_volume(sub, liquid, T, p, v_guess);
    st.h = three ? sub3_enthalpy(T, st.v) : sub4_enthalpy(T, st.v);
    st.s = three ? sub3_entropy(T, st.v) : sub4_entropy(T, st.v);
    if (slopes) {
        const ConvergedSlopes k = three ? sub3_slopes(T, st.v) : sub4_slopes(T, st.v);
        // Along an isobar the volume moves by dv/dT = -p_T / p_v; ds/dv = p_T.
        st.v_T = -k.p_T / k.p_v;
        st.v_p = 1.0 / k.p_v;
        st.h_T = k.h_T + k.h_v * st.v_T;
        st.s_T = k.s_T + k.p_T * st.v_T;
        st.h_p = k.h_v / k.p_v;
        st.s_p = k.p_T / k.p_v;
    }
    return st;
}

double saturation_temperature(double p) {
    if (p == critical_pressure) return critical_temperature;
    // p = m 2^e with 0.5 <= m < 1, read from the bits of the double (the
    // range holds normal numbers only): exponent field 1022 + e, the eighth
    // of the octave in the three leading bits of the fraction f = 2 m - 1, the
    // 512th of m in its eight leading bits.
    std::uint64_t bits;
    std::memcpy(&bits, &p, sizeof bits);
    int row = (int((bits >> 52) & 0x7ff) - 1022 - sat_fit_first_octave) * sat_fit_eighths +
              int((bits >> 49) & 7);
    std::uint64_t m_bits = (bits & 0x800fffffffffffffULL) | (std::uint64_t(1022) << 52);
    double m;
    std::memcpy(&m, &m_bits, sizeof m);
    // u maps the row's stretch of m onto [-1, 1], exactly (Sterbenz).
    double u;
    if (row < sat_fit_parts_row) {
        u = 32.0 * (m - 0.5) - double(2 * (row % sat_fit_eighths) + 1);
    } else {
        const int part = int((bits >> 44) & 255) - 32;  // 512ths of m from 0.5625
        row = sat_fit_parts_row + part;
        u = 1024.0 * (m - 0.5625) - double(2 * part + 1);
    }
    const double* c = sat_fit[row];
    double T = c[sat_fit_degree];
    for (int k = sat_fit_degree - 1; k >= 0; --k) T = T * u + c[k];
    if (row < sat_fit_newton_row) return T;
    const double y = std::log(p / critical_pressure);
    for (int i = 0; i < sat_cap; ++i) {
        const double step = sat_temperature_step(T, y);
        T += step;
        if (std::fabs(step) <= sat_step_done) break;
    }
    return T < critical_temperature ? T : critical_temperature;
}

void saturated_sides(double Ts, double ps, SlopedState* liquid, SlopedState* vapour, int slopes) {
    const bool low = Ts <= sub12_top_temperature;
    *liquid = state_in(low ? subregion_1 : subregion_4, true, Ts, ps, 0.0, slopes);
    *vapour = state_in(low ? subregion_2 : subregion_3, false, Ts, ps, 0.0, slopes);
}
