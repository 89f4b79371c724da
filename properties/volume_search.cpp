// Volume searches of the critical region and their start-value tables.
#include "properties/volume_search.h"

#include <cmath>
#include <cstddef>

#include "properties/saturation_line.h"
#include "properties/subregion1.h"
#include "properties/subregion2.h"
#include "properties/subregion3.h"
#include "properties/subregion4.h"

namespace {

// ---------------------------------------------------------------------------
// Natural cubic splines, built at compile time.

// One cubic per knot: v = a dx^3 + b dx^2 + c dx + d, dx = x - knot.
struct Segment {
    double knot, a, b, c, d;
};

template <std::size_t N>
struct Spline {
    Segment seg[N];
};

// Natural cubic spline (zero second derivative at both ends) through the
// points (x[i], y[i]), solved by the tridiagonal (Thomas) algorithm. The
// segment of the last knot continues the last interval's cubic, re-expanded
// about that knot, so that a lookup beyond the table extrapolates it.
template <std::size_t N>
constexpr Spline<N> natural_spline(const double (&x)[N], const double (&y)[N]) {
    double h[N] = {};
    for (std::size_t i = 0; i + 1 < N; ++i) h[i] = x[i + 1] - x[i];
    // Second derivatives M[0] = M[N-1] = 0; the inner ones from
    // h[i-1] M[i-1] + 2 (h[i-1] + h[i]) M[i] + h[i] M[i+1] = rhs[i].
    double diag[N] = {}, upper[N] = {}, rhs[N] = {}, M[N] = {};
    for (std::size_t i = 1; i + 1 < N; ++i) {
        diag[i] = 2.0 * (h[i - 1] + h[i]);
        upper[i] = h[i];
        rhs[i] = 6.0 * ((y[i + 1] - y[i]) / h[i] - (y[i] - y[i - 1]) / h[i - 1]);
    }
    for (std::size_t i = 2; i + 1 < N; ++i) {
        const double w = h[i - 1] / diag[i - 1];
        diag[i] -= w * upper[i - 1];
        rhs[i] -= w * rhs[i - 1];
    }
    for (std::size_t i = N - 2; i >= 1; --i) M[i] = (rhs[i] - upper[i] * M[i + 1]) / diag[i];

    Spline<N> s{};
    for (std::size_t i = 0; i + 1 < N; ++i) {
        s.seg[i] = {x[i], (M[i + 1] - M[i]) / (6.0 * h[i]), M[i] / 2.0,
                    (y[i + 1] - y[i]) / h[i] - h[i] * (2.0 * M[i] + M[i + 1]) / 6.0, y[i]};
    }
    const Segment& p = s.seg[N - 2];
    const double t = h[N - 2];
    s.seg[N - 1] = {x[N - 1], p.a, 3.0 * p.a * t + p.b, (3.0 * p.a * t + 2.0 * p.b) * t + p.c,
                    y[N - 1]};
    return s;
}

// The segment j with knot[j] <= x < knot[j+1] (the last one at or beyond the
// last knot, the first one below the first knot), found by bisection.
template <std::size_t N>
double spline_at(const Spline<N>& s, double x) {
    std::size_t lo = 0, hi = N;  // invariant: knot[lo] <= x (or lo = 0), x < knot[hi]
    while (hi - lo > 1) {        // at most log2(N) + 1 rounds
        const std::size_t mid = (lo + hi) / 2;
        if (x < s.seg[mid].knot)
            hi = mid;
        else
            lo = mid;
    }
    const Segment& g = s.seg[lo];
    const double dx = x - g.knot;
    return ((g.a * dx + g.b) * dx + g.c) * dx + g.d;
}

// The critical isotherm (647.3 K): x = p - 2.212e7 [Pa] -> v [m3/kg].
constexpr double isotherm_x[39] = {
    0,      0.071,   0.319,   1.52,    4.267,   8.029,    13.56,    21.251,   31.459,  44.587,
    61.043, 81.248,  109.01,  225.06,  358.87,  595.09,   1005.3,   1707.9,   2722.2,  4894.1,
    8227.8, 13181,   20374,   28296,   41829,   65355,    100140,   151137,   256758,  456748,
    849282, 1553031, 2801522, 4997854, 8838656, 15536379, 27233210, 47804244, 75299927};
constexpr double isotherm_v[39] = {
    0.00317,  0.003162, 0.003156, 0.003146, 0.003136, 0.003128, 0.00312,  0.003112,
    0.003104, 0.003096, 0.003088, 0.00308,  0.003071, 0.003045, 0.003025, 0.003,
    0.00297,  0.002935, 0.0029,   0.00285,  0.0028,   0.00275,  0.0027,   0.00266,
    0.00261,  0.00255,  0.00249,  0.00243,  0.00235,  0.00226,  0.00216,  0.00206,
    0.00196,  0.00186,  0.00176,  0.00166,  0.00156,  0.00146,  0.00138};

// The saturated liquid between 623.15 K and the critical point: p [Pa] -> v'.
constexpr double sat_liquid_p[47] = {
    16535000, 16600000, 16739000, 16800000, 16945000, 17000000, 17154000, 17200000,
    17364000, 17400000, 17600000, 17800000, 18000000, 18200000, 18400000, 18451000,
    18600000, 18675000, 18800000, 18902000, 19000000, 19131000, 19200000, 19362000,
    19400000, 19600000, 19800000, 19833000, 20000000, 20072000, 20200000, 20313000,
    20400000, 20557000, 20600000, 20800000, 21000000, 21054000, 21200000, 21306000,
    21400000, 21562000, 21600000, 21800000, 21820000, 22000000, 22081000};
constexpr double sat_liquid_v[47] = {
    0.0017411, 0.0017447, 0.0017532, 0.001757,  0.0017661, 0.0017696, 0.0017796, 0.0017826,
    0.0017937, 0.0017961, 0.0018101, 0.0018247, 0.0018399, 0.0018556, 0.0018721, 0.0018764,
    0.0018893, 0.0018959, 0.0019072, 0.0019167, 0.001926,  0.0019388, 0.0019458, 0.0019626,
    0.0019666, 0.0019886, 0.002012,  0.002016,  0.002037,  0.0020464, 0.0020639, 0.0020802,
    0.0020931, 0.0021181, 0.0021252, 0.002161,  0.0022015, 0.0022136, 0.0022488, 0.0022778,
    0.0023061, 0.0023636, 0.0023793, 0.0024832, 0.0024963, 0.0026714, 0.0028407};

constexpr Spline<39> isotherm_spline = natural_spline(isotherm_x, isotherm_v);
constexpr Spline<47> sat_liquid_spline = natural_spline(sat_liquid_p, sat_liquid_v);

// ---------------------------------------------------------------------------
// Acceptance tolerances.

// Pressure-band tolerance [Pa] of the subregion-3 and subregion-4 searches:
// wide far from the critical pressure, so a good start value is kept as is.
double band_tolerance(double p) {
    struct Band {
        double below, tol;
    };
    static constexpr Band bands[] = {
        {22120003.0, 0.8},    {22120090.0, 2.0},     {22151000.0, 8.0},    {22280000.0, 30.0},
        {22303500.0, 200.0},  {22660000.0, 500.0},   {24009000.0, 1750.0}, {25700000.0, 3800.0},
        {28270000.0, 5500.0}, {33000000.0, 10200.0}, {40000000.0, 16500.0}};
    for (const Band& b : bands)
        if (p < b.below) return b.tol;
    return 60000.0;
}

// ---------------------------------------------------------------------------
// Search parameters.

constexpr double sub4_lower_temperature = sub12_top_temperature;  // K, where subregion 1 ends
constexpr int sub3_bisection_cap = 50;
constexpr int sub4_bisection_cap = 200;
constexpr int sat_liquid_march_cap = 501;
// Decades of a residual: a finite double is below 1e309, so 400 rounds always
// find the smallest power of ten at or above it.
constexpr int decade_cap = 400;
// Widening a bracket whose start value lies on the wrong side of the root:
// 1 % volume steps, at most 20 (the start tables err by far less than 20 %).
constexpr double widen_factor = 0.01;
constexpr int widen_cap = 20;

// Ends of a volume bisection with their residuals p - pressure(T, v).
struct VolumeBracket {
    double a, fa, b, fb;
};

// Makes a real bracket of two volumes whose residuals share a sign. On either
// side of a root the pressure falls as the volume rises, so a positive
// residual at both ends puts the root below the smaller volume and a negative
// one above the larger: step that end outward until the residual changes
// sign and bracket the last step. When no step gets there the ends stay as
// they were and the search's cap ends it.
void widen_to_bracket(double (*pressure)(double, double), double T, double p, VolumeBracket& br) {
    if (br.fa * br.fb <= 0.0) return;
    const bool root_below = br.fa > 0.0;
    double v = root_below ? std::fmin(br.a, br.b) : std::fmax(br.a, br.b);
    double f = v == br.a ? br.fa : br.fb;
    const double factor = root_below ? 1.0 - widen_factor : 1.0 + widen_factor;
    for (int i = 0; i < widen_cap; ++i) {
        const double v_next = v * factor;
        const double f_next = p - pressure(T, v_next);
        if (f * f_next <= 0.0) {
            br = {v, f, v_next, f_next};
            return;
        }
        v = v_next;
        f = f_next;
    }
}

struct MarchStep {
    double step, tol;
};

// Volume step and pressure tolerance of the saturated-liquid march by band.
MarchStep sat_liquid_march_step(double T) {
    if (T > 647.295) return {1.6e-8, 10.0};
    if (T > 647.2) return {1.4e-8, 5.0};
    if (T > 647.13) return {9.5e-9, 2.0};
    if (T > 646.93) return {8e-9, 1.0};
    if (T > 623.41) return {5e-9, 1.0};
    return {3e-9, 1.0};
}

}  // namespace

double sub3_vapour_side_volume(double T) {
    if (T > 639.15)
        return 0.00084226 * std::pow(critical_temperature - T, 0.543416) + critical_volume;
    return 0.1248607 - 0.00018625 * T;
}

double critical_isotherm_volume(double p) {
    return spline_at(isotherm_spline, p - critical_pressure);
}

double sat_liquid_volume_spline(double p) {
    return spline_at(sat_liquid_spline, p);
}

double sub3_volume(double T, double p) {
    const double dp = p - critical_pressure;
    if (std::fabs(dp) <= 3.0 && std::fabs(T - critical_temperature) <= 1e-4) return critical_volume;

    // The state on the L boundary (the subregion-2 side) at this temperature.
    // Its subregion-3 pressure differs from pL by kilopascals, so the bracket
    // takes the residual the subregion-3 function really has there.
    const double pL = critical_pressure * l_boundary_beta(T / critical_temperature);
    const double vL = sub2_volume(T + 1e-5, pL);
    if (std::fabs(p - pL) <= 1.05) return vL;

    double vstart;
    double tol;
    if (T - critical_temperature > -0.001) {
        vstart = dp >= 1.0 ? critical_isotherm_volume(p) : critical_volume;
        tol = band_tolerance(p);
    } else if (std::fabs(dp) < 1.0) {
        vstart = critical_volume;
        tol = band_tolerance(p);
    } else if (dp >= 1.0) {
        vstart = critical_isotherm_volume(p);
        tol = band_tolerance(p);
    } else {
        vstart = sub3_vapour_side_volume(T) - 2e-5;
        tol = 1.05;
    }
    const double f_start = p - sub3_pressure(T, vstart);
    if (std::fabs(f_start) <= tol) return vstart;

    // Bisection between the boundary volume and the start volume. Just above
    // the L line the root lies beyond the boundary volume, and far above the
    // critical pressure (about 70 to 100 MPa, just above 647.3 K) beyond the
    // start volume: either way the bracket is widened first.
    VolumeBracket br = {vL, p - sub3_pressure(T, vL), vstart, f_start};
    widen_to_bracket(sub3_pressure, T, p, br);
    double last = br.a, f_last = br.fa, other = br.b;
    double m = vstart;
    for (int i = 0; i < sub3_bisection_cap; ++i) {
        m = (last + other) * 0.5;
        const double f = p - sub3_pressure(T, m);
        if (std::fabs(f) <= 5.0) return m;
        if (f_last * f < 0.0) other = last;
        last = m;
        f_last = f;
    }
    return m;
}

double sub4_sat_liquid_volume(double T) {
    if (!(T >= sub4_lower_temperature && T <= critical_temperature)) return property_refused;
    const double ps = sat_pressure(T);
    // Below 623.41 K ps - 50000 lies below the table's first knot.
    double v = T < 623.41 ? 0.00174 : sat_liquid_volume_spline(ps - 50000.0);

    const MarchStep ms = sat_liquid_march_step(T);
    // Volume per pascal of pressure drop near the start value, taken once.
    const double q = ms.step / (sub4_pressure(T, v - 5e-7) - sub4_pressure(T, v));
    double r = sub4_pressure(T, v) - ps;
    if (r < ms.tol) return v;

    for (int i = 1; i <= sat_liquid_march_cap; ++i) {
        double M = 1.0;  // the decade of the residual
        for (int k = 0; k < decade_cap && M < r; ++k) M *= 10.0;
        v += 10.0 * M * q;
        if (i == sat_liquid_march_cap) break;
        r = sub4_pressure(T, v) - ps;
        if (r < ms.tol) break;
    }
    return v;
}

double sub4_volume(double T, double p) {
    double vs;
    double pS;
    if (p > critical_pressure) {
        vs = critical_isotherm_volume(p);
        // Also for 2.212e7 < p <= 22,120,003 Pa the start pressure is that of the
        // start volume itself: the saturation pressure has no meaning above the
        // critical pressure.
        pS = sub4_pressure(T, vs);
    } else {
        if (!(p >= sub4_lowest_pressure)) return property_refused;
        pS = sat_pressure(T);
        vs = sub4_sat_liquid_volume(T);
        // Outside 623.15 ... 647.3 K there is no start volume: refuse rather than
        // search over volumes that have no pressure.
        if (vs == property_refused) return property_refused;
    }
    const double tol_start = pS < critical_pressure ? 4.5 : band_tolerance(pS);
    if (std::fabs(p - pS) <= tol_start) return vs;

    // The liquid volume at the subregion's lower temperature bounds it below.
    double vlo = sub1_volume(sub4_lower_temperature, p) + 1e-13;
    if (std::fabs(T - sub4_lower_temperature) <= 1e-7) return vlo;

    // Just above 623.15 K the root can lie below that volume, and near 647.3 K
    // above the last knot of the isotherm table beyond the start volume: either
    // way the bracket is widened first.
    VolumeBracket br = {vlo, p - sub4_pressure(T, vlo), vs, p - sub4_pressure(T, vs)};
    widen_to_bracket(sub4_pressure, T, p, br);
    vlo = br.a;
    double flo = br.fa;
    double vhi = br.b;
    const double tol = p < 8e7 ? 3.0 : 5.0;
    double m = vhi;
    for (int i = 0; i < sub4_bisection_cap; ++i) {
        m = (vlo + vhi) * 0.5;
        const double f = p - sub4_pressure(T, m);
        if (std::fabs(f) <= tol) return m;
        if (flo * f >= 0.0) {
            vlo = m;
            flo = f;
        } else {
            vhi = m;
        }
    }
    return m;
}
