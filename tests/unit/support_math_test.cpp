#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "support/builtin_math.h"
#include "support/support.h"

namespace gage {
namespace {

class SupportMathTest : public ::testing::Test {
  protected:
    SupportMathTest() { support.UseBuiltInsOnly(true); }
    Support support;
};

TEST_F(SupportMathTest, RoundsHalvesAwayFromZeroOnTheDecimalValue) {
    // Binary values just below the decimal halves still round up.
    EXPECT_EQ(support.MathRound(2.675, 2), 2.68);
    EXPECT_EQ(support.MathRound(1.005, 2), 1.01);
    EXPECT_EQ(support.MathRound(0.285, 2), 0.29);
    EXPECT_EQ(support.MathRound(1.45, 1), 1.5);
    EXPECT_EQ(support.MathRound(-2.675, 2), -2.68);
    EXPECT_EQ(support.MathRound(2.5, 0), 3.0);
    EXPECT_EQ(support.MathRound(-2.5, 0), -3.0);
    EXPECT_EQ(support.MathRound(0.5, 0), 1.0);
    EXPECT_EQ(support.MathRound(-0.5, 0), -1.0);
    EXPECT_EQ(support.MathRound(9.995, 2), 10.0);
    EXPECT_EQ(support.MathRound(99.96, 1), 100.0);
}

TEST_F(SupportMathTest, RoundsDownBelowTheHalf) {
    EXPECT_EQ(support.MathRound(2.674999, 2), 2.67);
    EXPECT_EQ(support.MathRound(-2.4, 0), -2.0);
    EXPECT_EQ(support.MathRound(1.23456789, 4), 1.2346);
    EXPECT_EQ(support.MathRound(0.1 + 0.2, 2), 0.3);
}

TEST_F(SupportMathTest, ResultIsTheNearestDoubleOfTheRoundedDecimal) {
    // 12.345 at 2 places must be exactly the double written 12.35, not 1235 * 0.01.
    EXPECT_EQ(support.MathRound(12.345, 2), 12.35);
    EXPECT_EQ(support.MathRound(1234567.891, 2), 1234567.89);
    EXPECT_EQ(support.MathRound(0.000123456, 7), 0.0001235);
}

TEST_F(SupportMathTest, ValuesWithoutExtraPlacesStayUnchanged) {
    EXPECT_EQ(support.MathRound(1.25, 7), 1.25);
    EXPECT_EQ(support.MathRound(42.0, 0), 42.0);
    EXPECT_EQ(support.MathRound(1e300, 2), 1e300);
    EXPECT_EQ(support.MathRound(123456789012345678.0, 3), 123456789012345678.0);
    EXPECT_EQ(support.MathRound(0.1, 15), 0.1);
    const double third = 1.0 / 3.0;
    EXPECT_EQ(support.MathRound(third, 20), third);
}

TEST_F(SupportMathTest, TinyValuesRoundToPositiveZero) {
    const double tiny = support.MathRound(1e-38, 7);
    EXPECT_EQ(tiny, 0.0);
    EXPECT_FALSE(std::signbit(tiny));
    const double negative = support.MathRound(-0.001, 2);
    EXPECT_EQ(negative, 0.0);
    EXPECT_FALSE(std::signbit(negative));
    EXPECT_EQ(support.MathRound(0.0, 3), 0.0);
    EXPECT_EQ(support.MathRound(std::numeric_limits<double>::denorm_min(), 15), 0.0);
}

TEST_F(SupportMathTest, NegativePlacesRoundToTens) {
    EXPECT_EQ(support.MathRound(1250.0, -2), 1300.0);
    EXPECT_EQ(support.MathRound(-1249.0, -2), -1200.0);
    EXPECT_EQ(support.MathRound(49.0, -2), 0.0);
    EXPECT_EQ(support.MathRound(50.0, -2), 100.0);
}

TEST_F(SupportMathTest, NonFiniteValuesAndExtremePlacesDoNotBreak) {
    EXPECT_TRUE(std::isnan(support.MathRound(std::nan(""), 2)));
    EXPECT_EQ(support.MathRound(std::numeric_limits<double>::infinity(), 2),
              std::numeric_limits<double>::infinity());
    const double max = std::numeric_limits<double>::max();
    EXPECT_EQ(support.MathRound(max, 0), max);
    EXPECT_EQ(support.MathRound(max, -308), max);  // 2e308 is out of range: left as it is
    EXPECT_EQ(support.MathRound(max, -400), 0.0);
    EXPECT_EQ(support.MathRound(3.5, std::numeric_limits<int>::max()), 3.5);
    EXPECT_EQ(support.MathRound(3.5, std::numeric_limits<int>::min()), 0.0);
}

// The digit count must make "%+.*g" show exactly what "%+.15g" shows, with the fewest digits.
std::string Printed(double value, int digits) {
    char text[400];
    std::snprintf(text, sizeof text, "%+.*g", digits, value);
    return text;
}

TEST_F(SupportMathTest, SignificantDigitsAreTheFewestThatShowTheValue) {
    EXPECT_EQ(support.DbSignificantDigits(0.1), 1);
    EXPECT_EQ(support.DbSignificantDigits(0.0), 1);
    EXPECT_EQ(support.DbSignificantDigits(1.0 / 3.0), 15);
    EXPECT_EQ(support.DbSignificantDigits(1e-38), 1);
    EXPECT_EQ(support.DbSignificantDigits(-2.675), 4);
    EXPECT_EQ(support.DbSignificantDigits(123456789012345678.0), 15);
    EXPECT_EQ(support.DbSignificantDigits(0.1 + 0.2), 1);
    // No exponent form that the 15-digit text does not have: 12000, not 1.2e+04.
    EXPECT_EQ(support.DbSignificantDigits(12000.0), 5);
    EXPECT_EQ(support.DbSignificantDigits(100.0), 3);
}

TEST_F(SupportMathTest, SignificantDigitsAgreeWithPrintf) {
    const double values[] = {0.1,     1.0 / 3.0,     1e-38,    123456789012345678.0,
                             -2.675,  0.0,           12000.0,  1.5e-5,
                             -99.999, 6.02214076e23, 0.000123, 7.0,
                             1e15,    1e16,          -1e-300,  2.5,
                             65535.0};
    for (const double value : values) {
        const int digits = support.DbSignificantDigits(value);
        ASSERT_GE(digits, 1);
        ASSERT_LE(digits, 15);
        EXPECT_EQ(Printed(value, digits), Printed(value, 15)) << value;
        if (digits > 1) {
            EXPECT_NE(Printed(value, digits - 1), Printed(value, 15)) << value;
        }
    }
}

TEST_F(SupportMathTest, SignificantDigitsOfNonFiniteValuesAreUsable) {
    EXPECT_EQ(support.DbSignificantDigits(std::nan("")), 1);
    EXPECT_EQ(support.DbSignificantDigits(std::numeric_limits<double>::infinity()), 1);
    EXPECT_EQ(support.DbSignificantDigits(-std::numeric_limits<double>::infinity()), 1);
}

TEST(NumberTextTest, ParsesEitherDecimalPointAndRejectsPartialNumbers) {
    EXPECT_EQ(builtin::ParseDecimal("12.5"), 12.5);
    EXPECT_EQ(builtin::ParseDecimal(" 3,25 "), 3.25);
    EXPECT_EQ(builtin::ParseDecimal("-7"), -7.0);
    EXPECT_EQ(builtin::ParseDecimal("+7"), 7.0);
    EXPECT_EQ(builtin::ParseDecimal("1e-3"), 0.001);
    EXPECT_FALSE(builtin::ParseDecimal(""));
    EXPECT_FALSE(builtin::ParseDecimal("-"));
    EXPECT_FALSE(builtin::ParseDecimal("12abc"));
    EXPECT_FALSE(builtin::ParseDecimal("++1"));
    EXPECT_FALSE(builtin::ParseDecimal("1.2.3"));
}

}  // namespace
}  // namespace gage
