// The formulation's own reference values, each to the digits printed: the
// saturation line, subregions 1 and 2 at (T, p), subregion 3 at (T, v) and
// the saturated liquid of subregion 4.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <tuple>

#include "properties/properties.h"

// A printed "0.00100022" holds to half a unit of its last digit.
static void expect_printed(double value, const char* text) {
    const char* dot = std::strchr(text, '.');
    const double half_unit = 0.5 * std::pow(10.0, dot ? -double(std::strlen(dot + 1)) : 0.0);
    EXPECT_NEAR(value, std::atof(text), half_unit) << "printed " << text;
}

TEST(SaturationLine, ReferenceValuesAndEnds) {
    // clang-format off
    const std::tuple<double (*)(double), double, const char*> rows[] = {{sat_pressure, 623.15, "16535124"}, {sat_pressure, 273.15, "610.80"},
                {l_boundary_beta, 623.15 / 647.3, "0.74752"},
                {l_boundary_beta, 863.15 / 647.3, "4.5208"}, {sat_temperature, 1000, "280.1334"},
                {sat_temperature, 101325, "373.150"}, {sat_temperature, 1e6, "453.035"},
                {sat_temperature, 1e7, "584.111"}, {sat_temperature, 2.2e7, "646.842"}};
    // clang-format on
    for (const auto& [f, x, printed] : rows) expect_printed(f(x), printed);
    EXPECT_EQ(sat_pressure(647.3), 2.212e7);
    EXPECT_EQ(sat_pressure(647.31), -1.0);
    EXPECT_EQ(sat_temperature(2.21e7), 647.3);
    EXPECT_EQ(sat_temperature(3e7), 647.3);
}

// Along the whole line up to 2.21e7 Pa, the band just below it included (where the
// start value lies above 647.3 K), the temperature found meets its band's
// tolerance; and the liquid and vapour there have the same Gibbs function
// (h - T s), to the formulation's own consistency of about 150 J/kg.
TEST(SaturationLine, InverseAndPhaseEquilibrium) {
    for (double p = 611.0; p < 2.21e7; p = p < 2.2e7 ? p * 1.005 : p + 1000.0) {
        const double T = sat_temperature(p), ps = sat_pressure(T);
        const double tol = p >= 490332.0 ? 10.0 : p >= 11767.98 ? 1.0 : 0.1;
        EXPECT_LT(std::fabs(p - ps), tol) << p;
        const double vl = sub4_volume(T, ps), vv = sub3_volume(T, ps);
        const bool low = T <= 623.15;
        EXPECT_NEAR(low ? sub1_enthalpy(T, ps) - T * sub1_entropy(T, ps)
                        : sub4_enthalpy(T, vl) - T * sub4_entropy(T, vl),
                    low ? sub2_enthalpy(T, ps) - T * sub2_entropy(T, ps)
                        : sub3_enthalpy(T, vv) - T * sub3_entropy(T, vv),
                    200.0)
            << T;
    }
}

// Subregions 1 and 2 at (T, p [Pa]) -> v, h, s; subregion 3 at (T, v) -> p, h, s;
// the saturated liquid of subregion 4 at T -> v', h', s'.
TEST(Subregions, ReferenceValues) {
    typedef double (*Fn)(double, double);
    const Fn sub1[] = {sub1_volume, sub1_enthalpy, sub1_entropy};
    const Fn sub2[] = {sub2_volume, sub2_enthalpy, sub2_entropy};
    const Fn sub3[] = {sub3_pressure, sub3_enthalpy, sub3_entropy};
    const Fn sub4[] = {[](double T, double) { return sub4_sat_liquid_volume(T); },
                       [](double T, double) { return sub4_enthalpy(T, sub4_sat_liquid_volume(T)); },
                       [](double T, double) { return sub4_entropy(T, sub4_sat_liquid_volume(T)); }};
    const std::tuple<const Fn*, double, double, std::array<const char*, 3>> rows[] = {
        {sub1, 273.16, 611.2, {"0.00100022", "0.61", "-0.0002"}},
        {sub1, 293.15, 1e5, {"0.00100168", "83953.6", "296.277"}},
        {sub1, 373.15, 101325, {"0.00104371", "419064.7", "1306.870"}},
        {sub1, 573.15, 1e7, {"0.00139785", "1343363.6", "3248.779"}},
        {sub1, 623.15, 16535000, {"0.00174112", "1671945.1", "3780.043"}},
        {sub1, 623.15, 1e8, {"0.00131478", "1550599.7", "3392.248"}},
        {sub2, 473.15, 1e5, {"2.172328", "2875357.3", "7834.945"}},
        {sub2, 373.15, 101325, {"1.673001", "2676008.8", "7355.381"}},
        {sub2, 573.15, 1e6, {"0.257976", "3052143.2", "7125.143"}},
        {sub2, 773.15, 1e7, {"0.0327598", "3374598.2", "6599.445"}},
        {sub2, 623.15, 16535000, {"0.00879934", "2567666.0", "5217.680"}},
        {sub2, 1073.15, 1e8, {"0.00434106", "3714263.5", "6039.661"}},
        {sub2, 773.15, 1000, {"356.8136", "3489225.1", "10961.182"}},
        {sub3, 647.3, 0.00317, {"22120000", "2107373", "4442.86"}},
        {sub3, 650.0, 0.0025, {"23146529", "1988835", "4255.72"}},
        {sub3, 623.15, 0.0088, {"16534623", "2567761", "5217.76"}},
        {sub4, 623.15, 0, {"0.00174087", "1671783", "3780.13"}},
        {sub4, 630.0, 0, {"0.00183807", "1733816", "3875.02"}},
        {sub4, 640.0, 0, {"0.00207486", "1841227", "4037.06"}},
        {sub4, 645.0, 0, {"0.00234867", "1931373", "4173.05"}}};
    for (const auto& [f, T, x, printed] : rows)
        for (int i = 0; i < 3; ++i) expect_printed(f[i](T, x), printed[i]);
}
