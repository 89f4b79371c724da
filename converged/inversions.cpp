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
// single-phase state has the target).
#include <algorithm>
#include <cmath>

#include "converged/converged.h"
#include "converged/forward.h"
#include "converged/two_phase.h"
#include "properties/saturation_line.h"
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
// The enthalpy at the critical point (647.3 K, 0.00317 m3/kg) [J/kg].
constexpr double critical_enthalpy = 2107373.0;
// At most 8 breaks cut a line: the two ends, the saturation line, 623.15 K,
// the near-critical band and the critical temperature (where the volume's
// branch changes), the L line and the top of the critical region.
constexpr int max_breaks = 8;
// A bracket closed down to neighbouring doubles without meeting the goal
// within target_done: the values jump there (a gap inside a piece, or the
// sums' rounding). Within the promise this is the answer; beyond it, none.
constexpr double target_promise = 1e-9;

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

double tolerance(const Line& line) {
    const double floor = line.target == target_h ? h_scale_floor : s_scale_floor;
    return target_done * std::max(std::fabs(line.goal), floor);
}

// Volume to start the critical region's search at u from, on the line from
// a known point: one step along the slope of the volume.
double volume_guess(const Line& line, const Point& from, double u) {
    if (from.st.v_p == 0.0) return 0.0;  // subregions 1 and 2 need none
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
    // A vapour's h and s go with ln p rather than p: along an isotherm its
    // steps are taken in ln p, and its bracket halved geometrically.
    const bool log_scale = !line.isobar && !piece.liquid;
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
        cur = p;
    }
    *out = cur;
    return std::fabs(cur.f) <= tol * (target_promise / target_done) ? solved : jump;
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

struct Found {
    bool ok;
    Point point;
};

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
// needed; the last piece's upper end is last_b, or evaluated only when needed.
Found scan_monotone(const Line& line, const Piece* pieces, int n, int dir, const Point* first_a,
                    const Point* last_b) {
    const double tol = tolerance(line);
    int lo = 0, hi = n - 1;  // the last piece reaches every goal of the range
    Point b = last_b ? *last_b : unknown_at(pieces[n - 1].b);
    while (lo < hi) {  // about log2(n) rounds, n <= 8
        const int mid = (lo + hi) / 2;
        const Point top = evaluate(line, pieces[mid], pieces[mid].b, 0.0);
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
    // the upper one is not, or to tell a gap from the goal.
    if (!a.known && (!b.known || lo > 0)) {
        a = evaluate(line, pc, pc.a, b.known ? volume_guess(line, b, pc.a) : 0.0);
        if (dir * a.f > tol) return {false, {}};  // in a gap, or below the range
    }
    Point found;
    const Outcome o = a.known ? solve_in(line, pc, a, b, &found) : solve_in(line, pc, b, a, &found);
    return {o == solved, found};
}

// The pieces of the line between lo and hi, cut at the given breaks, each
// with the subregion and branch of its middle. The side of the saturation
// line follows from u_sat (negative where the line does not meet it).
int pieces_of(const Line& line, double lo, double hi, double u_sat, double* breaks, int n,
              Piece* out) {
    breaks[n++] = lo;
    breaks[n++] = hi;
    for (int i = 1; i < n; ++i)  // insertion sort of a handful of breaks
        for (int j = i; j > 0 && breaks[j] < breaks[j - 1]; --j)
            std::swap(breaks[j], breaks[j - 1]);
    int count = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double a = breaks[i], b = breaks[i + 1];
        if (!(a >= lo && b <= hi && b > a)) continue;
        const double mid = line.isobar ? 0.5 * (a + b) : std::sqrt(a * b);
        const double T = line.isobar ? mid : line.fixed;
        const double p = line.isobar ? line.fixed : mid;
        // Liquid: below the saturation temperature on an isobar, above the
        // saturation pressure on an isotherm; without the saturation line in
        // range an isobar above the critical pressure is liquid below 647.3 K,
        // an isotherm at 0 degC is liquid throughout.
        const bool liquid =
            T < critical_temperature && (u_sat < 0.0 ? (line.isobar || T < critical_temperature)
                                                     : (line.isobar ? mid < u_sat : mid > u_sat));
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
    double breaks[max_breaks + 2];
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
    Piece pieces[max_breaks + 1];
    const int count = pieces_of(line, lo, hi, u_sat, breaks, n, pieces);
    if (u_sat < 0.0) {
        return answer(line.isobar ? scan_monotone(line, pieces, count, 1, nullptr, nullptr)
                                  : scan_general(line, pieces, count, nullptr),
                      out);
    }
    int below = 0;  // the pieces below the saturation line's u
    while (below < count && pieces[below].b <= u_sat) ++below;
    // Every saturated liquid lies below the critical point's h and s and
    // every saturated vapour above: the side nearer the goal comes first, and
    // often decides alone.
    const bool liquid_first =
        line.goal < (line.target == target_h ? critical_enthalpy : critical_entropy);
    Point liquid = liquid_first ? sat_side(line, true, u_sat) : unknown_at(u_sat);
    Point vapour = liquid_first ? unknown_at(u_sat) : sat_side(line, false, u_sat);
    if (line.isobar) {
        if (liquid.known && liquid.f > 0.0)
            return answer(scan_monotone(line, pieces, below, 1, nullptr, &liquid), out);
        if (vapour.known && vapour.f < 0.0)
            return answer(scan_monotone(line, pieces + below, count - below, 1, &vapour, nullptr),
                          out);
        if (!liquid.known) liquid = sat_side(line, true, u_sat);
        if (!vapour.known) vapour = sat_side(line, false, u_sat);
        if (liquid.f > 0.0)
            return answer(scan_monotone(line, pieces, below, 1, nullptr, &liquid), out);
        if (vapour.f < 0.0)
            return answer(scan_monotone(line, pieces + below, count - below, 1, &vapour, nullptr),
                          out);
        // Between the two sides the state is a mixture; no other state on an
        // isobar has its h or s.
        *out = mixture(liquid.st, vapour.st, liquid.f / (liquid.f - vapour.f));
        return converged_ok;
    }
    // An isotherm: the vapour (h and s fall as p rises), then the liquid,
    // then the mixture: a compressed liquid can have the h of a wet state.
    // A goal below the critical point's value has no vapour state.
    if (!liquid_first) {
        const Found f = scan_monotone(line, pieces, below, -1, nullptr, &vapour);
        if (f.ok || vapour.f < 0.0) return answer(f, out);
        liquid = sat_side(line, true, u_sat);
    }
    const Found f = scan_general(line, pieces + below, count - below, &liquid);
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
