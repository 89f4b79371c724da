// The (T, P) evaluation: which subregion answers on either side of each of
// its borders.
#include <gtest/gtest.h>

#include <tuple>

#include "properties/properties.h"
#include "solvers/steam_state.h"

// Each subregion is told apart by the volume it gives, subregions 3 and 4
// near 647.3 K by the enthalpy.
TEST(PropsFromTP, SubregionBorders) {
    const double Ps350 = sat_pressure(623.15), Ps640 = sat_pressure(640.0);
    const double P647 = sat_pressure(647.295) + 100;  // the liquid, 0.005 K below critical
    const double PL640 = l_boundary_beta(640.0 / 647.3) * 22120000;
    // v: the volume, or the enthalpy where it is above 1e3
    const std::tuple<double, double, double, const char*> borders[] = {
        {623.15, Ps350, sub1_volume(623.15, Ps350), "350 degC on the saturation line: liquid"},
        {623.15, Ps350 - 0.5e-5, sub1_volume(623.15, Ps350), "within 1e-5 Pa below it: liquid"},
        {623.15, Ps350 - 1.0, sub2_volume(623.15, Ps350 - 1.0), "1 Pa below it: steam"},
        {623.2, 2e7, sub4_volume(623.2, 2e7), "just above 623.15 K: subregion 4"},
        {640.0, PL640 * (1 - 1e-12), sub2_volume(640.0, PL640), "on the L line: subregion 2"},
        {640.0, Ps640 - 1e5, sub3_volume(640.0, Ps640 - 1e5), "between L line and saturation: 3"},
        {647.295, P647, sub4_enthalpy(647.295, sub4_volume(647.295, P647)), "0.005 K below: 4"},
        {647.2995, 3e7, sub3_enthalpy(647.2995, sub3_volume(647.2995, 3e7)), "0.0005 K: 3, not 4"},
        {860.0, 1e8, sub2_volume(860.0, 1e8), "within 6 K of 863.15 K: 2 at 1000 bar"},
        {850.0, 1e8, sub3_volume(850.0, 1e8), "below that band: 3 above the L line"},
    };
    for (const auto& [T, P, expected, where] : borders) {
        double v, h, s;
        props_from_TP(T, P, &v, &h, &s);
        EXPECT_NEAR(expected > 1e3 ? h : v, expected, 1e-9 * expected) << where;
    }
}
