// The volume searches of the critical region: start tables, refusals, round
// trips through the (T, v) functions, and inputs that run a search to its cap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "printed_value.h"
#include "properties/saturation_line.h"
#include "properties/subregion3.h"
#include "properties/subregion4.h"
#include "properties/volume_search.h"

namespace {

// The acceptance tolerance of a start value by pressure band [Pa].
double band_tolerance(double p) {
  const double below[] = {22120003, 22120090, 22151000, 22280000, 22303500, 22660000,
                          24009000, 25700000, 28270000, 33000000, 40000000};
  const double tol[] = {0.8, 2, 8, 30, 200, 500, 1750, 3800, 5500, 10200, 16500};
  for (int i = 0; i < 11; ++i)
    if (p < below[i]) return tol[i];
  return 60000.0;
}

TEST(StartTables, ValuesAtTheirKnots) {
  EXPECT_EQ(critical_isotherm_volume(2.212e7), 0.00317);
  EXPECT_PRINTED(critical_isotherm_volume(2.212e7 + 2722.2), "0.0029000000");
  EXPECT_PRINTED(critical_isotherm_volume(2.212e7 + 13181), "0.0027500000");
  EXPECT_PRINTED(sat_liquid_volume_spline(16535000), "0.0017411000");
  EXPECT_PRINTED(sat_liquid_volume_spline(22081000), "0.0028407000");
}

TEST(StartTables, ContinuousAcrossKnots) {
  for (double x : {1707.9, 2722.2, 4894.1, 8227.8, 13181.0, 20374.0, 28296.0, 41829.0,
                   75299927.0}) {
    const double p = 2.212e7 + x;
    EXPECT_NEAR(critical_isotherm_volume(p - 1e-6), critical_isotherm_volume(p), 1e-12) << x;
  }
  for (double p : {16600000.0, 19000000.0, 21820000.0, 22000000.0, 22081000.0})
    EXPECT_NEAR(sat_liquid_volume_spline(p - 1e-6), sat_liquid_volume_spline(p), 1e-13) << p;
}

TEST(Sub3Volume, CriticalPointIsTheCriticalVolume) {
  EXPECT_EQ(sub3_volume(647.3, 2.212e7), 0.00317);
  EXPECT_EQ(sub3_volume(647.3 + 9e-5, 2.212e7 - 2.9), 0.00317);
  EXPECT_EQ(sub3_volume(647.3 - 9e-5, 2.212e7 + 2.9), 0.00317);
}

TEST(Sub3Volume, RoundTripThroughThePressure) {
  // Above the critical temperature from the L boundary to 100 MPa, and the
  // vapour side below the critical pressure.
  // 647.3 K and just above are where the start table errs most near 100 MPa.
  for (double T : {647.3, 647.31, 647.5, 650.0, 660.0, 700.0, 750.0, 800.0, 860.0}) {
    const double pL = 2.212e7 * l_boundary_beta(T / 647.3);
    for (double p = pL + 1000.0; p <= 1e8; p *= 1.05) {
      const double v = sub3_volume(T, p);
      EXPECT_LE(std::fabs(sub3_pressure(T, v) - p), std::max(5.0, band_tolerance(p)))
          << T << " K " << p << " Pa";
    }
  }
  for (double T : {640.0, 645.0, 647.0}) {
    const double pL = 2.212e7 * l_boundary_beta(T / 647.3);
    for (double p = pL + 1000.0; p < sat_pressure(T); p += 10000.0) {
      const double v = sub3_volume(T, p);
      EXPECT_LE(std::fabs(sub3_pressure(T, v) - p), 5.0) << T << " K " << p << " Pa";
    }
  }
}

TEST(Sub3Volume, UnreachableTargetsEndAtTheCap) {
  // States of subregion 2 or the liquid: the bisection has no root to find
  // and must end with a finite volume after its cap.
  const double cases[][2] = {{700.0, 2.5e7}, {623.15, 1e8}, {800.0, 1.6e7}, {630.0, 2e7}};
  for (const auto& c : cases) {
    const double v = sub3_volume(c[0], c[1]);
    EXPECT_TRUE(std::isfinite(v) && v > 0.0) << c[0] << " K " << c[1] << " Pa";
  }
}

TEST(Sub4SatLiquidVolume, RefusedOutsideItsTemperatures) {
  EXPECT_EQ(sub4_sat_liquid_volume(623.0), -1.0);
  EXPECT_EQ(sub4_sat_liquid_volume(647.4), -1.0);
  EXPECT_EQ(sub4_sat_liquid_volume(NAN), -1.0);
  EXPECT_PRINTED(sub4_sat_liquid_volume(623.15), "0.0017409");
  EXPECT_PRINTED(sub4_sat_liquid_volume(640.0), "0.0020749");
  EXPECT_GT(sub4_sat_liquid_volume(647.3), 0.0);
}

TEST(Sub4SatLiquidVolume, MarchEndsBelowTheToleranceEverywhere) {
  // The march stops once the pressure is less than 10 Pa above saturation;
  // no temperature of the subregion may run it to its cap.
  for (double T = 623.15; T <= 647.3; T += 0.0137) {
    const double v = sub4_sat_liquid_volume(T);
    ASSERT_TRUE(std::isfinite(v) && v > 0.0) << T;
    EXPECT_LT(sub4_pressure(T, v) - sat_pressure(T), 10.0) << T;
  }
}

TEST(Sub4Volume, RefusedBelowTheSubregion) {
  EXPECT_EQ(sub4_volume(630.0, 16000000.0), -1.0);
  EXPECT_EQ(sub4_volume(630.0, NAN), -1.0);
  // No start volume outside 623.15 ... 647.3 K below the critical pressure.
  EXPECT_EQ(sub4_volume(600.0, 2.0e7), -1.0);
}

TEST(Sub4Volume, RoundTripThroughThePressure) {
  for (double T : {623.3, 625.0, 630.0, 635.0, 640.0, 645.0, 647.0, 647.25, 647.29}) {
    for (double p = sat_pressure(T) + 100.0; p <= 1e8; p = p < 1e8 ? std::min(p * 1.05, 1e8) : 2e8) {
      const double v = sub4_volume(T, p);
      const double start_tol = p < 2.212e7 ? 4.5 : band_tolerance(p);
      EXPECT_LE(std::fabs(sub4_pressure(T, v) - p), std::max(5.0, 1.05 * start_tol))
          << T << " K " << p << " Pa";
    }
  }
}

TEST(Sub4Volume, LowerTemperatureIsTheLiquidVolume) {
  EXPECT_PRINTED(sub4_volume(623.15, 1e8), "0.00131478");
}

TEST(Sub4Volume, UnreachableTargetsEndAtTheCap) {
  // Below the saturation pressure (vapour): no root between the bounds.
  const double cases[][2] = {{630.0, 1.7e7}, {647.0, 2.0e7}, {647.3, 1e8}};
  for (const auto& c : cases) {
    const double v = sub4_volume(c[0], c[1]);
    EXPECT_TRUE(std::isfinite(v) && v > 0.0) << c[0] << " K " << c[1] << " Pa";
  }
}

}  // namespace

namespace {

// Every search that runs ends at its tolerance: just above 623.15 K, where the
// root can lie below the lower bound of the subregion-4 bisection, and just
// above the L line, where the subregion-3 pressure of the boundary volume is
// kilopascals away from the line's pressure.
TEST(VolumeSearches, ResidualMeetsTheToleranceAtTheEdges) {
  for (double dT : {1e-6, 1e-4, 1e-3, 0.01, 0.02, 0.05, 0.3, 24.15}) {
    const double T = 623.15 + dT;
    for (double p = sat_pressure(T) + 10.0; p <= 1e8; p += 3e6) {
      const double v = sub4_volume(T, p);
      const double start_tol = p < 2.212e7 ? 4.5 : band_tolerance(p);
      EXPECT_LE(std::fabs(sub4_pressure(T, v) - p), std::max(5.0, start_tol))
          << T << " K " << p << " Pa";
    }
  }
  for (double T : {624.0, 635.0, 646.0, 700.0, 850.0}) {
    const double pL = 2.212e7 * l_boundary_beta(T / 647.3);
    for (double dp : {2.0, 30.0, 900.0, 20000.0}) {
      if (T < 647.3 && pL + dp > sat_pressure(T)) continue;
      const double v = sub3_volume(T, pL + dp);
      EXPECT_LE(std::fabs(sub3_pressure(T, v) - (pL + dp)), 5.0) << T << " K pL + " << dp;
    }
  }
}

}  // namespace
