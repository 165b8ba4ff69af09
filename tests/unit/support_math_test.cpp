#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

#include "support/builtin_math.h"
#include "support/support.h"

namespace gage {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

// Rounding works on the decimal value: binary values just below a decimal half (2.675, 1.005)
// still round away from zero, and the result is the double nearest the rounded decimal (12.35,
// not 1235 * 0.01). Values with nothing to round away stay as they are, tiny ones become positive
// zero, negative places round to tens, and an out-of-range result leaves the value alone.
TEST(SupportMathTest, MathRoundRoundsTheDecimalValueHalfAwayFromZero) {
    struct Case {
        double value;
        int places;
        double rounded;
    };
    const double big = 123456789012345678.0;
    const double third = 1.0 / 3.0;
    const double denormal = std::numeric_limits<double>::denorm_min();
    const Case nearest[] = {
        {2.675, 2, 2.68},     {1.005, 2, 1.01},        {0.285, 2, 0.29},    {1.45, 1, 1.5},
        {-2.675, 2, -2.68},   {2.5, 0, 3.0},           {-2.5, 0, -3.0},     {0.5, 0, 1.0},
        {-0.5, 0, -1.0},      {9.995, 2, 10.0},        {99.96, 1, 100.0},   {2.674999, 2, 2.67},
        {-2.4, 0, -2.0},      {1.23456789, 4, 1.2346}, {0.1 + 0.2, 2, 0.3}, {12.345, 2, 12.35},
        {1250.0, -2, 1300.0}, {-1249.0, -2, -1200.0},  {49.0, -2, 0.0},     {50.0, -2, 100.0}};
    const Case wide[] = {{1234567.891, 2, 1234567.89}, {0.000123456, 7, 0.0001235}};
    const Case unchanged[] = {
        {1.25, 7, 1.25},    {42.0, 0, 42.0},     {1e300, 2, 1e300},         {big, 3, big},
        {0.1, 15, 0.1},     {third, 20, third},  {1e-38, 7, 0.0},           {-0.001, 2, 0.0},
        {0.0, 3, 0.0},      {denormal, 15, 0.0}, {kInfinity, 2, kInfinity}, {kMax, 0, kMax},
        {kMax, -308, kMax}, {kMax, -400, 0.0},   {3.5, kIntMax, 3.5},       {3.5, kIntMin, 0.0}};
    Support support;
    support.UseBuiltInsOnly(true);
    const auto expectRounded = [&support](const Case& c) {
        const double rounded = support.MathRound(c.value, c.places);
        EXPECT_EQ(rounded, c.rounded) << c.value << " at " << c.places;
        EXPECT_EQ(std::signbit(rounded), std::signbit(c.rounded)) << c.value << " at " << c.places;
    };
    std::for_each(std::begin(nearest), std::end(nearest), expectRounded);
    std::for_each(std::begin(wide), std::end(wide), expectRounded);
    std::for_each(std::begin(unchanged), std::end(unchanged), expectRounded);
    EXPECT_TRUE(std::isnan(support.MathRound(std::nan(""), 2)));
}

std::string Printed(double value, int digits) {
    char text[400];
    std::snprintf(text, sizeof text, "%+.*g", digits, value);
    return text;
}

// The digit count is the fewest with which "%+.*g" shows what "%+.15g" shows: 12000 is 5, not the
// 1.2e+04 of two digits.
TEST(SupportMathTest, SignificantDigitsAreTheFewestThatShowTheValue) {
    Support support;
    support.UseBuiltInsOnly(true);
    for (const double value :
         {0.1, 0.0, 1.0 / 3.0, 1e-38, -2.675, 123456789012345678.0, 0.1 + 0.2, 12000.0, 100.0,
          1.5e-5, -99.999, 6.02214076e23, 0.000123, 7.0, 1e15, 1e16, -1e-300, 2.5, 65535.0}) {
        const int digits = support.DbSignificantDigits(value);
        ASSERT_GE(digits, 1);
        ASSERT_LE(digits, 15);
        EXPECT_EQ(Printed(value, digits), Printed(value, 15)) << value;
        if (digits > 1) {
            EXPECT_NE(Printed(value, digits - 1), Printed(value, 15)) << value;
        }
    }
    for (const double value : {std::nan(""), kInfinity, -kInfinity}) {
        EXPECT_EQ(support.DbSignificantDigits(value), 1) << value;
    }
}

TEST(NumberTextTest, ParsesEitherDecimalPointAndRejectsPartialNumbers) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"12.5", 12.5},        {" 3,25 ", 3.25},       {"-7", -7.0},        {"+7", 7.0},
        {"1e-3", 0.001},       {"", std::nullopt},     {"-", std::nullopt}, {"12abc", std::nullopt},
        {"++1", std::nullopt}, {"1.2.3", std::nullopt}};
    for (const auto& [text, number] : cases) {
        EXPECT_EQ(builtin::ParseDecimal(text), number) << text;
    }
}

}  // namespace
}  // namespace gage
