/* vapora.h: the IFC-67 water and steam library (the 1967 IFC Formulation for
 * Industrial Use), the one C interface of libvapora. C99 and C++.
 *
 * Units, in and out, without exception: T [K], p [Pa], h [J/kg], s [J/(kg K)],
 * v [m3/kg], x [kg/kg]; an efficiency is a fraction (0.85).
 *
 * Every call is a pure function of its arguments: the library keeps no mutable
 * state, so calls from many threads at once give the answers one thread gets.
 * No call crashes, hangs or writes a NaN into a state: NaN, infinities and
 * arguments outside a call's range give a status other than VAPORA_OK.
 */
#ifndef VAPORA_H
#define VAPORA_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* VAPORA_API exports a call from the library; VAPORA_CALL is its calling
 * convention: stdcall on 32-bit Windows, where a spreadsheet's DLL calls need
 * it, the platform's own everywhere else. */
#if defined(_WIN32)
#if defined(VAPORA_BUILDING_DLL)
#define VAPORA_API __declspec(dllexport)
#else
#define VAPORA_API
#endif
#elif defined(__GNUC__)
#define VAPORA_API __attribute__((visibility("default")))
#else
#define VAPORA_API
#endif
#if defined(_WIN32) && !defined(_WIN64)
#define VAPORA_CALL __stdcall
#else
#define VAPORA_CALL
#endif

/* One state of water. x is the dryness fraction of a two-phase state and the
 * window's phase flag of a single-phase state: 0 above the critical pressure
 * and below the critical temperature, 1 everywhere else. */
typedef struct vapora_state {
    double T, p, h, s, v, x;
} vapora_state;

/* The two given values of a state, named in their order: VAPORA_TH takes T
 * first and h second. The batch names them t_p, t_h, p_h, t_s, p_s, t_x, p_x. */
typedef enum vapora_pair {
    VAPORA_TP,
    VAPORA_TH,
    VAPORA_PH,
    VAPORA_TS,
    VAPORA_PS,
    VAPORA_TX,
    VAPORA_PX
} vapora_pair;

enum { VAPORA_PAIR_COUNT = 7 };

typedef enum vapora_status {
    VAPORA_OK = 0,           /* the state is written */
    VAPORA_OUT_OF_RANGE = 1, /* finite arguments outside the call's range; nothing written */
    VAPORA_INVALID = 2       /* NaN, an infinity, a null pointer, an unknown pair or flag;
                                nothing written */
} vapora_status;

/* Flags: which solvers answer.
 *
 * VAPORA_CONVERGED: the library's own solvers, on the formulation's equations
 * to double precision. The state returned reproduces both given values, T, p
 * and x within 1e-12 relative, h and s within 1e-9 relative (below
 * |h| = 1 kJ/kg within 1e-6 J/kg, below |s| = 10 J/(kg K) within 1e-8 J/(kg K),
 * where the formulation's own sums round to about that). The range, for every
 * pair: single-phase states at 273.15 K <= T <= 1073.15 K and
 * 611.2 Pa <= p <= 1e8 Pa, each in the subregion the window's (T, p) gives it
 * (subregion 2 from 857.15 K up), and wet states on the saturation line from
 * 273.15 K (611.2 Pa) to the critical point (647.3 K, 2.212e7 Pa).
 *   VAPORA_TP  every (T, p) of the range; a p on the saturation line (within
 *              1e-5 Pa) is the liquid, as in the window. In subregions 3 and 4
 *              below 647.3 K the liquid is the smallest volume at that p and
 *              the vapour the largest, above 647.3 K the stable volume.
 *   VAPORA_PH, VAPORA_PS  p in the range; every h or s a state of the range
 *              has at that p, wet between the saturated liquid and vapour.
 *              Along an isobar h and s rise with T, but the subregions do not
 *              join exactly: at 623.15 K from 165 bar, on the boundary between
 *              subregions 2 and 3, and at 857.15 K from 965 bar h jumps by up
 *              to 729 J/kg and s by up to 0.91 J/(kg K), up or down (near
 *              the critical point, by less, at 647.3 K and at the critical
 *              volume, where subregion 3 changes its forms). A value
 *              two states have gives the colder one, a value in a gap between
 *              them is VAPORA_OUT_OF_RANGE.
 *   VAPORA_TH, VAPORA_TS  T in the range; every h or s a state of the range
 *              has at that T. Along an isotherm neither need be monotonic (the
 *              enthalpy of hot compressed water has a minimum below 1000 bar,
 *              the entropy of water below about 4 degC a maximum): where two
 *              single-phase states have the value, the one at the lower
 *              pressure is returned; where a compressed liquid and a wet state
 *              have the same h (below about 285 degC), the liquid; a value in
 *              a gap between subregions is VAPORA_OUT_OF_RANGE.
 *   VAPORA_TX  273.15 K <= T <= 647.3 K, VAPORA_PX 611.2 Pa <= p <= 2.212e7 Pa;
 *              0 <= x <= 1: the wet state.
 *
 * VAPORA_AS_WINDOW: the window's range guards and solvers, bit for bit what
 * `vapora-calc state` prints, converted to SI (T = t + 273.15, p = p_bar
 * 100000); the given values go in as the window takes them (t = T - 273.15,
 * p_bar = p / 100000). Its answers carry the window's tolerances: its
 * bisections stop with h within 250 J/kg of the given value, and where h or s
 * hardly changes with p, the pressure found can be several times the true
 * one; where a pair names two states, the one the window's bisection meets. The
 * range is the window's valid space: 283.15 K <= T <= 973.15 K (10 to
 * 700 degC), 1999.9999552965164 Pa <= p <= 1e8 Pa (0.02 bar held in single
 * precision, to 1000 bar), and
 *   VAPORA_TP  that box;
 *   VAPORA_TH  h between the 1000 bar and the 0.02 bar isobars, cut at the
 *              chart's edge s = 10000 J/(kg K) where that comes first;
 *   VAPORA_PH  h between the 283.15 K and 973.15 K isotherms, cut at
 *              s = 10000 J/(kg K) in the same way;
 *   VAPORA_TS  s between the 1000 bar and the 0.02 bar isobars;
 *   VAPORA_PS  0 <= s <= 10000 J/(kg K), inside the saturation dome or between
 *              the 283.15 K and 973.15 K isotherms;
 *   VAPORA_TX  283.15 K <= T <= 647.3 K, 0 <= x <= 1;
 *   VAPORA_PX  p in the box, 0 <= x <= 1 (from 2.21e7 Pa up both saturated
 *              sides are one state at 647.3 K, whatever x).
 *
 * Any other flags value is VAPORA_INVALID. */
enum { VAPORA_CONVERGED = 0, VAPORA_AS_WINDOW = 1 };

/* One state from two given values a and b, in the order of the pair's name,
 * in the range the flag gives that pair (above). *out is written only on
 * VAPORA_OK. */
VAPORA_API vapora_status VAPORA_CALL vapora_solve(vapora_pair pair, double a, double b, int flags,
                                                  vapora_state* out);

/* n states from a[i], b[i], each as vapora_solve answers it: writes status[i]
 * for every i (status may be NULL), out[i] where it is VAPORA_OK (the others
 * are left as they were), and returns how many are VAPORA_OK. A null a, b or
 * out makes every status VAPORA_INVALID. */
VAPORA_API size_t VAPORA_CALL vapora_solve_n(vapora_pair pair, size_t n, const double* a,
                                             const double* b, int flags, vapora_state* out,
                                             vapora_status* status);

/* The turbine expansion: the inlet from (p1, T1), the isentropic end at
 * (p2, s1) and the outlet at (p2, h2), h2 = h1 - efficiency (h1 - h2s),
 * 0 <= efficiency <= 1. Each step covers what its pair covers under the flag:
 * the inlet VAPORA_TP, the isentropic end VAPORA_PS (for VAPORA_AS_WINDOW
 * without the chart's entropy edge), the outlet VAPORA_PH (the window takes
 * the outlet's pressure again at the isentropic end's T and s). All three
 * states are written on VAPORA_OK, none otherwise. */
VAPORA_API vapora_status VAPORA_CALL vapora_turbine(double p1, double T1, double p2,
                                                    double efficiency, int flags,
                                                    vapora_state* inlet, vapora_state* isentropic,
                                                    vapora_state* outlet);

/* The saturation line, converged to the last digits: the pressure for
 * 273.15 K <= T <= 647.3 K, and the temperature, its inverse, for
 * 611.2 Pa <= p <= 2.212e7 Pa. */
VAPORA_API vapora_status VAPORA_CALL vapora_sat_pressure(double T, double* p);
VAPORA_API vapora_status VAPORA_CALL vapora_sat_temperature(double p, double* T);

/* A short English text for a status; "unknown status" for any other value. */
VAPORA_API const char* VAPORA_CALL vapora_status_text(vapora_status status);

/* The library's version, "MAJOR.MINOR". */
VAPORA_API const char* VAPORA_CALL vapora_version(void);

/* The batch's name of a pair ("t_p" ... "p_x"); NULL for any other value. */
VAPORA_API const char* VAPORA_CALL vapora_pair_name(vapora_pair pair);

/* The SI unit of a pair's first (which = 0) or second (which = 1) value:
 * "K", "Pa", "J/kg", "J/(kg K)" or "1" (x); NULL for anything else. */
VAPORA_API const char* VAPORA_CALL vapora_pair_unit(vapora_pair pair, int which);

#ifdef __cplusplus
}
#endif

#endif /* VAPORA_H */
