// How the data-input dialog reads a typed number: the runtime's _wtof, whatever the
// locale, so a decimal comma ends the number and text without a number is 0.
#include <cmath>

#include <gtest/gtest.h>

#include "input_dialog.h"

TEST(TypedNumber, ReadsTheLongestDecimalPrefix) {
    struct Case {
        const wchar_t* text;
        double value;
    };
    const Case cases[] = {
        {L"500", 500.0},        {L"  0.02", 0.02},     {L"12,5", 12.0},
        {L"-3.5e2x", -350.0},   {L"+7.", 7.0},         {L".5", 0.5},
        {L"1e", 1.0},           {L"2e+", 2.0},         {L"", 0.0},
        {L"abc", 0.0},          {L"nan", 0.0},         {L"inf", 0.0},
        {L"0x1p3", 0.0},        {L"-", 0.0},           {L".", 0.0},
        {L"1000.0001", 1000.0001}, {L"1e-400", 0.0},   {L"\t85 %", 85.0},
    };
    for (const Case& c : cases) EXPECT_EQ(typed_number(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isinf(typed_number(L"1e400")));
    EXPECT_FALSE(std::isnan(typed_number(L"-nan")));
}
