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
struct Point {
    double u;
    SlopedState st;
    double f, df;
};

Point point_of(const Line& line, double u, const SlopedState& st) {
    const bool h = line.target == target_h;
    const double value = h ? st.h : st.s;
    const double slope = line.isobar ? (h ? st.h_T : st.s_T) : (h ? st.h_p : st.s_p);
    return {u, st, value - line.goal, slope};
}

Point evaluate(const Line& line, const Piece& piece, double u, double v_guess) {
    const double T = line.isobar ? u : line.fixed;
    const double p = line.isobar ? line.fixed : u;
    return point_of(line, u, state_in(piece.sub, piece.liquid, T, p, v_guess, true));
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

// Newton's method inside the bracket [lo, hi] of a monotone piece, whose
// ends have values on either side of the goal; false when it closes on a
// jump instead of the goal.
bool solve_in(const Line& line, const Piece& piece, Point lo, Point hi, Point* out) {
    const double tol = tolerance(line);
    if (std::fabs(lo.f) <= tol || std::fabs(hi.f) <= tol) {
        *out = std::fabs(lo.f) <= tol ? lo : hi;
        return true;
    }
    // Start from the end nearer the goal, by a Newton step from it.
    const Point& near = std::fabs(lo.f) < std::fabs(hi.f) ? lo : hi;
    Point cur = near;
    double u = near.u - near.f / near.df;
    for (int i = 0; i < solve_cap; ++i) {
        const double a = std::min(lo.u, hi.u), b = std::max(lo.u, hi.u);
        if (!(u > a && u < b)) u = 0.5 * (a + b);
        if (u <= a || u >= b) {  // no room left
            *out = std::fabs(lo.f) < std::fabs(hi.f) ? lo : hi;
            return std::fabs(out->f) <= tol * (target_promise / target_done);
        }
        const Point p = evaluate(line, piece, u, volume_guess(line, cur, u));
        if (std::fabs(p.f) <= tol) {
            *out = p;
            return true;
        }
        ((p.f < 0.0) == (lo.f < 0.0) ? lo : hi) = p;
        cur = p;
        u = p.u - p.f / p.df;
    }
    *out = cur;
    return std::fabs(cur.f) <= tol * (target_promise / target_done);
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

bool between(double goal_f_a, double goal_f_b) {
    return (goal_f_a <= 0.0 && goal_f_b >= 0.0) || (goal_f_a >= 0.0 && goal_f_b <= 0.0);
}

// Solves in one piece whose end points are known; false when the goal is
// not among its values. A piece whose slope changes sign is split at its
// extreme and its two parts are tried in order.
bool solve_piece(const Line& line, const Piece& piece, const Point& a, const Point& b, Point* out) {
    if ((a.df < 0.0) != (b.df < 0.0)) {
        const Point m = extreme_in(line, piece, a, b);
        if (between(a.f, m.f) && solve_in(line, piece, a, m, out)) return true;
        return between(m.f, b.f) && solve_in(line, piece, m, b, out);
    }
    return between(a.f, b.f) && solve_in(line, piece, a, b, out);
}

// The pieces of the line between lo and hi, cut at the given breaks, each
// with the subregion and branch of its middle.
int pieces_of(const Line& line, double lo, double hi, double* breaks, int n, Piece* out) {
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
        const int sub = subregion_of(T, p);
        const bool liquid = on_liquid_branch(T, p);
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

struct Found {
    bool ok;
    ConvergedState state;
};

Found single(const Point& p) {
    return {true, single_phase_state(p.st)};
}

// Searches the pieces in order, the ends of each evaluated once; the known
// saturated sides stand in for the ends at the saturation line.
Found search(const Line& line, const Piece* pieces, int n, const Point* sat, double u_sat) {
    for (int i = 0; i < n; ++i) {
        const Piece& pc = pieces[i];
        const bool a_sat = sat && pc.a == u_sat;
        const bool b_sat = sat && pc.b == u_sat;
        const Point a = a_sat ? sat[pc.liquid ? 0 : 1] : evaluate(line, pc, pc.a, 0.0);
        const Point b = b_sat ? sat[pc.liquid ? 0 : 1] : evaluate(line, pc, pc.b, 0.0);
        Point found;
        if (solve_piece(line, pc, a, b, &found)) return single(found);
    }
    return {false, {}};
}

int invert(Line line, double a, double b, ConvergedState* out) {
    if (!std::isfinite(a) || !std::isfinite(b) || !out) return converged_invalid;
    const double fixed = a;
    if (line.isobar ? !(fixed >= converged_p_min && fixed <= converged_p_max)
                    : !(fixed >= converged_T_min && fixed <= converged_T_max))
        return converged_out_of_range;
    line.fixed = fixed;
    line.goal = b;
    const double lo = line.isobar ? converged_T_min : converged_p_min;
    const double hi = line.isobar ? converged_T_max : converged_p_max;
    double breaks[max_breaks + 2];
    int n = 0;
    // The saturation line and its two sides, where the line meets it.
    bool wet = false;
    double u_sat = -1.0;
    Point sat[2];
    if (line.isobar ? fixed < critical_pressure : fixed < critical_temperature) {
        const double Ts = line.isobar ? saturation_temperature(fixed) : fixed;
        const double ps = line.isobar ? fixed : sat_pressure(fixed);
        u_sat = line.isobar ? Ts : ps;
        if (u_sat > lo && u_sat < hi) {
            SlopedState liquid, vapour;
            saturated_sides(Ts, ps, &liquid, &vapour);
            sat[0] = point_of(line, u_sat, liquid);
            sat[1] = point_of(line, u_sat, vapour);
            breaks[n++] = u_sat;
            wet = true;
        }
    }
    if (line.isobar) {
        const double TL = l_line_temperature(fixed);
        const double cuts[] = {sub12_top_temperature, critical_temperature - near_critical_band,
                               critical_temperature, TL, band_top_temperature - band_top_margin};
        for (double c : cuts)
            if (c > lo && c < hi) breaks[n++] = c;
    } else if (fixed > sub12_top_temperature && fixed <= band_top_temperature - band_top_margin) {
        const double pL = critical_pressure * l_boundary_beta(fixed / critical_temperature);
        if (pL > lo && pL < hi) breaks[n++] = pL;
    }
    Piece pieces[max_breaks + 1];
    const int count = pieces_of(line, lo, hi, breaks, n, pieces);
    // Between the two sides the state is a mixture. On an isobar no other
    // state has its h or s; on an isotherm a compressed liquid can have the
    // h of a wet state (below about 285 degC), and the liquid is taken.
    const bool in_dome = wet && between(sat[0].f, sat[1].f) && sat[0].f != sat[1].f;
    if (in_dome && line.isobar) {
        *out = mixture(sat[0].st, sat[1].st, sat[0].f / (sat[0].f - sat[1].f));
        return converged_ok;
    }
    const Found f = search(line, pieces, count, wet ? sat : nullptr, u_sat);
    if (f.ok)
        *out = f.state;
    else if (in_dome)
        *out = mixture(sat[0].st, sat[1].st, sat[0].f / (sat[0].f - sat[1].f));
    else
        return converged_out_of_range;
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
