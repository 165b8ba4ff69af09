#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>

#include "reading/record_parser.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using testing_support::EngineFixture;
using testing_support::SetBytes;
using testing_support::Spec;

class ParserTest : public ::testing::Test {
  protected:
    EngineFixture engine;
    GageRecord gage;
    ReadingResult result{};
    ParseOutput output{result};

    ParserTest() {
        gage.Name = "Caliper";
        gage.InterfaceTypeNumber = 1;
        gage.Precision = -1;
        AllocateReceiveBuffer(engine.connections[0]);
    }
    GageFormat& Format() { return gage.Format; }
    void Frame(std::string_view start, std::string_view end, std::string_view separator = {}) {
        SetBytes(Format().RecordStart, Format().RecordStartLength, start);
        SetBytes(Format().RecordEnd, Format().RecordEndLength, end);
        SetBytes(Format().Separator, Format().SeparatorLength, separator);
    }
    int Parse(unsigned options = 0) {
        return ParseRecord(engine.context, nullptr, gage, output, options);
    }
    void Hold(std::string_view bytes) { engine.Hold(0, bytes); }
    std::string Held() { return std::string(engine.Held(0)); }
};

TEST_F(ParserTest, EmptyBufferAnswersZeroAndClearsTheResult) {
    Frame("", "<13>");
    Format().ValueAField = Spec(1, 1, 0);
    result.Value = 7.0;
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(ValueOf(result), 0.0);
}

TEST_F(ParserTest, LeadingBytesGoWithTheFirstRecordAndTheSecondStays) {
    Frame("<2>", "<13><10>", ",");
    Format().ValueAField = Spec(2, 1, 0);
    Hold(
        "xx\x02"
        "A,12.5\r\n\x02"
        "B,7.25\r\n");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 12.5);
    EXPECT_EQ(Held(),
              "\x02"
              "B,7.25\r\n");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 7.25);
    EXPECT_EQ(Held(), "");
}

TEST_F(ParserTest, NoTerminatorAndNoLengthNeverReads) {
    Format().ValueAField = Spec(1, 1, 0);
    Hold("12.5\r\n12.5\r\n");
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(Held(), "12.5\r\n12.5\r\n");  // nothing to consume
}

TEST_F(ParserTest, LengthFramedRecordIsFoundAgainAndWalksOnlyItsFirstField) {
    Format().BodyLength = 4;
    Format().ValueAField = Spec(1, 1, 0);
    Hold("12.5");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 12.5);
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(Held(), "12.5");

    // With a separator only field 1 is located: a value in field 2 is never found.
    SetBytes(Format().Separator, Format().SeparatorLength, ",");
    Format().ValueAField = Spec(2, 1, 0);
    EXPECT_EQ(Parse(), 0);
}

TEST_F(ParserTest, WrongLengthRecordIsConsumed) {
    Frame("", "<13>");
    Format().BodyLength = 3;
    Format().ValueAField = Spec(1, 1, 0);
    Hold("1234\r567\r");
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(Held(), "567\r");
    EXPECT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 567.0);
}

TEST_F(ParserTest, FormatDecimalCommaWithUserPoint) {
    Frame("", "<13>");
    Format().DecimalSeparator = {',', '\0'};
    Format().ValueAField = Spec(1, 1, 0);
    Hold(" 12,5\r- 3,25\r");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 12.5);
    ASSERT_EQ(Parse(), 1);  // blanks between the sign and the digits go
    EXPECT_EQ(ValueOf(result), -3.25);
}

TEST_F(ParserTest, UserDecimalCommaReadsGageNumbersAndLiterals) {
    engine.settings.DecimalSeparator = ',';
    Frame("", "<13>");
    Format().ValueAField = Spec(1, 1, 0, "GE(\"1.5\")");  // the literal reads as 1 here
    Hold("1.2\r");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 1.2);

    engine.settings.DecimalSeparator = '.';
    Hold("1.2\r");
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(ValueOf(result), 1.2);  // set whether or not the conditions passed
}

TEST_F(ParserTest, LiteralOnlyFormatGivesOneForMatchingRecords) {
    Frame("", "<13>");
    Format().LiteralField = Spec(1, 1, 0, "EQ(\"NRM\")");
    Hold("nrm\rNRMX\r");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 1.0);
    EXPECT_STREQ(result.Literal, "nrm");
    EXPECT_EQ(Parse(), 0);
    EXPECT_STREQ(result.Literal, "NRMX");
}

TEST_F(ParserTest, EveryLiteralOfAConditionMustHold) {
    Frame("", "<13>", ",");
    Format().ChannelField = Spec(1, 1, 0, "GE(\"1\",\"2\")");
    Format().ValueAField = Spec(2, 1, 0);
    Hold("1,5\r2,6\r3,7\r");
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(result.Channel, 1);
    EXPECT_EQ(Parse(), 1);
    EXPECT_EQ(Parse(), 1);
    EXPECT_EQ(result.Channel, 3);
    EXPECT_EQ(ValueOf(result), 7.0);
}

TEST_F(ParserTest, FieldsTextsAndReadingNumber) {
    Frame("", "<13><10>", ";");
    Format().ChannelField = Spec(1, 2, 2);
    Format().CodeField = Spec(2, 1, 0);
    Format().LiteralField = Spec(3, 1, 0);
    Format().ValueAField = Spec(4, 1, 0);
    Format().ReadingField = Spec(5, 1, 0);
    Hold("C07;  bad part ; MAX ;-1.5e1;70000.9\r\n");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(result.Channel, 7);
    EXPECT_STREQ(result.Code, "bad part");
    EXPECT_STREQ(result.Literal, "MAX");
    EXPECT_EQ(ValueOf(result), -15.0);
    EXPECT_EQ(result.ReadingNumber, 70000 & 0xFFFF);
    EXPECT_EQ(output.valueA, -15.0);
}

TEST_F(ParserTest, TextsAreCutToTheirFields) {
    Frame("", "<13>", ",");
    Format().CodeField = Spec(1, 1, 0);
    Format().LiteralField = Spec(2, 1, 0);
    const std::string code(40, 'c');
    const std::string literal(20, 'l');
    Hold(code + "," + literal + "\r");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(std::string(result.Code), code.substr(0, 31));
    EXPECT_EQ(std::string(result.Literal), literal.substr(0, 15));
}

TEST_F(ParserTest, CombinationCodes) {
    Frame("", "<13>", ",");
    Format().ValueAField = Spec(1, 1, 0);
    Format().ValueBField = Spec(2, 1, 0);
    const std::pair<int, double> expected[] = {{0, 5},   {1, 5}, {2, 2}, {3, 3},
                                               {4, 3.5}, {5, 7}, {6, 5}, {15, 5}};
    for (const auto& [code, value] : expected) {
        Format().Options = static_cast<std::uint16_t>(code << 4 | FMT_OPT_CLEAR_AFTER);
        Hold("5,2\r");
        ASSERT_EQ(Parse(), 1) << code;
        EXPECT_EQ(ValueOf(result), value) << code;
        EXPECT_EQ(output.valueB, 2.0);
    }
    Format().ValueAField = FieldSpec{};
    Hold("5,2\r");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 2.0);  // B alone
}

TEST_F(ParserTest, GainZeroPrecisionAbsolute) {
    Frame("", "<13>");
    Format().ValueAField = Spec(1, 1, 0);
    gage.Gain = 2.0;
    gage.Zero = 1.0;
    gage.Precision = 1;
    gage.Flags = GAGE_FLAG_ABSOLUTE;
    Hold("-0.26\r");
    ASSERT_EQ(Parse(), 1);
    EXPECT_DOUBLE_EQ(ValueOf(result), 1.5);

    gage.Gain = 0.0;  // unscaled
    gage.Zero = 0.0;
    gage.Precision = -1;  // unrounded
    gage.Flags = 0;
    Hold("-0.26\r");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), -0.26);

    gage.Precision = 0;
    Hold("2.4\r");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 2.0);
}

TEST_F(ParserTest, BinaryValuesInBothByteOrders) {
    Format().DataType = DATATYPE_BINARY_LSB_FIRST;
    Format().Bits = 16;
    Format().Scale = 65536;
    Format().FullScale = 10.0;
    Frame("<2>", "");
    Format().BodyLength = 2;
    Format().ValueAField = Spec(1, 1, 2);
    Hold("\x02\x10\x27");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 1.52587890625);

    Format().DataType = DATATYPE_BINARY_MSB_FIRST;
    engine.connections[0].RxCount = 0;
    Hold("\x02\x27\x10");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 1.52587890625);

    Format().DataType = DATATYPE_BINARY_LSB_FIRST;
    Format().BodyLength = 4;
    Format().ValueAField = Spec(1, 1, 4);
    engine.connections[0].RxCount = 0;
    Hold("\x02\xFF\xFF\xFF\xFF");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), -1.0 / 65536.0 * 10.0);

    Format().ValueAField = Spec(1, 1, 3);  // three bytes are never negative
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 16777215.0 / 65536.0 * 10.0);

    Format().BodyLength = 5;
    Format().ValueAField = Spec(1, 1, 5);  // more than four bytes give 0
    engine.connections[0].RxCount = 0;
    Hold("\x02\x01\x01\x01\x01\x01");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 0.0);

    Format().BodyLength = 2;
    Format().ValueAField = Spec(1, 1, 0);  // a binary value needs its length
    engine.connections[0].RxCount = 0;
    Hold("\x02\x10\x27");
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 0.0);
}

TEST_F(ParserTest, SixteenBitTextLosesItsZeroBytes) {
    Format().DataType = DATATYPE_ASCII16;
    Frame("", "<13>");
    Format().ValueAField = Spec(1, 1, 0);
    Hold(
        std::string_view("1\0.\0"
                         "5\0\r\0",
                         8));
    ASSERT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 1.5);
    EXPECT_EQ(Held(), "");
}

TEST_F(ParserTest, RequestSequenceRecordIsConsumedAfterTheDelayAndIsNoReading) {
    Frame("", "<13>");
    SetBytes(Format().RequestSequence, Format().RequestSequenceLength, "?");
    Format().MeasReadCommand = "R";
    Format().CommandDelay = 40;
    Format().ValueAField = Spec(1, 1, 0);
    Hold("1?\r2\r");
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(engine.clock.slept, 40u);
    EXPECT_EQ(Held(), "2\r");

    // Without a read command the sequence means nothing.
    Format().MeasReadCommand = "";
    Hold("3?\r");
    EXPECT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 2.0);
    EXPECT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 3.0);
    EXPECT_EQ(engine.clock.slept, 40u);
}

TEST_F(ParserTest, ChannelOnlyLeavesOtherChannelsRecordsInPlace) {
    Frame("", "<13>", ",");
    Format().ChannelField = Spec(1, 1, 0);
    Format().ValueAField = Spec(2, 1, 0);
    gage.ChannelNumber = 2;
    Hold("1,10\r2,20\r");
    EXPECT_EQ(Parse(READ_OPT_CHANNEL_ONLY), 0);
    EXPECT_EQ(Held(), "1,10\r2,20\r");
    EXPECT_EQ(Parse(), 1);  // without the option the record is taken; the read cycle judges
    EXPECT_EQ(result.Channel, 1);
    EXPECT_EQ(Held(), "2,20\r");

    // A parse that stopped before the channel was read counts as channel 0.
    engine.connections[0].RxCount = 0;
    Hold("1,x\r");
    EXPECT_EQ(Parse(READ_OPT_CHANNEL_ONLY), 0);
    EXPECT_EQ(Held(), "1,x\r");
    gage.ChannelNumber = 0;
    EXPECT_EQ(Parse(READ_OPT_CHANNEL_ONLY), 0);
    EXPECT_EQ(Held(), "");
}

TEST_F(ParserTest, MissingOrShortFieldsFailAndAreConsumed) {
    Frame("", "<13>", ",");
    Format().ValueAField = Spec(5, 1, 0);
    Hold("1,2,3\r");
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(Held(), "");

    SetBytes(Format().Separator, Format().SeparatorLength, "");
    Format().ValueAField = Spec(1, 2, 3);  // needs 4 characters
    Hold("123\r");
    EXPECT_EQ(Parse(), 0);
    Hold("1234\r");
    EXPECT_EQ(Parse(), 1);
    EXPECT_EQ(ValueOf(result), 234.0);
}

TEST_F(ParserTest, OverflowGuardDropsTheOldestHalf) {
    Frame("<2>", "<13>");
    Format().ValueAField = Spec(1, 1, 0);
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
    Frame("", "<13>");
    Format().ValueAField = Spec(1, 1, 0);
    std::uint8_t copy[4] = {};
    std::uint16_t copied = 99;
    output.copyBuffer = copy;
    output.copyLength = &copied;
    output.copyMaximum = 4;
    EXPECT_EQ(Parse(), 0);
    EXPECT_EQ(copied, 0);
    Hold("123456\r");
    EXPECT_EQ(Parse(), 1);
    EXPECT_EQ(copied, 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(copy), 4), "1234");
}

TEST(FindBytesTest, Positions) {
    const std::uint8_t bytes[] = {'a', 'b', 'a', 'b', 'c'};
    const std::uint8_t abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(FindBytes(bytes, 5, abc, 3), 2);
    EXPECT_EQ(FindBytes(bytes, 4, abc, 3), kNotFound);
    EXPECT_EQ(FindBytes(bytes, 2, abc, 3), kNotFound);
    EXPECT_EQ(FindBytes(bytes, 5, abc, 0), kNotFound);
    EXPECT_EQ(FindBytes(bytes, 5, abc + 2, 1), 4);
    EXPECT_EQ(FindBytes(bytes, 0, abc, 1), kNotFound);
}

}  // namespace
}  // namespace gage
