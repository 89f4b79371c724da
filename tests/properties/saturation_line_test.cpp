// The saturation line: reference values, the ends of the line and the round
// trip between saturation pressure and temperature.
#include <gtest/gtest.h>

#include <cmath>

#include "printed_value.h"
#include "properties/saturation_line.h"

namespace {

TEST(SaturationLine, CriticalPointIsTheEndOfTheLine) {
  EXPECT_EQ(sat_pressure(647.3), 2.212e7);
  EXPECT_EQ(sat_pressure(647.31), -1.0);
  EXPECT_EQ(sat_pressure(NAN), -1.0);
  EXPECT_EQ(sat_temperature(2.21e7), 647.3);
  EXPECT_EQ(sat_temperature(3.0e7), 647.3);
  EXPECT_EQ(sat_temperature(NAN), 647.3);
}

TEST(SaturationLine, PressureReferenceValues) {
  struct Case { double T; const char* p; };
  const Case cases[] = {{623.15, "16535124"}, {273.15, "610.80"}};
  for (const Case& c : cases) EXPECT_PRINTED(sat_pressure(c.T), c.p);
}

TEST(SaturationLine, TemperatureWithinTheBandTolerance) {
  struct Case { double p; const char* T; double tol; };
  const Case cases[] = {{101325, "373.150", 1.0},
                        {1e6, "453.035", 10.0},
                        {1e7, "584.111", 10.0},
                        {2.2e7, "646.842", 10.0},
                        {1000, "280.1334", 0.1}};
  for (const Case& c : cases) {
    const double T = sat_temperature(c.p);
    EXPECT_PRINTED(T, c.T);
    EXPECT_LT(std::fabs(c.p - sat_pressure(T)), c.tol) << c.p;
  }
}

TEST(SaturationLine, StartValueAlreadyCloseIsReturnedUnchanged) {
  // At 1000 Pa the start formula lies within 0.1 Pa: no step is taken.
  const double P = 1000 * 0.0001 / 9.80665;
  const double T0 = 194.71 * std::pow(P - 0.000275, 0.13681683) - 96.6 + 273.15;
  EXPECT_EQ(sat_temperature(1000), T0);
}

double band_tolerance(double p) {
  return p >= 490332.0 ? 10.0 : p >= 11767.98 ? 1.0 : 0.1;
}

TEST(SaturationLine, RoundTripAlongTheWholeLine) {
  // From just above the triple point to 0.1 K below the critical point.
  for (double T = 273.16; T < 647.2; T += 0.37) {
    const double p = sat_pressure(T);
    const double back = sat_temperature(p);
    EXPECT_LT(std::fabs(p - sat_pressure(back)), band_tolerance(p)) << T;
    // The residual tolerance allows a temperature error of tol / (dp/dT).
    const double slope = (sat_pressure(T + 0.01) - sat_pressure(T - 0.01)) / 0.02;
    EXPECT_NEAR(back, T, 1.01 * band_tolerance(p) / slope) << T;
  }
}

TEST(SaturationLine, RoundTripNearTheCriticalPoint) {
  // The band 22,088,339 Pa <= p < 2.21e7 Pa, where the start formula lies
  // above 647.3 K, must still end below the critical temperature.
  for (double p = 2.2e7; p < 2.21e7; p += 1000.0) {
    const double T = sat_temperature(p);
    EXPECT_LT(T, 647.3) << p;
    EXPECT_LT(std::fabs(p - sat_pressure(T)), 10.0) << p;
  }
  const double highest = std::nextafter(2.21e7, 0.0);
  EXPECT_LT(std::fabs(highest - sat_pressure(sat_temperature(highest))), 10.0);
}

TEST(SaturationLine, RefinementStartedAboveTheLineEnds) {
  // A start beyond 647.3 K, where the line has no value, still converges.
  const double T = sat_temperature_refine(700.0, 2.0e7, 10.0);
  EXPECT_LT(std::fabs(2.0e7 - sat_pressure(T)), 10.0);
  // A pressure above the line's end stops at the end instead of marching on.
  EXPECT_EQ(sat_temperature_refine(640.0, 5.0e7, 1.0), 647.3);
  // A root in the last step below 647.3 K is still found from below.
  const double p_top = sat_pressure(647.29);
  const double T_top = sat_temperature_refine(647.26, p_top, 0.5);
  EXPECT_LT(std::fabs(p_top - sat_pressure(T_top)), 0.5);
  EXPECT_EQ(sat_temperature_refine(NAN, 1e5, 1.0), -1.0);
  EXPECT_EQ(sat_temperature_refine(373.0, 0.0, 1.0), -1.0);
  // No tolerance can be met: the bisection ends at its cap near the root.
  EXPECT_NEAR(sat_temperature_refine(370.0, 101325.0, 0.0), 373.15, 1e-3);
}

TEST(SaturationLine, RefusesPressuresBelowTheStartFormula) {
  EXPECT_EQ(sat_temperature(26.9), -1.0);
  EXPECT_EQ(sat_temperature(0.0), -1.0);
  EXPECT_EQ(sat_temperature(-5.0), -1.0);
  EXPECT_GT(sat_temperature(30.0), 0.0);
}

TEST(SaturationLine, LBoundary) {
  EXPECT_PRINTED(l_boundary_beta(623.15 / 647.3), "0.74752");
  // 4.5208 (100 MPa): a printed "4.520" is this value cut, not rounded.
  EXPECT_PRINTED(l_boundary_beta(863.15 / 647.3), "4.5208");
  EXPECT_PRINTED(2.212e7 * l_boundary_beta(863.15 / 647.3), "1.000000e8");
  EXPECT_PRINTED(2.212e7 * l_boundary_beta(623.15 / 647.3), "16.535e6");
}

}  // namespace
