// The one number grammar: the dialog reads the longest decimal prefix as the runtime's
// _wtof does, whatever the locale; the tools take a field only when all of it is one
// finite number.
#include <cmath>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "solvers/typed_number.h"

TEST(TypedNumber, ReadsTheLongestDecimalPrefix) {
    // clang-format off
    const std::pair<const wchar_t*, double> cases[] = {
        {L"  0.02", 0.02}, {L"12,5", 12.0}, {L"-3.5e2x", -350.0}, {L"+7.", 7.0}, {L".5", 0.5},
        {L"1e", 1.0}, {L"2e+", 2.0}, {L"", 0.0}, {L"abc", 0.0}, {L"nan", 0.0}, {L"-nan", 0.0},
        {L"inf", 0.0}, {L"0x1p3", 0.0}, {L"-", 0.0}, {L".", 0.0}, {L"1000.0001", 1000.0001},
        {L"1e-400", 0.0}, {L"\t85 %", 85.0}, {L"1e-320", 1e-320}, {L"1e400", HUGE_VAL},
        {L"0.001e312", HUGE_VAL}, {L"-1e999999999999", -HUGE_VAL}};
    // clang-format on
    for (const auto& [text, value] : cases) EXPECT_EQ(typed_number(text), value) << text;
    EXPECT_EQ(typed_number(std::wstring(400, L'9').c_str()), HUGE_VAL);
    // 1e-501: the leading zeros count, not only the exponent.
    EXPECT_EQ(typed_number((L"0." + std::wstring(1000, L'0') + L"1e500").c_str()), 0.0);
}

TEST(TypedNumber, FieldIsWholeFiniteNumber) {
    const std::tuple<const char*, bool, double> cases[] = {
        {"100", true, 100.0},     {" 1.5e2 ", true, 150.0}, {"+.5", true, 0.5},
        {"1e-320", true, 1e-320}, {"1e-400", true, 0.0},    {"7.", true, 7.0},
        {"", false, 0},           {"  ", false, 0},         {"12,5", false, 0},
        {"1e", false, 0},         {"100x", false, 0},       {"1 2", false, 0},
        {"nan", false, 0},        {"inf", false, 0},        {"1e400", false, 0},
        {"0x10", false, 0},       {"-", false, 0},          {".", false, 0}};
    for (const auto& [text, ok, expected] : cases) {
        double value = -42.0;
        EXPECT_EQ(parse_number_field(text, &value), ok) << text;
        EXPECT_EQ(value, ok ? expected : -42.0) << text;
    }
    double zero = 1.0;
    ASSERT_TRUE(parse_number_field("-0", &zero));
    EXPECT_FALSE(std::signbit(zero));
}
