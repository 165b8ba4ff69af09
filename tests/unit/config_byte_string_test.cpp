#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/byte_string.h"
#include "config/field_spec.h"

namespace gage {
namespace {

std::vector<std::uint8_t> Encode(std::string_view text) {
    ByteString bytes;
    bytes.fill(0xAA);
    const std::uint16_t count = EncodeByteString(text, bytes);
    for (std::size_t i = count; i < bytes.size(); ++i) {
        EXPECT_EQ(bytes[i], 0) << "byte " << i << " after the encoded ones";
    }
    return {bytes.begin(), bytes.begin() + count};
}

using Bytes = std::vector<std::uint8_t>;

TEST(EncodeByteString, NumbersInBracketsBecomeBytes) {
    EXPECT_EQ(Encode("<13><10>"), (Bytes{13, 10}));
    EXPECT_EQ(Encode("<2>"), (Bytes{2}));
    EXPECT_EQ(Encode("A<9>B"), (Bytes{'A', 9, 'B'}));
    EXPECT_EQ(Encode("<256>"), (Bytes{0}));
    EXPECT_EQ(Encode("<-1>"), (Bytes{255}));
    EXPECT_EQ(Encode(""), Bytes{});
}

TEST(EncodeByteString, NamesInBracketsReadAsZero) {
    EXPECT_EQ(Encode("<CR>"), (Bytes{0}));
    EXPECT_EQ(Encode("< 13>"), (Bytes{13}));
}

TEST(EncodeByteString, LoneOrEmptyBracketsDropTheOpeningOne) {
    EXPECT_EQ(Encode("<13"), (Bytes{'1', '3'}));
    EXPECT_EQ(Encode("<>"), (Bytes{'>'}));
    EXPECT_EQ(Encode("<"), Bytes{});
    EXPECT_EQ(Encode("<1"), (Bytes{'1'}));
    EXPECT_EQ(Encode("a<"), (Bytes{'a'}));
    EXPECT_EQ(Encode("<>x"), (Bytes{'>', 'x'}));
}

TEST(EncodeByteString, ClosingBracketIsSoughtFromTheSecondCharacterOn) {
    // "<>5>" finds the second ">" and reads no number: one byte 0.
    EXPECT_EQ(Encode("<>5>"), (Bytes{0}));
    EXPECT_EQ(Encode("<1>>"), (Bytes{1, '>'}));
}

TEST(EncodeByteString, LongTextIsCutAtSixtyFourBytes) {
    EXPECT_EQ(Encode(std::string(127, 'x')).size(), 64u);
    std::string brackets;
    for (int i = 0; i < 40; ++i) {
        brackets += "<7>";
    }
    EXPECT_EQ(Encode(brackets), Bytes(40, 7));
    EXPECT_EQ(Encode(brackets + brackets), Bytes(64, 7));
}

TEST(ByteStringText, EditingFormKeepsSixtyThreeCharacters) {
    ByteString field;
    SetByteStringText(field, "<13><10>");
    EXPECT_EQ(ByteStringText(field), "<13><10>");
    SetByteStringText(field, std::string(100, 'z'));
    EXPECT_EQ(ByteStringText(field), std::string(63, 'z'));
}

TEST(ParseFieldSpec, ReadsNumbersAndCondition) {
    FieldSpec spec;
    ASSERT_EQ(ParseFieldSpec("1,5,4,NE(\"0\")", spec, false), 1);
    EXPECT_EQ(spec.Defined, 1);
    EXPECT_EQ(spec.FieldNumber, 1);
    EXPECT_EQ(spec.StartPosition, 5);
    EXPECT_EQ(spec.Length, 4);
    EXPECT_EQ(spec.Condition.view(), "NE(\"0\")");

    FieldSpec whole;
    ASSERT_EQ(ParseFieldSpec("3,1,0", whole, false), 1);
    EXPECT_EQ(whole.FieldNumber, 3);
    EXPECT_EQ(whole.Length, 0);
    EXPECT_TRUE(whole.Condition.empty());
}

TEST(ParseFieldSpec, StartPositionZeroOrMissingBecomesOne) {
    FieldSpec spec;
    ASSERT_EQ(ParseFieldSpec("2,0,3", spec, false), 1);
    EXPECT_EQ(spec.StartPosition, 1);
    FieldSpec shortSpec;
    ASSERT_EQ(ParseFieldSpec("2", shortSpec, false), 1);
    EXPECT_EQ(shortSpec.StartPosition, 1);
    EXPECT_EQ(shortSpec.Length, 0);
}

TEST(ParseFieldSpec, FieldNumberZeroIsOnlyAcceptedWithoutSeparator) {
    FieldSpec withSeparator;
    EXPECT_EQ(ParseFieldSpec("0,1,2", withSeparator, false), 0);
    EXPECT_EQ(withSeparator.Defined, 0);
    FieldSpec withoutSeparator;
    EXPECT_EQ(ParseFieldSpec("0,1,2", withoutSeparator, true), 1);
    EXPECT_EQ(withoutSeparator.Defined, 1);
    EXPECT_EQ(withoutSeparator.Length, 2);
    FieldSpec empty;
    EXPECT_EQ(ParseFieldSpec("", empty, true), 0);
}

TEST(ParseFieldSpec, LongConditionIsDroppedButTheFieldStaysDefined) {
    FieldSpec spec;
    const std::string condition23 = "EQ(\"" + std::string(17, 'A') + "\")";
    ASSERT_EQ(condition23.size(), 23u);
    ASSERT_EQ(ParseFieldSpec("1,1,0," + condition23, spec, false), 1);
    EXPECT_EQ(spec.Condition.view(), condition23);
    FieldSpec longer;
    ASSERT_EQ(ParseFieldSpec("1,1,0,EQ(\"" + std::string(18, 'A') + "\")", longer, false), 1);
    EXPECT_EQ(longer.Defined, 1);
    EXPECT_TRUE(longer.Condition.empty());
}

TEST(ParseFieldSpec, ConditionWithSeveralLiteralsKeepsItsCommas) {
    FieldSpec spec;
    ASSERT_EQ(ParseFieldSpec("2,1,0,EQ(\"A\",\"B\")", spec, false), 1);
    EXPECT_EQ(spec.Condition.view(), "EQ(\"A\",\"B\")");
}

TEST(FormatFieldSpec, WritesRowsThatNameAField) {
    EXPECT_EQ(FormatFieldSpec({"1", "1", "3", "EQ", "NRM"}), "1,1,3,EQ(\"NRM\")");
    EXPECT_EQ(FormatFieldSpec({"3", "", "", "", ""}), "3,0,0");
    EXPECT_EQ(FormatFieldSpec({"", "2", "5", "", ""}), "0,2,5");
    EXPECT_EQ(FormatFieldSpec({"2", "1", "0", "EQ", ""}), "2,1,0");
    EXPECT_EQ(FormatFieldSpec({"2", "1", "0", "", "NRM"}), "2,1,0");
    EXPECT_FALSE(FormatFieldSpec({"", "", "", "EQ", "X"}));
    EXPECT_FALSE(FormatFieldSpec({"0", "1", "0", "", ""}));
    EXPECT_FALSE(FormatFieldSpec({"0", "0", "4", "", ""}));
}

TEST(FormatFieldSpec, CutsBoxesToTheirRoom) {
    EXPECT_EQ(FormatFieldSpec({"12345", "1", "1", "EQUAL", std::string(20, 'L')}),
              "123,1,1,EQU(\"" + std::string(15, 'L') + "\")");
}

TEST(FieldSpecText, EditingFormRoundTripsThroughTheDialogRow) {
    FieldSpec spec;
    ParseFieldSpecText("2,0,3,GE(\"10\")", spec);
    EXPECT_EQ(spec.Defined, 0);
    EXPECT_EQ(spec.StartPosition, 0);  // no default in the editing form
    const ConditionParts parts = SplitCondition(spec.Condition.view());
    EXPECT_EQ(parts.op, "GE");
    EXPECT_EQ(parts.literal, "10");
    EXPECT_EQ(FormatFieldSpec({std::to_string(spec.FieldNumber), std::to_string(spec.StartPosition),
                               std::to_string(spec.Length), parts.op, parts.literal}),
              "2,0,3,GE(\"10\")");
    const ConditionParts bare = SplitCondition("EQ");
    EXPECT_EQ(bare.op, "EQ");
    EXPECT_EQ(bare.literal, "");
    EXPECT_EQ(SplitCondition("EQ(\"open").literal, "open");
}

}  // namespace
}  // namespace gage
