#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "reading/field_conditions.h"
#include "reading/gage_number.h"
#include "reading/record_fields.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using testing_support::Spec;

FieldLocation At(std::string_view text) {
    return {true, reinterpret_cast<const std::uint8_t*>(text.data()),
            static_cast<int>(text.size())};
}

TEST(LooksNumericTest, SignsBlanksAndSeparators) {
    EXPECT_TRUE(LooksNumeric(" -12", '.'));
    EXPECT_TRUE(LooksNumeric("+ .5", '.'));
    EXPECT_TRUE(LooksNumeric("7", '.'));
    EXPECT_TRUE(LooksNumeric(",5", ','));
    EXPECT_FALSE(LooksNumeric(",5", '.'));
    EXPECT_FALSE(LooksNumeric("A1", '.'));
    EXPECT_FALSE(LooksNumeric("-", '.'));
    EXPECT_FALSE(LooksNumeric("", '.'));
    EXPECT_FALSE(LooksNumeric("   ", '.'));
    EXPECT_FALSE(LooksNumeric("--1", '.'));
}

TEST(CheckFieldTest, LengthsAndNumericMarks) {
    const FieldSpec undefined;
    EXPECT_TRUE(CheckField(FieldLocation{}, undefined, true, DATATYPE_ASCII, '.'));
    EXPECT_FALSE(CheckField(FieldLocation{}, Spec(1, 1, 0), false, DATATYPE_ASCII, '.'));
    EXPECT_TRUE(CheckField(At("123"), Spec(1, 2, 2), true, DATATYPE_ASCII, '.'));
    EXPECT_FALSE(CheckField(At("123"), Spec(1, 2, 3), true, DATATYPE_ASCII, '.'));
    // Length 0 asks only that the start lies at most one past the end.
    EXPECT_TRUE(CheckField(At("123"), Spec(1, 4, 0), false, DATATYPE_ASCII, '.'));
    EXPECT_FALSE(CheckField(At("123"), Spec(1, 5, 0), false, DATATYPE_ASCII, '.'));
    // Numeric checks of text; binary data is never checked for digits.
    EXPECT_FALSE(CheckField(At("abc"), Spec(1, 1, 0), true, DATATYPE_ASCII, '.'));
    EXPECT_FALSE(CheckField(At("abc"), Spec(1, 1, 0), true, DATATYPE_ASCII16, '.'));
    EXPECT_TRUE(CheckField(At("abc"), Spec(1, 1, 0), false, DATATYPE_ASCII, '.'));
    EXPECT_TRUE(CheckField(At("abc"), Spec(1, 1, 0), true, DATATYPE_BINARY_LSB_FIRST, '.'));
    EXPECT_TRUE(CheckField(At("abc"), Spec(1, 1, 0), true, DATATYPE_BINARY_MSB_FIRST, '.'));
}

TEST(FieldTextTest, TrimsSpacesOnlyAndCutsToSize) {
    char text[8];
    FieldText(At("  a b \t "), Spec(1, 1, 0), text, sizeof text);
    EXPECT_STREQ(text, "a b \t");
    FieldText(At("abcdefghijk"), Spec(1, 3, 0), text, sizeof text);
    EXPECT_STREQ(text, "cdefghi");
    FieldText(At("    "), Spec(1, 1, 0), text, sizeof text);
    EXPECT_STREQ(text, "");
    FieldText(FieldLocation{}, Spec(1, 1, 0), text, sizeof text);
    EXPECT_STREQ(text, "");
}

TEST(FieldValueTest, UndefinedAndUnknownTypesGiveZero) {
    GageFormat format;
    EXPECT_EQ(FieldValue(At("12"), FieldSpec{}, format, '.'), 0.0);
    format.DataType = 9;
    EXPECT_EQ(FieldValue(At("12"), Spec(1, 1, 0), format, '.'), 0.0);
}

TEST(FieldValueTest, FormatAndUserSeparators) {
    GageFormat format;
    EXPECT_EQ(FieldValue(At(" 12.5"), Spec(1, 1, 0), format, '.'), 12.5);
    EXPECT_EQ(FieldValue(At("12.5"), Spec(1, 1, 0), format, ','), 12.5);
    EXPECT_EQ(FieldValue(At("12,5"), Spec(1, 1, 0), format, '.'), 12.0);
    format.DecimalSeparator = {',', '\0'};
    EXPECT_EQ(FieldValue(At("12,5"), Spec(1, 1, 0), format, '.'), 12.5);
    EXPECT_EQ(FieldValue(At("12,5"), Spec(1, 1, 0), format, ','), 12.5);
    EXPECT_EQ(FieldValue(At("x12"), Spec(1, 1, 0), format, '.'), 0.0);
}

TEST(ParseGageNumberTest, LikeTheDecimalConversionWithAGivenSeparator) {
    EXPECT_EQ(ParseGageNumber("  -1.25e2xyz", '.'), -125.0);
    EXPECT_EQ(ParseGageNumber("+.5", '.'), 0.5);
    EXPECT_EQ(ParseGageNumber("5.", '.'), 5.0);
    EXPECT_EQ(ParseGageNumber("1,5", ','), 1.5);
    EXPECT_EQ(ParseGageNumber("1.5", ','), 1.0);
    EXPECT_EQ(ParseGageNumber("1e", '.'), 1.0);
    EXPECT_EQ(ParseGageNumber("1e+", '.'), 1.0);
    EXPECT_EQ(ParseGageNumber(".", '.'), 0.0);
    EXPECT_EQ(ParseGageNumber("-", '.'), 0.0);
    EXPECT_EQ(ParseGageNumber("inf", '.'), 0.0);
    EXPECT_EQ(ParseGageNumber("0x10", '.'), 0.0);
    EXPECT_EQ(ParseGageNumber("0.000123", '.'), 0.000123);
    EXPECT_EQ(ParseGageNumber("1e999", '.'), HUGE_VAL);
    EXPECT_EQ(ParseGageNumber("-1e999", '.'), -HUGE_VAL);
    EXPECT_EQ(ParseGageNumber("1e-999", '.'), 0.0);
    EXPECT_EQ(ParseGageNumber(std::string(300, '9') + ".5", '.'), 1e300);
    EXPECT_EQ(ParseGageNumber("0." + std::string(300, '0') + "1", '.'), 1e-301);
    EXPECT_EQ(ParseGageNumber("123456789012345678901234567890", '.'),
              123456789012345678901234567890.0);
}

TEST(ConditionTest, NumericOperatorsAndLiteralLists) {
    EXPECT_TRUE(TestNumericCondition(3, "EQ(\"3\")", '.'));
    EXPECT_FALSE(TestNumericCondition(3, "eq(\"4\")", '.'));
    EXPECT_TRUE(TestNumericCondition(3, "NE(\"4\",\"5\")", '.'));
    EXPECT_FALSE(TestNumericCondition(4, "NE(\"4\",\"5\")", '.'));
    EXPECT_TRUE(TestNumericCondition(3, "LT(4)", '.'));
    EXPECT_FALSE(TestNumericCondition(4, "LT(4)", '.'));
    EXPECT_TRUE(TestNumericCondition(4, "LE(4)", '.'));
    EXPECT_TRUE(TestNumericCondition(5, "GT(4)", '.'));
    EXPECT_FALSE(TestNumericCondition(4, "GT(4)", '.'));
    EXPECT_TRUE(TestNumericCondition(4, "Ge(4)", '.'));
    EXPECT_FALSE(TestNumericCondition(1, "GE(\"1\",\"2\")", '.'));
    EXPECT_TRUE(TestNumericCondition(2, "GE(\"1\",\"2\")", '.'));
    EXPECT_TRUE(TestNumericCondition(1.2, "GE(\"1.5\")", ','));  // reads as 1
    EXPECT_TRUE(TestNumericCondition(1.6, "GE(\"1,5\")", ','));
    EXPECT_FALSE(TestNumericCondition(1.4, "GE(\"1,5\")", ','));
}

TEST(ConditionTest, WhatPasses) {
    EXPECT_TRUE(TestNumericCondition(1, "", '.'));
    EXPECT_TRUE(TestNumericCondition(1, "EQ\"2\"", '.'));    // no parentheses
    EXPECT_TRUE(TestNumericCondition(1, "EQ(\"2\"", '.'));   // no closing one
    EXPECT_TRUE(TestNumericCondition(1, "EQ()", '.'));       // empty list
    EXPECT_TRUE(TestNumericCondition(1, "XX(\"2\")", '.'));  // unknown operator
    EXPECT_TRUE(TestNumericCondition(1, "E", '.'));
}

TEST(ConditionTest, TextLiterals) {
    EXPECT_TRUE(TestTextCondition("nrm", "EQ(\"NRM\")"));
    EXPECT_FALSE(TestTextCondition("NRMX", "EQ(\"NRM\")"));
    EXPECT_TRUE(TestTextCondition("OK", "NE(\"MIN\",\"MAX\")"));
    EXPECT_FALSE(TestTextCondition("max", "NE(\"MIN\",\"MAX\")"));
    EXPECT_FALSE(TestTextCondition("A", "EQ(\"A\",\"B\")"));
    EXPECT_FALSE(TestTextCondition("B", "EQ(\"A\",\"B\")"));
    // A quoted literal may hold a comma, but never a closing parenthesis.
    EXPECT_TRUE(TestTextCondition("a,b", "EQ(\"a,b\")"));
    EXPECT_FALSE(TestTextCondition("a)b", "EQ(\"a)b\")"));
    EXPECT_TRUE(TestTextCondition("a", "EQ(\"a)b\")"));
    EXPECT_TRUE(TestTextCondition("b", "GT(\"A\")"));
    EXPECT_TRUE(TestTextCondition("", "LT(\"a\")"));
    EXPECT_TRUE(TestTextCondition("", "EQ(\"\")"));
    EXPECT_TRUE(TestTextCondition("x", "EQ(x)"));  // unquoted literal
}

TEST(LowWordTest, CutsTowardZero) {
    EXPECT_EQ(LowWordOf(7.9), 7);
    EXPECT_EQ(LowWordOf(-1.5), 0xFFFF);
    EXPECT_EQ(LowWordOf(65537.0), 1);
    EXPECT_EQ(LowWordOf(HUGE_VAL), 0);
    EXPECT_EQ(LowWordOf(std::nan("")), 0);
}

}  // namespace
}  // namespace gage
