#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
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

// Every input of the first list gives true, every one of the second false.
template <typename Test>
void ExpectSplit(Test test, std::initializer_list<const char*> yes,
                 std::initializer_list<const char*> no) {
    for (const char* input : yes) {
        EXPECT_TRUE(test(input)) << input;
    }
    for (const char* input : no) {
        EXPECT_FALSE(test(input)) << input;
    }
}

TEST(LooksNumericTest, SignsBlanksAndSeparators) {
    const auto withPoint = [](const char* text) { return LooksNumeric(text, '.'); };
    ExpectSplit(withPoint, {" -12", "+ .5", "7"}, {",5", "A1", "-", "", "   ", "--1"});
    EXPECT_TRUE(LooksNumeric(",5", ','));
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

TEST(FieldValueTest, TypesAndSeparators) {
    GageFormat format;
    EXPECT_EQ(FieldValue(At("12"), FieldSpec{}, format, '.'), 0.0);  // undefined
    EXPECT_EQ(FieldValue(At(" 12.5"), Spec(1, 1, 0), format, '.'), 12.5);
    EXPECT_EQ(FieldValue(At("12.5"), Spec(1, 1, 0), format, ','), 12.5);
    EXPECT_EQ(FieldValue(At("12,5"), Spec(1, 1, 0), format, '.'), 12.0);
    format.DecimalSeparator = {',', '\0'};
    EXPECT_EQ(FieldValue(At("12,5"), Spec(1, 1, 0), format, '.'), 12.5);
    EXPECT_EQ(FieldValue(At("12,5"), Spec(1, 1, 0), format, ','), 12.5);
    EXPECT_EQ(FieldValue(At("x12"), Spec(1, 1, 0), format, '.'), 0.0);
    format.DataType = 9;  // unknown
    EXPECT_EQ(FieldValue(At("12"), Spec(1, 1, 0), format, '.'), 0.0);
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
    const auto at = [](double value, char separator = '.') {
        return [=](const char* condition) {
            return TestNumericCondition(value, condition, separator);
        };
    };
    ExpectSplit(at(3), {"EQ(\"3\")", "NE(\"4\",\"5\")", "LT(4)"}, {"eq(\"4\")"});
    ExpectSplit(at(4), {"LE(4)", "Ge(4)"}, {"NE(\"4\",\"5\")", "LT(4)", "GT(4)"});
    ExpectSplit(at(5), {"GT(4)"}, {});
    ExpectSplit(at(2), {"GE(\"1\",\"2\")"}, {});
    // Every literal must hold; what cannot be read passes.
    ExpectSplit(at(1), {"", "EQ\"2\"", "EQ(\"2\"", "EQ()", "XX(\"2\")", "E"}, {"GE(\"1\",\"2\")"});
    ExpectSplit(at(1.2, ','), {"GE(\"1.5\")"}, {});  // reads as 1
    ExpectSplit(at(1.6, ','), {"GE(\"1,5\")"}, {});
    ExpectSplit(at(1.4, ','), {}, {"GE(\"1,5\")"});
}

TEST(ConditionTest, TextLiterals) {
    const auto of = [](const char* text) {
        return [=](const char* condition) { return TestTextCondition(text, condition); };
    };
    ExpectSplit(of("nrm"), {"EQ(\"NRM\")"}, {});
    ExpectSplit(of("NRMX"), {}, {"EQ(\"NRM\")"});
    ExpectSplit(of("OK"), {"NE(\"MIN\",\"MAX\")"}, {});
    ExpectSplit(of("max"), {}, {"NE(\"MIN\",\"MAX\")"});
    ExpectSplit(of("A"), {}, {"EQ(\"A\",\"B\")"});
    ExpectSplit(of("B"), {}, {"EQ(\"A\",\"B\")"});
    ExpectSplit(of("b"), {"GT(\"A\")"}, {});
    // A quoted literal may hold a comma, but never a closing parenthesis.
    ExpectSplit(of("a,b"), {"EQ(\"a,b\")"}, {});
    ExpectSplit(of("a)b"), {}, {"EQ(\"a)b\")"});
    ExpectSplit(of("a"), {"EQ(\"a)b\")"}, {});
    ExpectSplit(of(""), {"LT(\"a\")", "EQ(\"\")"}, {});
    ExpectSplit(of("x"), {"EQ(x)"}, {});  // unquoted literal
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
