// The critical region and the liquid near the critical point, as functions
// of (T, v): reference values and the joins between their special forms.
#include <gtest/gtest.h>

#include <cmath>

#include "printed_value.h"
#include "properties/saturation_line.h"
#include "properties/subregion1.h"
#include "properties/subregion2.h"
#include "properties/subregion3.h"
#include "properties/subregion4.h"
#include "properties/volume_search.h"

namespace {

TEST(Subregion3, ReferenceValues) {
  struct Row { double T, v; const char *p, *h, *s; };
  const Row rows[] = {
      {647.3, 0.00317, "22120000", "2107373", "4442.86"},
      {650.0, 0.0025, "23146529", "1988835", "4255.72"},
      {623.15, 0.0088, "16534623", "2567761", "5217.76"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.T << " K, " << r.v << " m3/kg");
    EXPECT_PRINTED(sub3_pressure(r.T, r.v), r.p);
    EXPECT_PRINTED(sub3_enthalpy(r.T, r.v), r.h);
    EXPECT_PRINTED(sub3_entropy(r.T, r.v), r.s);
  }
}

TEST(Subregion3, MeetsSubregion2AtTheLowerCorner) {
  EXPECT_NEAR(sub3_enthalpy(623.15, 0.0088), sub2_enthalpy(623.15, 16535000), 100.0);
  EXPECT_NEAR(sub3_entropy(623.15, 0.0088), sub2_entropy(623.15, 16535000), 0.1);
}

// Value just inside minus value just outside a band edge at T = edge.
double jump_in_T(double (*f)(double, double), double edge, double v) {
  return f(edge + 1e-9, v) - f(edge - 1e-9, v);
}

TEST(Subregion3, CriticalTemperatureFormsJoinTheGeneralOnes) {
  // The theta = 1 forms hold within 0.001 K (enthalpy) and 1e-6 K (pressure,
  // entropy) of 647.3 K; they drop only terms that vanish with d.
  for (double v : {0.0022, 0.00317, 0.0045}) {
    SCOPED_TRACE(v);
    for (double edge : {647.3 - 0.001, 647.3 + 0.001})
      EXPECT_LT(std::fabs(jump_in_T(sub3_enthalpy, edge, v)), 30.0);
    for (double edge : {647.3 - 1e-6, 647.3 + 1e-6}) {
      EXPECT_LT(std::fabs(jump_in_T(sub3_entropy, edge, v)), 1e-3);
      EXPECT_LT(std::fabs(jump_in_T(sub3_pressure, edge, v)), 10.0);
    }
  }
}

TEST(Subregion3, CriticalVolumeBandDropsOnlyTheLogarithm) {
  // Within 1e-6 m3/kg of the critical volume ln chi is left out of H0: at
  // most about 76 J/kg.
  for (double T : {640.0, 647.3, 660.0}) {
    const double edge = 0.00317 + 1e-6;
    EXPECT_LT(std::fabs(sub3_enthalpy(T, edge + 1e-12) - sub3_enthalpy(T, edge - 1e-12)), 77.0)
        << T;
  }
}

TEST(Subregion4, EqualsSubregion3AtTheCriticalTemperature) {
  for (double v : {0.0019, 0.0025, 0.00317}) {
    EXPECT_EQ(sub4_pressure(647.3, v), sub3_pressure(647.3, v));
    EXPECT_EQ(sub4_enthalpy(647.3, v), sub3_enthalpy(647.3, v));
    EXPECT_EQ(sub4_entropy(647.3, v), sub3_entropy(647.3, v));
  }
}

TEST(Subregion4, SaturatedLiquidReferenceValues) {
  struct Row { double T; const char *v, *h, *s; };
  const Row rows[] = {
      {623.15, "0.00174087", "1671783", "3780.13"},
      {630.0, "0.00183807", "1733816", "3875.02"},
      {640.0, "0.00207486", "1841227", "4037.06"},
      {645.0, "0.00234867", "1931373", "4173.05"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.T);
    const double v = sub4_sat_liquid_volume(r.T);
    EXPECT_PRINTED(v, r.v);
    EXPECT_PRINTED(sub4_enthalpy(r.T, v), r.h);
    EXPECT_PRINTED(sub4_entropy(r.T, v), r.s);
  }
}

TEST(Subregion4, MeetsSubregion1AtTheLowerTemperature) {
  const double T = 623.15, p = sat_pressure(T);
  const double v = sub4_sat_liquid_volume(T);
  EXPECT_NEAR(sub4_enthalpy(T, v), sub1_enthalpy(T, p), 300.0);
  EXPECT_NEAR(sub4_entropy(T, v), sub1_entropy(T, p), 0.1);
}

}  // namespace
