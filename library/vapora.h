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

#if defined(_WIN32) && defined(VAPORA_BUILDING_DLL)
#define VAPORA_API __declspec(dllexport)
#elif defined(__GNUC__)
#define VAPORA_API __attribute__((visibility("default")))
#else
#define VAPORA_API
#endif

/* The calling convention: stdcall on 32-bit Windows, so that the DLL's exports
 * can be declared from VBA; the platform's default everywhere else. */
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
    VAPORA_OK = 0,           /* *out holds the state */
    VAPORA_OUT_OF_RANGE = 1, /* finite arguments outside the call's range */
    VAPORA_INVALID = 2       /* NaN, an infinity, a null pointer or an unknown pair */
} vapora_status;

/* Flags. VAPORA_CONVERGED: the library's own solvers, converged to double
 * precision. VAPORA_AS_WINDOW: the window's solvers and range guards, bit for
 * bit what `vapora-calc state` prints, converted to SI. */
enum { VAPORA_CONVERGED = 0, VAPORA_AS_WINDOW = 1 };

/* One state from two given values a and b, in the order of the pair's name. */
VAPORA_API vapora_status VAPORA_CALL vapora_solve(vapora_pair pair, double a, double b, int flags,
                                      vapora_state *out);

/* n states from a[i], b[i]: writes out[i] and status[i] for every i and
 * returns how many are VAPORA_OK. */
VAPORA_API size_t VAPORA_CALL vapora_solve_n(vapora_pair pair, size_t n, const double *a, const double *b,
                                 int flags, vapora_state *out, vapora_status *status);

/* The turbine expansion: the inlet from (p1, T1), the isentropic end at
 * (p2, s1) and the outlet at (p2, h2), h2 = h1 - efficiency (h1 - h2s). */
VAPORA_API vapora_status VAPORA_CALL vapora_turbine(double p1, double T1, double p2, double efficiency,
                                        int flags, vapora_state *inlet,
                                        vapora_state *isentropic, vapora_state *outlet);

/* The saturation line: pressure from temperature and temperature from pressure. */
VAPORA_API vapora_status VAPORA_CALL vapora_sat_pressure(double T, double *p);
VAPORA_API vapora_status VAPORA_CALL vapora_sat_temperature(double p, double *T);

/* A short English text for a status; "unknown status" for any other value. */
VAPORA_API const char *VAPORA_CALL vapora_status_text(vapora_status status);

/* The library's version, "MAJOR.MINOR". */
VAPORA_API const char *VAPORA_CALL vapora_version(void);

/* The batch's name of a pair ("t_p" ... "p_x"); NULL for any other value. */
VAPORA_API const char *VAPORA_CALL vapora_pair_name(vapora_pair pair);

/* The SI unit of a pair's first (which = 0) or second (which = 1) value:
 * "K", "Pa", "J/kg", "J/(kg K)" or "1" (x); NULL for anything else. */
VAPORA_API const char *VAPORA_CALL vapora_pair_unit(vapora_pair pair, int which);

#ifdef __cplusplus
}
#endif

#endif /* VAPORA_H */
