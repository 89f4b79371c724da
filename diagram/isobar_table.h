// The sixteen isobars of the chart, 0.02 to 1000 bar: the table the isobar tracer walks
// and by which the isenthalps index their crossings.
#pragma once

#include "solvers/steam_state.h"

constexpr int isobar_count = 16;
constexpr int critical_isobar = 13;  // the 221.2 bar entry

// Pressures in bar, single precision on purpose: an isobar's pressure in Pa is the
// entry widened to double times 100000, rounding included (0.02 -> 1999.99995529... Pa).
inline constexpr float isobar_pressures[isobar_count] = {
    0.02f, 0.05f, 0.1f,  0.2f,   0.5f,   1.0f,   2.0f,   5.0f,
    10.0f, 20.0f, 50.0f, 100.0f, 200.0f, 221.2f, 500.0f, 1000.0f};

// The pressure of isobar i in Pa.
inline double isobar_pa(int i) {
    return static_cast<double>(isobar_pressures[i]) * pascals_per_bar;
}
