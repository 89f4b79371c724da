// The four bisections: (t, s) on pressure, (p, s) on temperature, and (t, h),
// (p, h) on entropy with a two-phase test at every probe.
#include "solvers/bisection.h"

#include "properties/properties.h"
#include "solvers/steam_state.h"
#include "solvers/two_phase.h"

namespace {

// The brackets are the program's range.
const double bracket_P_lo = valid_P_min;
const double bracket_P_hi = valid_P_max;
const double bracket_T_lo = valid_T_min;
const double bracket_T_hi = valid_T_max;
const double bracket_s_hi = valid_s_max;

// Where a probe's value lies against the tolerance band around the target:
// -1 below, 0 inside (both ends included), +1 above. A value that is not a
// number counts as above, so it never ends a search as a hit.
int against_band(double value, double target, double tolerance) {
    if (value >= target - tolerance && value <= target + tolerance) return 0;
    return value < target - tolerance ? -1 : 1;
}

// The last state an outer bisection completed, so that a search ending on a
// probe beyond the inner reach still writes one consistent state.
struct Probe {
    double s, h, tp, v, x;  // tp: pressure [bar] or temperature [degC], the unknown
};

}  // namespace

int try_state_from_t_s(double t, double s, double* h, double* p, double* v, double* x) {
    const double T = t + celsius_zero;
    double lo = bracket_P_lo, hi = bracket_P_hi;
    double P = lo;
    int side = 1;
    // The probes need only the entropy; h and v are those of the last probe.
    for (int i = 0; i < pressure_halvings_cap; ++i) {
        P = (hi + lo) * 0.5;
        side = against_band(entropy_from_TP(T, P), s, entropy_tolerance);
        if (side == 0) break;
        // The entropy falls as the pressure rises.
        if (side < 0)
            hi = P;
        else
            lo = P;
    }
    props_from_TP(T, P, v, h, nullptr);
    *p = P / pascals_per_bar;
    *x = phase_flag(T, P);
    return side == 0 ? 1 : 0;
}

int try_state_from_p_s(double p, double s, double* t, double* h, double* v, double* x) {
    const double P = p * pascals_per_bar;
    double lo = bracket_T_lo, hi = bracket_T_hi;
    double T = lo;
    int side = 1;
    // The probes need only the entropy; h and v are those of the last probe.
    for (int i = 0; i < temperature_halvings_cap; ++i) {
        T = (hi + lo) * 0.5;
        side = against_band(entropy_from_TP(T, P), s, entropy_tolerance);
        if (side == 0) break;
        // The entropy rises with the temperature.
        if (side < 0)
            lo = T;
        else
            hi = T;
    }
    props_from_TP(T, P, v, h, nullptr);
    *t = T - celsius_zero;
    *x = phase_flag(T, P);
    return side == 0 ? 1 : 0;
}

namespace {

// What an entropy probe of the (t, h) or (p, h) bisection found: a state, that
// the inner bisection cannot reach that entropy (on which side), or that it
// missed it inside a jump of the entropy and left the nearest real state.
enum ProbeOutcome { below_reach = -1, reached = 0, above_reach = 1, missed = 2 };

// The fixed coordinate of an outer bisection (t in degC or p in bar) and the
// entropy up to or down from which its inner bisection reaches.
struct OuterSearch {
    double fixed;
    double s_reach;
};

typedef ProbeOutcome (*EntropyProbe)(const OuterSearch& search, double s, Probe* probe);

// Halves the entropy interval [lo, hi] until a probe's enthalpy meets h. A
// probe beyond the inner reach moves the interval back towards the reachable
// states without becoming the last state. Returns 1 on a hit, 0 at the cap.
int bisect_entropy_on_h(EntropyProbe probe_at, const OuterSearch& search, double h, double lo,
                        double hi, Probe* last) {
    int side = 1;
    for (int i = 0; i < entropy_halvings_cap; ++i) {
        const double sm = (hi + lo) * 0.5;
        Probe probe;
        probe.s = sm;
        const ProbeOutcome outcome = probe_at(search, sm, &probe);
        if (outcome == missed) {
            // Not a state at sm: the real state the inner search ended on
            // shows the way, towards its own entropy when its enthalpy fits.
            side = against_band(probe.h, h, enthalpy_tolerance);
            if (side == 0) side = probe.s < sm ? 1 : -1;
        } else if (outcome != reached) {
            side = outcome;
        } else {
            *last = probe;
            side = against_band(probe.h, h, enthalpy_tolerance);
            if (side == 0) break;
        }
        if (side < 0)
            lo = sm;
        else
            hi = sm;
    }
    return side == 0 ? 1 : 0;
}

// The inner (t, s) bisection reaches only up to the entropy at 0.02 bar,
// which lies below the bracket's 10000 J/(kg K) for temperatures below about
// 295 degC. A probe beyond that reach is too high: every reachable state lies
// at a lower entropy.
ProbeOutcome probe_t_s(const OuterSearch& search, double s, Probe* probe) {
    const double t = search.fixed;
    if (is_two_phase_t_s(t, s)) {
        wet_state_from_t_s(t, s, &probe->h, &probe->tp, &probe->v, &probe->x);
        return reached;
    }
    if (s > search.s_reach + entropy_tolerance) return above_reach;
    if (try_state_from_t_s(t, s, &probe->h, &probe->tp, &probe->v, &probe->x)) return reached;
    probe->s = entropy_from_TP(t + celsius_zero, probe->tp * pascals_per_bar);
    return missed;
}

// The inner (p, s) bisection reaches down only to the entropy at 10 degC,
// while the bracket starts at 0: a probe below that reach is too low.
ProbeOutcome probe_p_s(const OuterSearch& search, double s, Probe* probe) {
    const double p = search.fixed;
    if (is_two_phase_p_s(p, s)) {
        wet_state_from_p_s(p, s, &probe->tp, &probe->h, &probe->v, &probe->x);
        return reached;
    }
    if (s < search.s_reach - entropy_tolerance) return below_reach;
    if (try_state_from_p_s(p, s, &probe->tp, &probe->h, &probe->v, &probe->x)) return reached;
    probe->s = entropy_from_TP(probe->tp + celsius_zero, p * pascals_per_bar);
    return missed;
}

}  // namespace

// The (t, h) bisection: entropy from the 1000 bar isobar up to the diagram's
// right edge. Until a probe is reached, the last state is the 1000 bar one.
int try_state_from_t_h(double t, double h, double* p, double* s, double* v, double* x) {
    const double T = t + celsius_zero;
    Probe last;
    props_from_TP(T, bracket_P_hi, &last.v, &last.h, &last.s);
    last.tp = valid_p_max;
    last.x = phase_flag(T, bracket_P_hi);
    const OuterSearch search = {t, entropy_from_TP(T, bracket_P_lo)};
    const int hit = bisect_entropy_on_h(probe_t_s, search, h, last.s, bracket_s_hi, &last);
    *p = last.tp;
    *s = last.s;
    *v = last.v;
    *x = last.x;
    return hit;
}

// The (p, h) bisection: entropy from 0 up to the 700 degC isotherm. Until a
// probe is reached, the last state is the 10 degC one.
int try_state_from_p_h(double p, double h, double* t, double* s, double* v, double* x) {
    const double P = p * pascals_per_bar;
    Probe last;
    props_from_TP(bracket_T_lo, P, &last.v, &last.h, &last.s);
    last.tp = valid_t_min;
    last.x = phase_flag(bracket_T_lo, P);
    const OuterSearch search = {p, last.s};
    const int hit =
        bisect_entropy_on_h(probe_p_s, search, h, 0.0, entropy_from_TP(bracket_T_hi, P), &last);
    *t = last.tp;
    *s = last.s;
    *v = last.v;
    *x = last.x;
    return hit;
}

void state_from_t_s(double t, double s, double* h, double* p, double* v, double* x) {
    try_state_from_t_s(t, s, h, p, v, x);
}

void state_from_p_s(double p, double s, double* t, double* h, double* v, double* x) {
    try_state_from_p_s(p, s, t, h, v, x);
}

void state_from_t_h(double t, double h, double* p, double* s, double* v, double* x) {
    try_state_from_t_h(t, h, p, s, v, x);
}

void state_from_p_h(double p, double h, double* t, double* s, double* v, double* x) {
    try_state_from_p_h(p, h, t, s, v, x);
}
