// The converged solvers' evaluation of the formulation: the subregion of a
// (T, p) state, the critical-region volume by Newton's method on the
// pressure, each state with its slopes, and the saturation temperature.
#include "converged/forward.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "properties/properties.h"
#include "properties/subregion_bounds.h"

namespace {

// The critical region's volumes lie between these [m3/kg] at every (T, p)
// of the range: the liquid at 623.15 K and 1000 bar has 0.00131, the vapour
// on the L line at 623.15 K 0.0088.
constexpr double volume_floor = 0.0012;
constexpr double volume_ceiling = 0.0105;
// Above this temperature [K] the volume search starts from subregion 2.
constexpr double far_from_critical = 660.0;
// Each round takes a Newton step or halves the bracket; 100 halvings of the
// widest bracket reach below the spacing of doubles, so the cap is never the
// reason a search ends.
constexpr int volume_cap = 100;
// A Newton step this small (relative) leaves an error of its square: done.
constexpr double volume_step_done = 1e-13;
// The pressure sums round to about 1.5e-14 of p near their root: a residual
// within this share is the root to the last digits the sums allow.
constexpr double volume_residual_done = 2e-14;

// The saturation temperature: T [K] as a polynomial in u = 4 m - 3 for each
// binary octave p = m 2^e (0.5 <= m < 1) from e = 10 (512 Pa) to e = 25
// (the critical pressure), interpolated at Chebyshev nodes of each octave
// (degree 7, within 1.1e-5 K of the root below 16.8 MPa and 5.5e-4 K
// above, where the K function bends within 0.05 K of the critical point).
constexpr int sat_first_octave = 10;
constexpr int sat_octaves = 16;
constexpr int sat_degree = 7;  // the Estrin evaluation below is written for 7
constexpr double sat_fit[sat_octaves][sat_degree + 1] = {
    {276.34464527012756, 4.7109392166545874, -0.69489683382214196, 0.14624456019299714,
     -0.035011083608253557, 0.0090921133812571497, -0.0029577322527529759, 0.00083710879835052765},
    {286.54876069840122, 5.1121167283416664, -0.74909906750404076, 0.15724805498713579,
     -0.037587809445540188, 0.0097504449311998087, -0.0031684218166674327, 0.00089614195928788831},
    {297.64534649479623, 5.5710870350490627, -0.81037361890042092, 0.16963279049734581,
     -0.040480480376572814, 0.010488117602022839, -0.003404071372983708, 0.00096209475134401146},
    {309.76655596162942, 6.099835168067326, -0.88004485979862324, 0.18364740586631001,
     -0.043744639115914197, 0.011318840144724618, -0.0036689203892592559, 0.0010361300026033859},
    {323.07265784742054, 6.7135635020096061, -0.95976239235462657, 0.1995992133040545,
     -0.047448632553766856, 0.012259428509651116, -0.0039681534220790127, 0.0011196671011930448},
    {337.75973390357768, 7.4317092923984731, -1.0516002946996466, 0.21787135165430982,
     -0.051677267263755766, 0.013330678203715252, -0.0043081611883053483, 0.0012144521247137163},
    {354.06982312389465, 8.2792931397956586, -1.1581931673937618, 0.2389459753442793,
     -0.056536715592415021, 0.014558529526368602, -0.0046968878141342429, 0.0013226509279320453},
    {372.30427654462233, 9.2886678712826196, -1.2829255633632926, 0.26343605661040215,
     -0.062161183973103107, 0.015975642547914504, -0.0051442978608520207, 0.0014469739253399894},
    {392.84119021698348, 10.501686594686156, -1.4301997069330668, 0.29212979688932705,
     -0.068722117922675352, 0.017623555773411681, -0.0056630125720857905, 0.0015908454906821135},
    {416.15768572052372, 11.972152115784755, -1.6058158420531328, 0.32605407678761367,
     -0.076441168264750559, 0.019555697445468923, -0.0062691905416158988, 0.0017586373803624156},
    {442.85719760033163, 13.768059599386373, -1.8174972631335038, 0.36656709878224092,
     -0.085608989314437167, 0.021841687042694957, -0.0069837721143812814, 0.001955996539663829},
    {473.70034330351507, 15.97256494175123, -2.0755419693728498, 0.41548872816673565,
     -0.096613870812234381, 0.024573692176545592, -0.0078342891531519854, 0.0021903175602346892},
    {509.63492764565382, 18.681697120985039, -2.39368060046165, 0.47517807691505709,
     -0.10999157659330194, 0.027876352329997189, -0.0088576072023442975, 0.0024714501616927009},
    {551.81083822832943, 21.987269096130245, -2.7953081347493764, 0.54723794854916719,
     -0.12655288009159449, 0.031927981434535013, -0.010103915999479796, 0.0028128285700859124},
    {601.44612781150954, 25.782843668805373, -3.3966766782283742, 0.61997764763933105,
     -0.14629849989137256, 0.03733185442189324, -0.011645913415577525, 0.0032271017719267547},
    {658.18448882099722, 28.159521948594776, -4.6956230507395418, 0.80041162234348917,
     -0.13924716689518846, 0.036263118972385655, -0.014419465051332736, 0.0041066075939397706},
};
// Newton on the K function's exponent from that start converges
// quadratically (the error goes from e to at most about 0.1 e^2 per kelvin):
// once a step is below this, what is left is below 1e-10 K.
constexpr double sat_step_done = 2e-5;
// Two steps reach double precision from the worst start; the cap leaves room.
constexpr int sat_cap = 8;

double start_volume(int sub, bool liquid, double T, double p) {
    // Away from the critical isotherm the subregion-2 volume continued across
    // the L line is the nearer start.
    if (T > far_from_critical) return sub2_volume(T, p);
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
    double lo = volume_floor, hi = volume_ceiling;
    if (T < critical_temperature) (liquid ? hi : lo) = critical_volume;
    double v = v_guess > 0.0 ? v_guess : start_volume(sub, liquid, T, p);
    if (!(v > lo && v < hi)) v = 0.5 * (lo + hi);
    for (int i = 0; i < volume_cap; ++i) {
        const double f = pressure(T, v) - p;
        if (std::fabs(f) <= volume_residual_done * p) return v;
        const double fv = slope(T, v);
        // The pressure falls with the volume on either branch; where it rises
        // the volume is inside the loop, beyond the branch sought.
        if (!(fv < 0.0))
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
    // The logarithm for the Newton steps and the start from the octave's fit
    // are independent: the processor overlaps them.
    const double y = std::log(p / critical_pressure);
    // p = m 2^e with 0.5 <= m < 1, read from the bits of the double (the
    // range holds normal numbers only): exponent field 1022 + e.
    std::uint64_t bits;
    std::memcpy(&bits, &p, sizeof bits);
    int row = int((bits >> 52) & 0x7ff) - 1022 - sat_first_octave;
    row = row < 0 ? 0 : (row >= sat_octaves ? sat_octaves - 1 : row);
    bits = (bits & 0x800fffffffffffffULL) | (std::uint64_t(1022) << 52);
    double m;
    std::memcpy(&m, &bits, sizeof m);
    const double u = 4.0 * m - 3.0, u2 = u * u, u4 = u2 * u2;
    const double* c = sat_fit[row];
    // Estrin's scheme: four pairs, two quadruples, one sum.
    double T = (c[0] + c[1] * u) + (c[2] + c[3] * u) * u2 +
               ((c[4] + c[5] * u) + (c[6] + c[7] * u) * u2) * u4;
    for (int i = 0; i < sat_cap; ++i) {
        double dE_dT;
        const double step = (sat_exponent(T, &dE_dT) - y) / dE_dT;
        T -= step;
        if (std::fabs(step) <= sat_step_done) break;
    }
    return T < critical_temperature ? T : critical_temperature;
}

void saturated_sides(double Ts, double ps, SlopedState* liquid, SlopedState* vapour, int slopes) {
    const bool low = Ts <= sub12_top_temperature;
    *liquid = state_in(low ? subregion_1 : subregion_4, true, Ts, ps, 0.0, slopes);
    *vapour = state_in(low ? subregion_2 : subregion_3, false, Ts, ps, 0.0, slopes);
}
