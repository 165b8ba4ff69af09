// The record parser and its pieces: framing, fields, conditions, gage numbers and the bits of
// every reading.

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "reading/field_conditions.h"
#include "reading/gage_number.h"
#include "reading/record_fields.h"
#include "reading/record_parser.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using namespace testing_support;

// One parse: its answer, the value it left and the bytes still held after it.
struct Step {
    int parsed;
    double value;
    std::string held;
    unsigned options = 0;
};

// What a record case changes of a gage whose records are one value ending in CR. Binary types
// read 16 bits to a full scale of 10.
struct Shape {
    const char* start = "";
    const char* end = "<13>";
    const char* separator = "";
    int bodyLength = 0;
    int dataType = DATATYPE_ASCII;
    bool formatComma = false;  // the format's decimal separator
    bool userComma = false;
    FieldSpec channel{};
    int channelNumber = 0;  // the gage's
    FieldSpec literal{};
    FieldSpec valueA = Spec(1, 1, 0);
    FieldSpec valueB{};
    int combination = 0;
    double gain = 1.0;
    double zero = 0.0;
    int precision = -1;
    bool absolute = false;
    const char* requestSequence = "";
};

struct RecordCase {
    Shape shape;
    std::string input;
    std::vector<Step> steps;
};

Shape Binary(int dataType, int bodyLength, int fieldLength) {
    return {.start = "<2>",
            .end = "",
            .bodyLength = bodyLength,
            .dataType = dataType,
            .valueA = Spec(1, 1, fieldLength)};
}

GageRecord GageOf(const Shape& shape) {
    GageRecord gage = OneValueGage("Caliper");
    GageFormat& format = gage.Format;
    SetFrame(format, shape.start, shape.end, shape.separator);
    format.BodyLength = static_cast<std::uint16_t>(shape.bodyLength);
    format.DataType = static_cast<std::uint16_t>(shape.dataType);
    if (shape.dataType == DATATYPE_BINARY_LSB_FIRST ||
        shape.dataType == DATATYPE_BINARY_MSB_FIRST) {
        format.Bits = 16;
        format.Scale = 65536;
        format.FullScale = 10.0;
    }
    format.DecimalSeparator = {shape.formatComma ? ',' : '.', '\0'};
    format.ChannelField = shape.channel;
    gage.ChannelNumber = shape.channelNumber;
    format.LiteralField = shape.literal;
    format.ValueAField = shape.valueA;
    format.ValueBField = shape.valueB;
    format.Options = static_cast<std::uint16_t>(shape.combination << FMT_OPT_COMBINATION_SHIFT);
    SetBytes(format.RequestSequence, format.RequestSequenceLength, shape.requestSequence);
    gage.Gain = shape.gain;
    gage.Zero = shape.zero;
    gage.Precision = shape.precision;
    gage.Flags = shape.absolute ? GAGE_FLAG_ABSOLUTE : 0u;
    return gage;
}

constexpr int kLsb = DATATYPE_BINARY_LSB_FIRST;
const FieldSpec kField1 = Spec(1, 1, 0);
const FieldSpec kField2 = Spec(2, 1, 0);
constexpr unsigned kOnly = READ_OPT_CHANNEL_ONLY;
const FieldSpec kAtLeast1Point5 = Spec(1, 1, 0, "GE(\"1.5\")");

const RecordCase kRecords[] = {
    {{}, "", {{0, 0.0, ""}}},
    // Leading bytes go with the first record.
    {{.start = "<2>", .end = "<13><10>", .separator = ",", .valueA = kField2},
     "xx\2A,12.5\r\n\2B,7.25\r\n",
     {{1, 12.5, "\2B,7.25\r\n"}, {1, 7.25, ""}}},
    // A terminator is found past a partial match of it, and not in fewer bytes than it has.
    {{.end = "<13><10>"}, "5\r6\r\n7", {{1, 5.0, "7"}, {0, 0.0, "7"}}},
    // Without a terminator or a length nothing is ever read.
    {{.end = ""}, "12.5\r\n", {{0, 0.0, "12.5\r\n"}}},
    // A record framed by length stays; with a separator only its field 1 is located.
    {{.end = "", .bodyLength = 4}, "12.5", {{1, 12.5, "12.5"}, {1, 12.5, "12.5"}}},
    {{.end = "", .separator = ",", .bodyLength = 4, .valueA = kField2}, "12.5", {{0, 0, "12.5"}}},
    // A record of the wrong length is consumed.
    {{.bodyLength = 3}, "1234\r567\r", {{0, 0.0, "567\r"}, {1, 567.0, ""}}},
    // The format's decimal comma; blanks between the sign and the digits go.
    {{.formatComma = true}, " 12,5\r- 3,25\r", {{1, 12.5, "- 3,25\r"}, {1, -3.25, ""}}},
    // The user's decimal comma reads gage numbers and literals (1.5 reads as 1 here).
    {{.userComma = true, .valueA = kAtLeast1Point5}, "1.2\r", {{1, 1.2, ""}}},
    // The value is set whether or not the conditions pass.
    {{.valueA = kAtLeast1Point5}, "1.2\r", {{0, 1.2, ""}}},
    // A literal-only format gives 1 (for records that match or not).
    {{.literal = Spec(1, 1, 0, "EQ(\"NRM\")"), .valueA = {}},
     "nrm\rNRMX\r",
     {{1, 1.0, "NRMX\r"}, {0, 1.0, ""}}},
    // Every literal of a condition must hold.
    {{.separator = ",", .channel = Spec(1, 1, 0, "GE(\"1\",\"2\")"), .valueA = kField2},
     "1,5\r2,6\r3,7\r",
     {{0, 5.0, "2,6\r3,7\r"}, {1, 6.0, "3,7\r"}, {1, 7.0, ""}}},
    // Channel only leaves another channel's record in place; without the option it is taken (the
    // read cycle judges). A parse that stopped before the channel was read counts as channel 0.
    {{.separator = ",", .channel = kField1, .channelNumber = 2, .valueA = kField2},
     "1,10\r2,20\r",
     {{0, 10.0, "1,10\r2,20\r", kOnly}, {1, 10.0, "2,20\r"}}},
    {{.separator = ",", .channel = kField1, .channelNumber = 2, .valueA = kField2},
     "1,x\r",
     {{0, 0.0, "1,x\r", kOnly}}},
    {{.separator = ",", .channel = kField1, .valueA = kField2}, "1,x\r", {{0, 0.0, "", kOnly}}},
    // Missing or short fields fail, and the record is consumed.
    {{.separator = ",", .valueA = Spec(5, 1, 0)}, "1,2,3\r", {{0, 0.0, ""}}},
    {{.valueA = Spec(1, 2, 3)}, "123\r1234\r", {{0, 0.0, "1234\r"}, {1, 234.0, ""}}},
    // Gain, zero, precision and absolute value; a gain of 0 leaves the value unscaled.
    {{.gain = 2.0, .zero = 1.0, .precision = 1, .absolute = true}, "-0.26\r", {{1, 1.5, ""}}},
    {{.gain = 0.0}, "-0.26\r", {{1, -0.26, ""}}},
    {{.precision = 0}, "2.4\r", {{1, 2.0, ""}}},
    // Sixteen-bit text loses its zero bytes, and its values must look numeric.
    {{.dataType = DATATYPE_ASCII16}, std::string("1\0.\0005\0\r\0", 8), {{1, 1.5, ""}}},
    {{.dataType = DATATYPE_ASCII16}, std::string("a\0b\0\r\0", 6), {{0, 0.0, ""}}},
    // A request sequence means nothing without a read command.
    {{.requestSequence = "?"}, "3?\r", {{1, 3.0, ""}}},
    // Binary values in both byte orders; four bytes are signed, three never negative, more
    // than four give 0, and a binary field needs its length.
    {Binary(kLsb, 2, 2), "\2\x10\x27", {{1, 1.52587890625, "\2\x10\x27"}}},
    {Binary(DATATYPE_BINARY_MSB_FIRST, 2, 2), "\2\x27\x10", {{1, 1.52587890625, "\2\x27\x10"}}},
    {Binary(kLsb, 4, 4), "\2\xFF\xFF\xFF\xFF", {{1, -1.0 / 65536 * 10, "\2\xFF\xFF\xFF\xFF"}}},
    {Binary(kLsb, 4, 3),
     "\2\xFF\xFF\xFF\xFF",
     {{1, 16777215.0 / 65536 * 10, "\2\xFF\xFF\xFF\xFF"}}},
    {Binary(kLsb, 5, 5), "\2\1\1\1\1\1", {{1, 0.0, "\2\1\1\1\1\1"}}},
    {Binary(kLsb, 2, 0), "\2\x10\x27", {{1, 0.0, "\2\x10\x27"}}},
    // The combinations of A and B (unknown codes give A), and B alone.
    {{.separator = ",", .valueB = kField2, .combination = 0}, "5,2\r", {{1, 5.0, ""}}},
    {{.separator = ",", .valueB = kField2, .combination = 2}, "5,2\r", {{1, 2.0, ""}}},
    {{.separator = ",", .valueB = kField2, .combination = 3}, "5,2\r", {{1, 3.0, ""}}},
    {{.separator = ",", .valueB = kField2, .combination = 4}, "5,2\r", {{1, 3.5, ""}}},
    {{.separator = ",", .valueB = kField2, .combination = 5}, "5,2\r", {{1, 7.0, ""}}},
    {{.separator = ",", .valueB = kField2, .combination = 6}, "5,2\r", {{1, 5.0, ""}}},
    {{.separator = ",", .valueA = {}, .valueB = kField2}, "5,2\r", {{1, 2.0, ""}}},
};

void ExpectParses(const RecordCase& record) {
    EngineFixture engine;
    engine.settings.DecimalSeparator = record.shape.userComma ? ',' : '.';
    const GageRecord gage = GageOf(record.shape);
    engine.Hold(0, record.input);
    for (const Step& step : record.steps) {
        ReadingResult result{};
        result.Value = 99.0;  // every parse starts from a cleared result
        ParseOutput output{result};
        EXPECT_EQ(ParseRecord(engine.context, nullptr, gage, output, step.options), step.parsed);
        EXPECT_EQ(ValueOf(result), step.value);
        EXPECT_EQ(engine.Held(0), step.held);
    }
}

TEST(ParserRecordsTest, Records) {
    for (std::size_t row = 0; row < std::size(kRecords); ++row) {
        SCOPED_TRACE(::testing::Message() << "record case " << row);
        ExpectParses(kRecords[row]);
    }
}

// Every build reads the same doubles, bit for bit (32 and 64 bits, Windows and Linux): products
// and differences whose double rounding differs from one rounding of an 80-bit intermediate,
// and rounding to places near a half.
TEST(ParserRecordsTest, SameBitsInEveryBuild) {
    // The record ("A" or "A;B"), gain, zero, precision, absolute value, the combination of A and B
    // (0 when the record has A only) and the bits of the reading.
    const std::tuple<const char*, double, double, int, bool, int, std::uint64_t> cases[] = {
        {"12.345", 0.7, 0.7, 15, false, 0, 0x401fc4189374bc6b},
        {"3.3", 1.1, 3.14159, 15, false, 0, 0x3fdf421c044284e0},
        {"-0.0071", 25.4, 0.1, 15, true, 0, 0x3fd1f1172ef0ae54},
        {"12.345", 1.0000001, 12.5, 15, false, 0, 0xbfc3d6ffe25f1640},
        {"12.345", 2.54, 3.14159, 15, false, 0, 0x403c36f73c0c1fc9},
        {"3.3", 0.3937007874015748, 0.7, 15, false, 0, 0x3fe32cbfe632cbfe},
        {"12.345", 1.0000001, 12.5, 7, false, 0, 0xbfc3d7002c75a9d0},
        {"250.125", 1.0, 0.0, 2, false, 0, 0x406f4428f5c28f5c},
        {"-47.62", 2.54, 0.0, 3, true, 0, 0x405e3d1eb851eb85},
        {"9.87654321", 1.3, 0.001, 4, false, 0, 0x4029ad4fdf3b645a},
        {"12.345;3.3", 1.1, 0.1, 15, false, 4, 0x4021026e978d4fe0},
        {"12.345;3.3", 0.7, 0.0, 15, false, 3, 0x40195374bc6a7efb},
    };
    for (const auto& [record, gain, zero, precision, absolute, combination, bits] : cases) {
        SCOPED_TRACE(::testing::Message() << record << " gain " << gain << " zero " << zero);
        const Shape shape{.separator = ";",
                          .valueB = combination != 0 ? kField2 : FieldSpec{},
                          .combination = combination,
                          .gain = gain,
                          .zero = zero,
                          .precision = precision,
                          .absolute = absolute};
        ExpectParses({shape, std::string(record) + "\r", {{1, Bits(bits), ""}}});
    }
}

// Parses of one gage over connection 0, for the cases that look beyond value and buffer.
class ParserTest : public ::testing::Test {
  protected:
    EngineFixture engine;
    GageRecord gage = OneValueGage("Caliper", "<13>");
    ReadingResult result{};
    ParseOutput output{result};

    ParserTest() { AllocateReceiveBuffer(engine.connections[0]); }
    int Parse(unsigned options = 0) {
        return ParseRecord(engine.context, nullptr, gage, output, options);
    }
    void Hold(std::string_view bytes) { engine.Hold(0, bytes); }
    std::string Held() { return std::string(engine.Held(0)); }
};

TEST_F(ParserTest, FieldsTextsAndReadingNumber) {
    SetFrame(gage.Format, "", "<13><10>", ";");
    gage.Format.ChannelField = Spec(1, 2, 2);
    gage.Format.CodeField = Spec(2, 1, 0);
    gage.Format.LiteralField = Spec(3, 2, 0);
    gage.Format.ValueAField = Spec(4, 1, 0);
    gage.Format.ReadingField = Spec(5, 1, 0);
    gage.Format.ValueBField = Spec(6, 1, 0);
    // Texts start where their field says and lose their spaces (only) at either end.
    Hold("C07;  bad part \t ;.MAX ;-1.5e1;70000.9;2\r\n");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(result.Channel, 7);
    EXPECT_STREQ(result.Code, "bad part \t");
    EXPECT_STREQ(result.Literal, "MAX");
    EXPECT_EQ(ValueOf(result), -15.0);
    EXPECT_EQ(result.ReadingNumber, 70000 & 0xFFFF);
    EXPECT_EQ(output.valueA, -15.0);
    EXPECT_EQ(output.valueB, 2.0);

    // Texts are cut to their fields; blanks leave them empty.
    const std::string code(40, 'c');
    const std::string literal(20, 'l');
    Hold("C01;" + code + ";" + literal + ";1;1;1\r\n");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(std::string(result.Code), code.substr(0, 31));
    EXPECT_EQ(std::string(result.Literal), literal.substr(1, 15));
    Hold("C01;    ;   ;1;1;1\r\n");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(std::string(result.Code) + result.Literal, "");
}

TEST_F(ParserTest, RequestSequenceRecordIsConsumedAfterTheDelayAndIsNoReading) {
    SetBytes(gage.Format.RequestSequence, gage.Format.RequestSequenceLength, "?");
    gage.Format.MeasReadCommand = "R";
    gage.Format.CommandDelay = 40;
    Hold("1?\r2\r");
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(engine.clock.slept, 40u);
    EXPECT_EQ(Held(), "2\r");
}

TEST_F(ParserTest, OverflowGuardDropsTheOldestHalf) {
    SetFrame(gage.Format, "<2>", "<13>");
    Hold(std::string(kSerialAppendLimit, 'x'));
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(engine.connections[0].RxCount, 8190);

    // A TCP/IP connection stops taking bytes at 4096: its guard acts there.
    ConnectionRecord& tcp = engine.connections[1];
    tcp.Kind = KIND_TCPIP;
    gage.ConnectionIndex = 1;
    engine.Hold(1, std::string(kTcpAppendLimit, 'x'));
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(tcp.RxCount, kTcpAppendLimit / 2);
}

TEST_F(ParserTest, RawCopyFollowsEveryParse) {
    gage.ConnectionIndex = 1;  // no buffer yet: nothing is read, with or without a copy
    EXPECT_EQ(Parse(), 0);
    std::uint8_t copy[4] = {};
    std::uint16_t copied = 99;
    output.copyBuffer = copy;
    output.copyLength = &copied;
    output.copyMaximum = 4;
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(copied, 0);
    gage.ConnectionIndex = 0;
    copied = 99;
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(copied, 0);
    Hold("123456\r");
    EXPECT_EQ(Parse(), 1);
    EXPECT_EQ(copied, 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(copy), 4), "1234");
}

FieldLocation At(std::string_view text) {
    return {true, reinterpret_cast<const std::uint8_t*>(text.data()),
            static_cast<int>(text.size())};
}

TEST(FindBytesTest, Positions) {
    const std::uint8_t bytes[] = {'a', 'b', 'a', 'b', 'c'};
    const std::uint8_t abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(FindBytes(bytes, 5, abc, 3), 2);
    EXPECT_EQ(FindBytes(bytes, 4, abc, 3), kNotFound);
    EXPECT_EQ(FindBytes(bytes, 2, abc, 3), kNotFound);
    EXPECT_EQ(FindBytes(bytes, 5, abc, 0), kNotFound);
}

TEST(FieldTextTest, AFieldThatIsNotThereHasNoText) {
    char text[4] = "abc";
    FieldText(FieldLocation{}, Spec(1, 1, 0), text, sizeof text);
    EXPECT_STREQ(text, "");
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

TEST(FieldValueTest, TypesAndSeparators) {
    GageFormat format;
    EXPECT_EQ(FieldValue(At("12"), FieldSpec{}, format, '.'), 0.0);  // undefined
    EXPECT_EQ(FieldValue(At("12,5"), Spec(1, 1, 0), format, '.'), 12.0);
    format.DecimalSeparator = {',', '\0'};
    EXPECT_EQ(FieldValue(At("12,5"), Spec(1, 1, 0), format, ','), 12.5);
    // The gage's separator becomes the user's, also where it starts the number.
    EXPECT_EQ(FieldValue(At(" ,5"), Spec(1, 1, 0), format, '.'), 0.5);
    EXPECT_EQ(FieldValue(At("x12"), Spec(1, 1, 0), format, '.'), 0.0);
    format.DataType = 9;  // unknown
    EXPECT_EQ(FieldValue(At("12"), Spec(1, 1, 0), format, '.'), 0.0);
}

TEST(ParseGageNumberTest, LikeTheDecimalConversionWithAGivenSeparator) {
    const std::pair<const char*, double> cases[] = {
        {"+.5", 0.5},           {"5.", 5.0},         {"1e", 1.0},
        {"1e+", 1.0},           {".", 0.0},          {"-", 0.0},
        {"inf", 0.0},           {"0x10", 0.0},       {"1e-999", 0.0},
        {"0.000123", 0.000123}, {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseGageNumber(text, '.'), value) << text;
    }
    EXPECT_EQ(ParseGageNumber("  -1.25e2xyz", '.'), -125.0);
    EXPECT_EQ(ParseGageNumber("1,5", ','), 1.5);
    EXPECT_EQ(ParseGageNumber("1.5", ','), 1.0);
    EXPECT_EQ(ParseGageNumber("123456789012345678901234567890", '.'),
              123456789012345678901234567890.0);
    EXPECT_EQ(ParseGageNumber(std::string(300, '9') + ".5", '.'), 1e300);
    EXPECT_EQ(ParseGageNumber("0." + std::string(300, '0') + "1", '.'), 1e-301);
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
    // Every literal must hold (the records' channel conditions check that with both results);
    // what cannot be read passes.
    ExpectSplit(at(1), {"", "EQ\"2\"", "EQ(\"2\"", "EQ()", "XX(\"2\")", "E"}, {"GE(\"1\",\"2\")"});
    ExpectSplit(at(1.6, ','), {"GE(\"1,5\")"}, {});
    ExpectSplit(at(1.4, ','), {}, {"GE(\"1,5\")"});
}

TEST(ConditionTest, TextLiterals) {
    const auto of = [](const char* text) {
        return [=](const char* condition) { return TestTextCondition(text, condition); };
    };
    ExpectSplit(of("OK"), {"NE(\"MIN\",\"MAX\")"}, {});
    ExpectSplit(of("max"), {}, {"NE(\"MIN\",\"MAX\")"});
    ExpectSplit(of("A"), {}, {"EQ(\"A\",\"B\")"});
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
    EXPECT_EQ(LowWordOf(HUGE_VAL), 0);
    EXPECT_EQ(LowWordOf(std::nan("")), 0);
}

}  // namespace
}  // namespace gage
