// The state record every solver fills, and the single-phase evaluation from
// absolute temperature and pressure that all other solvers stand on.
//
// Units across the solver functions: t in degC, p in bar, h in J/kg,
// s in J/(kg K), v in m3/kg, x in kg/kg. The property library below works in
// K and Pa; the conversion happens here, at this boundary.
#pragma once

#include "properties/saturation_line.h"

// P [Pa] = p [bar] * 100000; T [K] = t [degC] + celsius_zero.
constexpr double pascals_per_bar = 100000.0;

// The program's range, which the valid space and every solver's bracket
// span: 10..700 degC, 0.02..1000 bar (0.02 held in single precision and
// widened, so that a typed 0.02 passes), entropy up to the diagram's right
// edge. The same limits in K and Pa for the property library.
constexpr double valid_t_min = 10.0;
constexpr double valid_t_max = 700.0;
constexpr double valid_p_min = 0.019999999552965164;
constexpr double valid_p_max = 1000.0;
constexpr double valid_s_max = 10000.0;
constexpr double valid_T_min = valid_t_min + celsius_zero;     // 283.15 K
constexpr double valid_T_max = valid_t_max + celsius_zero;     // 973.15 K
constexpr double valid_P_min = valid_p_min * pascals_per_bar;  // 1999.9999552965164 Pa
constexpr double valid_P_max = valid_p_max * pascals_per_bar;  // 1e8 Pa

// Within this distance [K] of the critical temperature the saturated liquid
// and the saturated vapour are taken as one state, the critical point.
constexpr double critical_point_band = 0.0001;

// One state of water. x is the dryness fraction of a two-phase state, and a
// phase flag of a single-phase state: 0.0 above the critical pressure and
// below the critical temperature, 1.0 everywhere else.
struct SteamState {
    double t;
    double p;
    double h;
    double s;
    double v;
    double x;
};

// Single-phase v [m3/kg], h [J/kg], s [J/(kg K)] at T [K], P [Pa], with the
// choice of subregion 1, 2, 3 or 4. Checks nothing: callers keep to
// 10..700 degC and 0.02..1000 bar. A null pointer skips that property and the
// work only it needs: the bisections on entropy ask for s alone, the isobar
// trace for h and s. What is written is the same whatever else is asked.
void props_from_TP(double T, double P, double* v, double* h, double* s);

// The entropy [J/(kg K)] of props_from_TP alone.
double entropy_from_TP(double T, double P);

// The (t, p) pair: writes h, s, v and the phase flag x.
void state_from_t_p(double t, double p, double* h, double* s, double* v, double* x);

// Saturated liquid (v', h', s') and saturated vapour (v'', h'', s'') at a
// point of the saturation line: Ps = sat_pressure(Ts) or Ts = sat_temperature(Ps),
// with Ts at most 647.3 K. Both sides coincide at the critical point.
void sat_liquid_props(double Ts, double Ps, double* v, double* h, double* s);
void sat_vapour_props(double Ts, double Ps, double* v, double* h, double* s);
