// The inversions: a state from (p, h), (p, s), (T, h) or (T, s), and the
// turbine expansion built on them.
//
// Along an isobar (p given) the unknown is T, along an isotherm (T given) it
// is p. The line is cut into pieces wherever the subregion changes (and at
// the saturation line); inside a piece the properties are smooth, so the
// target is solved there by Newton's method on the analytic slope, kept
// inside a bracket. The subregions do not join exactly at their boundaries:
// where the values of two pieces overlap the target names two states, where
// they leave a gap it names none. The pieces are searched from the coldest
// (isobar) or the lowest pressure (isotherm) up, and the first state found
// is returned; a target in a gap is refused, except the gap at the saturation
// line, which the two-phase states fill (on an isotherm only where no
// single-phase state has the target). Along an isobar the pieces of
// subregions 3 and 4 are first solved directly in (T, v) from a table's start,
// which saves solving each state's volume; where that does not settle the
// state, or may differ from the search's choice, the search answers.
#include <algorithm>
#include <cmath>

#include "converged/converged.h"
#include "converged/critical_start.h"
#include "converged/forward.h"
#include "converged/two_phase.h"
#include "properties/saturation_line.h"
#include "properties/subregion3.h"
#include "properties/subregion4.h"
#include "properties/subregion_bounds.h"

namespace {

enum Target { target_h, target_s };

// The solve ends when the target is met within this share of its scale:
// 1e-11, a hundred times inside the promise, and above the rounding of the
// sums (their terms reach 1e8 J/kg and 1e6 J/(kg K) where h and s are near 0).
constexpr double target_done = 1e-11;
constexpr double h_scale_floor = 1e4;  // J/kg
constexpr double s_scale_floor = 100;  // J/(kg K)
// Newton from a bracketed start needs about five rounds; each round that
// does not take a Newton step halves the bracket, and 200 halvings of the
// widest (0.002 ... 1e8 Pa) reach below the spacing of doubles.
constexpr int solve_cap = 200;
// The extreme of a piece's values (where its slope changes sign) is found by
// the Illinois rule to this share of the unknown; 200 rounds are far more
// than its superlinear order needs.
constexpr double extreme_done = 1e-12;
constexpr int extreme_cap = 200;
// A volume is started from a known point's along its slope up to this share
// of the unknown away (2 K at 650 K).
constexpr double guess_reach = 0.003;
// A Newton step shorter than this share of the unknown, whose neglected
// second-order term (the slope's change times the step's square) lies within
// finish_share of the tolerance, is taken along the slopes instead of by one
// more evaluation. The last step must have been short too (1 % of the
// unknown), and the slope must match the values' change over it within
// finish_slope_match, so that the slope's change is that of the
// neighbourhood (near the critical temperature subregion 3 takes forms that
// the slopes do not follow).
constexpr double finish_step = 1e-8;
constexpr double finish_last = 1e-2;
constexpr double finish_share = 0.01;
constexpr double finish_slope_match = 1e-3;
// The enthalpy at the critical point (647.3 K, 0.00317 m3/kg) [J/kg].
constexpr double critical_enthalpy = 2107373.0;
// At most 8 breaks cut a line: the two ends, the saturation line, 623.15 K,
// the near-critical band and the critical temperature (where the volume's
// branch changes), the L line and the top of the critical region. Subregion
// 3's own forms at the critical temperature and volume make small jumps
// inside its pieces: a bracket that closes on one is refused (a gap).
constexpr int max_breaks = 8;
// A bracket closed down to neighbouring doubles without meeting the goal
// within target_done: the values jump there (a gap inside a piece, or the
// sums' rounding). Within the promise this is the answer; beyond it, none.
constexpr double target_promise = 1e-9;
// The direct solve of an isobar's critical-region piece in (T, v): from the
// table's start three evaluations suffice at nine states in ten, five at the
// worst away from the table's edges; a start that needs more than the cap is
// far off, and the search along the isobar is surer.
constexpr int direct_cap = 8;
// A Newton step this small (relative) leaves an error of the order of its
// square: the state is taken there.
constexpr double direct_step_done = 1e-9;
// The pressure there must be the given one within this share (the sums round
// to about 1.5e-14 of it).
constexpr double direct_p_done = 1e-13;
// How far [K] a direct solution must lie inside its piece to be the one the
// search along the isobar would give: at 623.15 K the enthalpy falls by up
// to 155 J/kg into subregion 4 (a colder state then has the goal too), which
// the liquid's c_p of more than 4 kJ/(kg K) there covers within 0.04 K; at
// the other breaks the values join within 0.001 K of them.
constexpr double direct_margin_623 = 0.5;
constexpr double direct_margin = 0.01;

struct Line {
    bool isobar;   // p given (unknown T), else T given (unknown p)
    double fixed;  // the given p or T
    Target target;
    double goal;  // the h or s sought
};

struct Piece {
    double a, b;  // range of the unknown
    int sub;
    bool liquid;
};

// A state on the line, with f = value - goal and df = d value / d unknown.
// A point not yet evaluated (known false) holds only its u.
struct Point {
    double u;
    SlopedState st;
    double f, df;
    bool known;
};

Point point_of(const Line& line, double u, const SlopedState& st) {
    const bool h = line.target == target_h;
    const double value = h ? st.h : st.s;
    const double slope = line.isobar ? (h ? st.h_T : st.s_T) : (h ? st.h_p : st.s_p);
    return {u, st, value - line.goal, slope, true};
}

Point unknown_at(double u) {
    Point p{};
    p.u = u;
    return p;
}

Point evaluate(const Line& line, const Piece& piece, double u, double v_guess) {
    const double T = line.isobar ? u : line.fixed;
    const double p = line.isobar ? line.fixed : u;
    const int slopes = line.isobar ? along_isobar : along_isotherm;
    return point_of(line, u, state_in(piece.sub, piece.liquid, T, p, v_guess, slopes));
}

// The state one short step du along the line from the point q, each
// property moved along its slope; the volume, whose slope is not at hand in
// subregions 1 and 2, along the secant from the point before, prev.
Point step_along(const Line& line, const Point& prev, const Point& q, double du) {
    SlopedState st = q.st;
    (line.isobar ? st.T : st.p) += du;
    st.h += (line.isobar ? st.h_T : st.h_p) * du;
    st.s += (line.isobar ? st.s_T : st.s_p) * du;
    st.v += (q.st.v - prev.st.v) / (q.u - prev.u) * du;
    return point_of(line, q.u + du, st);
}

double tolerance(const Line& line) {
    const double floor = line.target == target_h ? h_scale_floor : s_scale_floor;
    return target_done * std::max(std::fabs(line.goal), floor);
}

// Volume to start the critical region's search at u from, on the line from
// a known point: one step along the slope of the volume.
double volume_guess(const Line& line, const Point& from, double u) {
    // Subregions 1 and 2 need none; from farther away the search's own start
    // (from the critical isotherm or subregion 2) is the nearer one.
    if (from.st.v_p == 0.0 || std::fabs(u - from.u) > guess_reach * u) return 0.0;
    return from.st.v + (line.isobar ? from.st.v_T : from.st.v_p) * (u - from.u);
}

bool between(double f_a, double f_b) {
    return (f_a <= 0.0 && f_b >= 0.0) || (f_a >= 0.0 && f_b <= 0.0);
}

enum Outcome { solved, not_in_piece, jump };

// Newton's method inside a piece from its end a (evaluated) towards its end
// b, kept inside the bracket the evaluated points give. b may be unevaluated
// (the piece's far end at the edge of the range): it is evaluated only when
// a step would leave the piece. A bracket closed down to neighbouring doubles
// without meeting the goal is a jump of the values (or the sums' rounding):
// within the promise it is the answer, beyond it none.
Outcome solve_in(const Line& line, const Piece& piece, Point a, Point b, Point* out) {
    const double tol = tolerance(line);
    // A vapour's entropy goes with ln p rather than p (its enthalpy with p):
    // along an isotherm those steps are taken in ln p, and the bracket halved
    // geometrically.
    const bool log_scale = !line.isobar && !piece.liquid && line.target == target_s;
    auto newton = [log_scale](const Point& q) {
        return log_scale ? q.u * std::exp(-q.f / (q.df * q.u)) : q.u - q.f / q.df;
    };
    // With two points evaluated, the inverse of the cubic through both
    // values and slopes (Hermite): of higher order than Newton's step.
    auto hermite = [log_scale](const Point& p0, const Point& p1) {
        const double x0 = log_scale ? std::log(p0.u) : p0.u, x1 = log_scale ? std::log(p1.u) : p1.u;
        const double g0 = 1.0 / (log_scale ? p0.df * p0.u : p0.df);  // dx/df
        const double g1 = 1.0 / (log_scale ? p1.df * p1.u : p1.df);
        const double df = p1.f - p0.f, t = -p0.f / df, t2 = t * t, t3 = t2 * t;
        const double x = (2 * t3 - 3 * t2 + 1) * x0 + (t3 - 2 * t2 + t) * df * g0 +
                         (3 * t2 - 2 * t3) * x1 + (t3 - t2) * df * g1;
        return log_scale ? std::exp(x) : x;
    };
    auto middle = [log_scale](double lo, double hi) {
        return log_scale ? std::sqrt(lo * hi) : 0.5 * (lo + hi);
    };
    if (b.known && std::fabs(b.f) < std::fabs(a.f)) std::swap(a, b);
    if (std::fabs(a.f) <= tol) {
        *out = a;
        return solved;
    }
    if (b.known && !between(a.f, b.f)) return not_in_piece;
    Point cur = a;
    double u = newton(a);
    for (int i = 0; i < solve_cap; ++i) {
        const double lo = std::min(a.u, b.u), hi = std::max(a.u, b.u);
        if (!(u > lo && u < hi)) {
            if (!b.known) {
                b = evaluate(line, piece, b.u, volume_guess(line, cur, b.u));
                if (!between(a.f, b.f)) return not_in_piece;
                cur = std::fabs(b.f) < std::fabs(a.f) ? b : a;
                u = newton(cur);
                continue;
            }
            u = middle(lo, hi);
            if (u <= lo || u >= hi) {  // no room left
                *out = std::fabs(a.f) < std::fabs(b.f) ? a : b;
                return std::fabs(out->f) <= tol * (target_promise / target_done) ? solved : jump;
            }
        }
        const Point p = evaluate(line, piece, u, volume_guess(line, cur, u));
        if (std::fabs(p.f) <= tol) {
            *out = p;
            return solved;
        }
        // p replaces the end on its side of the goal.
        ((p.f < 0.0) == (a.f < 0.0) ? a : b) = p;
        u = hermite(cur, p);
        if (!(u > std::min(a.u, b.u) && u < std::max(a.u, b.u))) u = newton(p);
        // The slope's change between the last two points bounds what a step
        // along the slopes leaves out (near the critical point it is large).
        const double du = u - p.u, last = p.u - cur.u, curvature = (p.df - cur.df) / last;
        const double secant = (p.f - cur.f) / last;
        const Point prev = cur;
        cur = p;
        if (std::fabs(du) <= finish_step * p.u && std::fabs(last) <= finish_last * p.u &&
            std::fabs(curvature) * du * du <= finish_share * tol &&
            std::fabs(secant - p.df) <= finish_slope_match * std::fabs(p.df)) {
            *out = step_along(line, prev, p, du);
            return solved;
        }
    }
    *out = cur;
    return std::fabs(cur.f) <= tol * (target_promise / target_done) ? solved : jump;
}

struct Found {
    bool ok;
    Point point;
};

// The start (T, v) of a direct solve, interpolated in the table; false
// where the goal lies outside it.
bool critical_start(const Line& line, double* T, double* v) {
    const bool h = line.target == target_h;
    const double lo = h ? critical_start_h_lo : critical_start_s_lo;
    const double hi = h ? critical_start_h_hi : critical_start_s_hi;
    const double x = std::log(line.fixed / critical_start_p_lo) * critical_start_rows_per_ln_p;
    const double y = (line.goal - lo) / (hi - lo) * critical_start_columns;
    if (!(x >= 0.0 && x <= critical_start_rows && y >= 0.0 && y <= critical_start_columns))
        return false;
    const int i = std::min(int(x), critical_start_rows - 1);
    const int j = std::min(int(y), critical_start_columns - 1);
    const double a = x - i, b = y - j;
    const auto& t = h ? critical_start_h : critical_start_s;
    double* out[2] = {T, v};
    for (int k = 0; k < 2; ++k)
        *out[k] = (1.0 - a) * ((1.0 - b) * t[i][j][k] + b * t[i][j + 1][k]) +
                  a * ((1.0 - b) * t[i + 1][j][k] + b * t[i + 1][j + 1][k]);
    return true;
}

// The state of an isobar's piece in subregion 3 or 4 with the goal, solved
// directly in the Helmholtz function's own variables: Newton's method on
// p(T, v) = p and h(T, v) = h (or s) with their analytic slopes, one
// evaluation per step, no volume solved on its own. Its Jacobian stays
// regular at the critical point (there dp/dv = 0 but dp/dT dh/dv is not).
// False, for the search along the isobar to answer, where it does not
// converge within its cap or lands outside the piece, near its colder end
// (where a colder piece may have the goal too) or off the piece's branch.
bool solve_direct(const Line& line, const Piece& pc, double T, double v, Point* out) {
    const bool three = pc.sub == subregion_3, h = line.target == target_h;
    double (*pressure)(double, double) = three ? sub3_pressure : sub4_pressure;
    double (*enthalpy)(double, double) = three ? sub3_enthalpy : sub4_enthalpy;
    double (*entropy)(double, double) = three ? sub3_entropy : sub4_entropy;
    const double p = line.fixed;
    for (int i = 0; i < direct_cap; ++i) {
        const double f = pressure(T, v) - p;
        const double g = (h ? enthalpy : entropy)(T, v) - line.goal;
        const ConvergedSlopes k = three ? sub3_slopes(T, v) : sub4_slopes(T, v);
        const double g_T = h ? k.h_T : k.s_T, g_v = h ? k.h_v : k.p_T;  // ds/dv = dp/dT
        const double det = k.p_T * g_v - k.p_v * g_T;
        const double dT = (k.p_v * g - g_v * f) / det, dv = (g_T * f - k.p_T * g) / det;
        T += dT;
        v += dv;
        if (!(T > converged_T_min && T < converged_T_max && v > critical_volume_floor &&
              v < critical_volume_ceiling))
            return false;
        if (!(std::fabs(dT) <= direct_step_done * T && std::fabs(dv) <= direct_step_done * v))
            continue;
        // The pressure falls with the volume on the branch, and below the
        // critical temperature the critical volume parts the branches.
        const double margin = pc.a == sub12_top_temperature ? direct_margin_623 : direct_margin;
        if (!(T > pc.a + margin && T < pc.b && k.p_v < 0.0 &&
              std::fabs(T - critical_temperature) >= direct_margin &&
              (T > critical_temperature || (v < critical_volume) == pc.liquid)))
            return false;
        SlopedState st{T, p, v, enthalpy(T, v), entropy(T, v), 0, 0, 0, 0, 0, 0};
        const Point q = point_of(line, T, st);
        if (!(std::fabs(pressure(T, v) - p) <= direct_p_done * p &&
              std::fabs(q.f) <= tolerance(line)))
            return false;
        *out = q;
        return true;
    }
    return false;
}

// The direct solve on the piece of pieces[0 ... n) that holds the table's
// start, if that piece lies in subregion 3 or 4.
bool try_direct(const Line& line, const Piece* pieces, int n, Found* found) {
    double T, v;
    if (!line.isobar || line.fixed < critical_start_p_lo || !critical_start(line, &T, &v))
        return false;
    T = std::max(pieces[0].a, std::min(T, pieces[n - 1].b));
    for (int i = 0; i < n; ++i) {
        if (!(T >= pieces[i].a && T <= pieces[i].b)) continue;
        if (pieces[i].sub < subregion_3) return false;
        found->ok = solve_direct(line, pieces[i], T, v, &found->point);
        return found->ok;
    }
    return false;
}

// The extreme inside a piece whose slope has opposite signs at its ends: the
// root of the slope, by the Illinois rule.
Point extreme_in(const Line& line, const Piece& piece, Point a, Point b) {
    double wa = 1.0, wb = 1.0;  // the Illinois weights of the two ends
    Point m = a;
    for (int i = 0; i < extreme_cap; ++i) {
        const double u = (wb * b.df * a.u - wa * a.df * b.u) / (wb * b.df - wa * a.df);
        if (!(u > std::min(a.u, b.u) && u < std::max(a.u, b.u))) break;
        m = evaluate(line, piece, u, volume_guess(line, a, u));
        if ((m.df < 0.0) == (a.df < 0.0)) {
            a = m;
            wb *= 0.5;
            wa = 1.0;
        } else {
            b = m;
            wa *= 0.5;
            wb = 1.0;
        }
        if (m.df == 0.0 || std::fabs(b.u - a.u) <= extreme_done * std::fabs(m.u)) break;
    }
    return m;
}

// The pieces in order, each with both ends evaluated, for a line along which
// the values need not be monotonic (an isotherm's liquid and supercritical
// fluid): a piece whose slope changes sign is split at its extreme and its
// parts are tried in order. first_a stands for the first piece's lower end
// when it is known (the saturated liquid).
Found scan_general(const Line& line, const Piece* pieces, int n, const Point* first_a) {
    for (int i = 0; i < n; ++i) {
        const Piece& pc = pieces[i];
        const Point a = i == 0 && first_a ? *first_a : evaluate(line, pc, pc.a, 0.0);
        const Point b = evaluate(line, pc, pc.b, volume_guess(line, a, pc.b));
        Point found;
        if ((a.df < 0.0) != (b.df < 0.0)) {
            const Point m = extreme_in(line, pc, a, b);
            if (solve_in(line, pc, a, m, &found) == solved ||
                solve_in(line, pc, m, b, &found) == solved)
                return {true, found};
        } else if (solve_in(line, pc, a, b, &found) == solved) {
            return {true, found};
        }
    }
    return {false, {}};
}

// The pieces in order along a line where the values rise (dir = 1, an
// isobar) or fall (dir = -1, an isotherm's vapour) with the unknown: the
// first piece whose upper end reaches the goal holds it, unless its lower
// end already lies beyond (a gap). That piece is found by halving the list
// of pieces. The first piece's lower end is first_a, or evaluated only when
// needed, as are the piece's lower end and the last piece's upper end
// (last_b when given).
Found scan_monotone(const Line& line, const Piece* pieces, int n, int dir, const Point* first_a,
                    const Point* last_b) {
    const double tol = tolerance(line);
    int lo = 0, hi = n - 1;  // the last piece reaches every goal of the range
    Point b = last_b ? *last_b : unknown_at(pieces[n - 1].b);
    Point last = first_a ? *first_a : b;  // the latest point, to start volumes from
    while (lo < hi) {                     // about log2(n) rounds, n <= 11
        const int mid = (lo + hi) / 2;
        const Point top = evaluate(line, pieces[mid], pieces[mid].b,
                                   last.known ? volume_guess(line, last, pieces[mid].b) : 0.0);
        last = top;
        if (dir * top.f >= -tol) {
            hi = mid;
            b = top;
        } else {
            lo = mid + 1;
        }
    }
    const Piece& pc = pieces[lo];
    Point a = lo == 0 && first_a ? *first_a : unknown_at(pc.a);
    // One end known is enough to start from; the lower one is evaluated when
    // the upper one is not, or when a step would leave the piece below (a
    // goal in a gap, or below the range, then has no state).
    if (!a.known && !b.known) {
        a = evaluate(line, pc, pc.a, 0.0);
        if (dir * a.f > tol) return {false, {}};
    }
    Point found;
    const Outcome o = a.known ? solve_in(line, pc, a, b, &found) : solve_in(line, pc, b, a, &found);
    return {o == solved, found};
}

// The pieces of the line between lo and hi, cut at those of the breaks that
// lie between, each with the subregion and branch of its middle. The side of
// the saturation line follows from u_sat (negative where the line does not
// meet it). Returns how many.
int pieces_of(const Line& line, double lo, double hi, double u_sat, const double* breaks, int n,
              Piece* out) {
    double cut[max_breaks + 2];
    int m = 0;
    cut[m++] = lo;
    for (int i = 0; i < n; ++i)
        if (breaks[i] > lo && breaks[i] < hi) cut[m++] = breaks[i];
    cut[m++] = hi;
    for (int i = 2; i + 1 < m; ++i)  // insertion sort of a handful of breaks
        for (int j = i; j > 1 && cut[j] < cut[j - 1]; --j) std::swap(cut[j], cut[j - 1]);
    int count = 0;
    for (int i = 0; i + 1 < m; ++i) {
        const double a = cut[i], b = cut[i + 1];
        if (!(b > a)) continue;
        const double mid = line.isobar ? 0.5 * (a + b) : std::sqrt(a * b);
        const double T = line.isobar ? mid : line.fixed;
        const double p = line.isobar ? line.fixed : mid;
        // Liquid: below the saturation temperature on an isobar, above the
        // saturation pressure on an isotherm; without the saturation line in
        // range an isobar above the critical pressure is liquid below 647.3 K,
        // an isotherm at 0 degC is liquid throughout.
        const bool liquid =
            T < critical_temperature && (u_sat < 0.0 || (line.isobar ? mid < u_sat : mid > u_sat));
        const int sub = subregion_on_side(T, p, liquid);
        // Subregions 1 and 2 are the same function across a break.
        if (count > 0 && out[count - 1].sub == sub &&
            (sub <= subregion_2 || out[count - 1].liquid == liquid))
            out[count - 1].b = b;
        else
            out[count++] = {a, b, sub, liquid};
    }
    return count;
}

// The temperature [K] at which the L line reaches p, or -1 if it does not
// within the critical region's temperatures.
double l_line_temperature(double p) {
    const double c = l_function_L0 - p / critical_pressure;
    const double disc = l_function_L1 * l_function_L1 - 4.0 * l_function_L2 * c;
    if (disc < 0.0) return -1.0;
    return critical_temperature * (-l_function_L1 + std::sqrt(disc)) / (2.0 * l_function_L2);
}

int answer(const Found& f, ConvergedState* out) {
    if (!f.ok) return converged_out_of_range;
    *out = single_phase_state(f.point.st);
    return converged_ok;
}

// One side of the saturation line at u_sat, as a point of the line.
Point sat_side(const Line& line, bool liquid, double u_sat) {
    const double T = line.isobar ? u_sat : line.fixed;
    const double p = line.isobar ? line.fixed : u_sat;
    const bool low = T <= sub12_top_temperature;
    const int sub = liquid ? (low ? subregion_1 : subregion_4) : (low ? subregion_2 : subregion_3);
    const int slopes = line.isobar ? along_isobar : along_isotherm;
    return point_of(line, u_sat, state_in(sub, liquid, T, p, 0.0, slopes));
}

int invert(Line line, double a, double b, ConvergedState* out) {
    if (!std::isfinite(a) || !std::isfinite(b) || !out) return converged_invalid;
    if (line.isobar ? !(a >= converged_p_min && a <= converged_p_max)
                    : !(a >= converged_T_min && a <= converged_T_max))
        return converged_out_of_range;
    line.fixed = a;
    line.goal = b;
    const double lo = line.isobar ? converged_T_min : converged_p_min;
    const double hi = line.isobar ? converged_T_max : converged_p_max;
    double breaks[max_breaks] = {};
    int n = 0;
    double u_sat = -1.0;  // where the line meets the saturation line
    if (line.isobar ? a < critical_pressure : a < critical_temperature) {
        u_sat = line.isobar ? saturation_temperature(a) : sat_pressure(a);
        if (u_sat > lo && u_sat < hi)
            breaks[n++] = u_sat;
        else
            u_sat = -1.0;
    }
    if (line.isobar) {
        const double cuts[] = {sub12_top_temperature, critical_temperature - near_critical_band,
                               critical_temperature, l_line_temperature(a),
                               band_top_temperature - band_top_margin};
        for (double c : cuts)
            if (c > lo && c < hi) breaks[n++] = c;
    } else if (a > sub12_top_temperature && a <= band_top_temperature - band_top_margin) {
        const double pL = critical_pressure * l_boundary_beta(a / critical_temperature);
        if (pL > lo && pL < hi) breaks[n++] = pL;
    }
    // The pieces of a side are formed only when that side is searched.
    Piece pieces[max_breaks + 1];
    auto side = [&](double from, double to) {
        return pieces_of(line, from, to, u_sat, breaks, n, pieces);
    };
    // Along an isobar the critical region's pieces are first solved directly
    // from the table's start.
    Found direct{};
    if (u_sat < 0.0) {
        const int count = side(lo, hi);
        if (try_direct(line, pieces, count, &direct)) return answer(direct, out);
        return answer(line.isobar ? scan_monotone(line, pieces, count, 1, nullptr, nullptr)
                                  : scan_general(line, pieces, count, nullptr),
                      out);
    }
    // Every saturated liquid lies below the critical point's h and s and
    // every saturated vapour above: the side nearer the goal comes first, and
    // often decides alone. Below the saturation line's u lie the liquid of an
    // isobar and the vapour of an isotherm.
    const bool liquid_first =
        line.goal < (line.target == target_h ? critical_enthalpy : critical_entropy);
    Point liquid = liquid_first ? sat_side(line, true, u_sat) : unknown_at(u_sat);
    Point vapour = liquid_first ? unknown_at(u_sat) : sat_side(line, false, u_sat);
    if (line.isobar) {
        if (!(liquid.known && liquid.f > 0.0) && !(vapour.known && vapour.f < 0.0)) {
            if (!liquid.known) liquid = sat_side(line, true, u_sat);
            if (!vapour.known) vapour = sat_side(line, false, u_sat);
        }
        if (liquid.known && liquid.f > 0.0) {
            const int count = side(lo, u_sat);
            if (try_direct(line, pieces, count, &direct)) return answer(direct, out);
            return answer(scan_monotone(line, pieces, count, 1, nullptr, &liquid), out);
        }
        if (vapour.f < 0.0) {
            const int count = side(u_sat, hi);
            if (try_direct(line, pieces, count, &direct)) return answer(direct, out);
            return answer(scan_monotone(line, pieces, count, 1, &vapour, nullptr), out);
        }
        // Between the two sides the state is a mixture; no other state on an
        // isobar has its h or s.
        *out = mixture(liquid.st, vapour.st, liquid.f / (liquid.f - vapour.f));
        return converged_ok;
    }
    // An isotherm: the vapour (h and s fall as p rises), then the liquid,
    // then the mixture: a compressed liquid can have the h of a wet state.
    // A goal below the critical point's value has no vapour state.
    if (!liquid_first) {
        const Found f = scan_monotone(line, pieces, side(lo, u_sat), -1, nullptr, &vapour);
        if (f.ok || vapour.f < 0.0) return answer(f, out);
        liquid = sat_side(line, true, u_sat);
    }
    const Found f = scan_general(line, pieces, side(u_sat, hi), &liquid);
    if (f.ok || liquid.f > 0.0) return answer(f, out);
    if (!vapour.known) vapour = sat_side(line, false, u_sat);
    if (!between(liquid.f, vapour.f) || liquid.f == vapour.f) return converged_out_of_range;
    *out = mixture(liquid.st, vapour.st, liquid.f / (liquid.f - vapour.f));
    return converged_ok;
}

}  // namespace

int converged_state_from_p_h(double p, double h, ConvergedState* out) {
    return invert({true, 0.0, target_h, 0.0}, p, h, out);
}

int converged_state_from_p_s(double p, double s, ConvergedState* out) {
    return invert({true, 0.0, target_s, 0.0}, p, s, out);
}

int converged_state_from_T_h(double T, double h, ConvergedState* out) {
    return invert({false, 0.0, target_h, 0.0}, T, h, out);
}

int converged_state_from_T_s(double T, double s, ConvergedState* out) {
    return invert({false, 0.0, target_s, 0.0}, T, s, out);
}

int converged_turbine(double p1, double T1, double p2, double efficiency, ConvergedState* inlet,
                      ConvergedState* isentropic, ConvergedState* outlet) {
    if (!std::isfinite(p1) || !std::isfinite(T1) || !std::isfinite(p2) ||
        !std::isfinite(efficiency) || !inlet || !isentropic || !outlet)
        return converged_invalid;
    if (!(efficiency >= 0.0 && efficiency <= 1.0)) return converged_out_of_range;
    ConvergedState in, end;
    int status = converged_state_from_T_p(T1, p1, &in);
    if (status != converged_ok) return status;
    status = converged_state_from_p_s(p2, in.s, &end);
    if (status != converged_ok) return status;
    *inlet = in;
    *isentropic = end;
    return converged_state_from_p_h(p2, in.h - efficiency * (in.h - end.h), outlet);
}
