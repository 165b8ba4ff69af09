// The small texts inside configuration values: comma-separated fields, names, byte strings
// such as <13><10>, field specifications such as 1,5,4,NE("0"), and a connection's short text.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "config/byte_string.h"
#include "config/connection_text.h"
#include "config/field_spec.h"
#include "config/field_tokenizer.h"

namespace gage {
namespace {

using namespace std::string_literals;

// Every field, each followed by "|"; at most 100.
std::string Fields(std::string_view text, std::string_view delimiters = ",") {
    FieldScanner scanner(text);
    std::string fields;
    for (int i = 0; i < 100; ++i) {
        const auto field = scanner.NextField(delimiters);
        if (!field) {
            break;
        }
        fields += std::string(*field) + "|";
    }
    return fields;
}

TEST(FieldScanner, SplitsAtTheFirstDelimiterKeepingQuotedSeparators) {
    // clang-format off
    const struct { std::string text; const char* delimiters; const char* fields; } cases[] = {
        {"a,,b", ",", "a||b|"}, {",a", ",", "|a|"}, {",,", ",", "||"}, {"", ",", ""},
        {"a,b,", ",", "a|b|"} /* a last separator ends a field */, {"1,\"x,y\"", ",", "1|x,y|"},
        {"\"Bench, left\",7", ",", "Bench, left|7|"}, {"\"\",7", ",", "|7|"},
        {"\"ab\"cd,9", ",", "ab|9|"}, {"\"ab\"cd", ",", "ab|"}, {"a\"b,c", ",", "a\"b|c|"},
        {"\"ab,cd,9", ",", "ab,cd,9|"}, {"1,\"", ",", "1||"} /* an unclosed quote runs on */,
        {"a;b,c", ";,", "a|b,c|"}, {"a,b,c", "", "a,b,c|"}, {"a,b\0,c"s, ",", "a|b|"}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(Fields(c.text, c.delimiters), c.fields) << c.text;
    }
    FieldScanner notStarted;
    EXPECT_FALSE(notStarted.NextField(","));
    FieldScanner rest("500,\"ABC,DEF\"tail");
    EXPECT_EQ(rest.NextField(','), "500");
    EXPECT_EQ(rest.RestField(), "ABC,DEF");
    EXPECT_FALSE(rest.RestField());
}

TEST(FieldScanner, ScansAreIndependentAndRestartable) {
    FieldScanner outer("1,2,3");
    EXPECT_EQ(outer.NextField(','), "1");
    FieldScanner inner("x,y");
    EXPECT_EQ(inner.NextField(','), "x");
    EXPECT_EQ(outer.NextField(','), "2");
    outer.Start("p,q");
    EXPECT_EQ(outer.NextField(','), "p");
    EXPECT_EQ(inner.NextField(','), "y");
}

TEST(FieldText, TrimAndNamesTakeOnlyWhatFits) {
    // Only spaces and quotes go, and only at the ends.
    // clang-format off
    const std::pair<const char*, const char*> trims[] = {{"  \"Gage A\" ", "Gage A"}, {"   ", ""},
        {"", ""}, {"a \" b", "a \" b"}, {"\t x", "\t x"}};
    // clang-format on
    for (const auto& [text, trimmed] : trims) {
        EXPECT_EQ(TrimField(text), trimmed) << text;
    }
    // The 32-character limit applies to the raw field, before trimming.
    const std::string n31(31, 'n');
    EXPECT_EQ(NameFromField(n31), n31);
    EXPECT_EQ(NameFromField(n31 + "n"), "");
    EXPECT_EQ(NameFromField(" " + n31), "");
    EXPECT_EQ(NameFromField("  Caliper 1 "), "Caliper 1");
}

TEST(EncodeByteString, BracketedNumbersBecomeBytesUpToSixtyFour) {
    std::string brackets;
    for (int i = 0; i < 40; ++i) {
        brackets += "<7>";
    }
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {{"<13><10>", "\r\n"}, {"<2>", "\x02"},
        {"A<9>B", "A\tB"}, {"<256>", "\0"s}, {"<-1>", "\xFF"}, {"", ""}, {"<CR>", "\0"s},
        {"< 13>", "\r"} /* read like atoi */, {"<1>>", "\x01>"}, {"<>5>", "\0"s},
        // A "<" without a ">" at least two characters on is dropped.
        {"<13", "13"}, {"<>", ">"}, {"<", ""}, {"<1", "1"}, {"a<", "a"}, {"<>x", ">x"},
        {std::string(127, 'x'), std::string(64, 'x')}, {brackets, std::string(40, '\a')},
        {brackets + brackets, std::string(64, '\a')}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        ByteString bytes;
        bytes.fill(0xAA);
        const std::uint16_t count = EncodeByteString(text, bytes);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + count), expected) << text;
        EXPECT_EQ(std::count(bytes.begin() + count, bytes.end(), 0), bytes.size() - count) << text;
    }
    ByteString field;  // the editing form keeps the text
    SetByteStringText(field, "<13><10>");
    EXPECT_EQ(ByteStringText(field), "<13><10>");
    SetByteStringText(field, std::string(100, 'z'));
    EXPECT_EQ(ByteStringText(field), std::string(63, 'z'));
}

TEST(ParseFieldSpec, NumbersConditionAndTheRulesOfUse) {
    const std::string condition23 = "EQ(\"" + std::string(17, 'A') + "\")";
    // clang-format off
    const struct { std::string text; bool noSeparator; int result, field, start, length;
                   std::string condition; } cases[] = {
        {"1,5,4,NE(\"0\")", false, 1, 1, 5, 4, "NE(\"0\")"}, {"3,1,0", false, 1, 3, 1, 0, ""},
        {"2,0,3", false, 1, 2, 1, 3, ""} /* start 0 or none is 1 */, {"2", false, 1, 2, 1, 0, ""},
        {"0,1,2", false, 0, 0, 0, 0, ""} /* field 0 needs no separator */, {"", true, 0, 0, 0, 0, ""},
        {"0,1,2", true, 1, 0, 1, 2, ""}, {"1,1,0," + condition23, false, 1, 1, 1, 0, condition23},
        {"1,1,0,EQ(\"" + std::string(18, 'A') + "\")", false, 1, 1, 1, 0, ""} /* too long */,
        {"2,1,0,EQ(\"A\",\"B\")", false, 1, 2, 1, 0, "EQ(\"A\",\"B\")"}};
    // clang-format on
    for (const auto& c : cases) {
        FieldSpec spec;
        EXPECT_EQ(ParseFieldSpec(c.text, spec, c.noSeparator), c.result) << c.text;
        const auto n = [](int v) { return std::to_string(v) + ","; };
        EXPECT_EQ(n(spec.Defined) + n(spec.FieldNumber) + n(spec.StartPosition) + n(spec.Length) +
                      spec.Condition.str(),
                  n(c.result) + n(c.field) + n(c.start) + n(c.length) + c.condition)
            << c.text;
    }
}

TEST(FieldSpecText, DialogRowsAreWrittenCutToTheirRoomAndReadBack) {
    // clang-format off
    const std::pair<FieldRowInput, const char*> rows[] = {
        {{"1", "1", "3", "EQ", "NRM"}, "1,1,3,EQ(\"NRM\")"}, {{"3", "", "", "", ""}, "3,0,0"},
        {{"", "2", "5", "", ""}, "0,2,5"}, {{"2", "1", "0", "EQ", ""}, "2,1,0"},
        {{"2", "1", "0", "", "NRM"}, "2,1,0"}, {{"", "", "", "EQ", "X"}, nullptr},
        {{"12345", "1", "1", "EQUAL", std::string(20, 'L')}, "123,1,1,EQU(\"LLLLLLLLLLLLLLL\")"},
        {{"0", "1", "0", "", ""}, nullptr}, {{"0", "0", "4", "", ""}, nullptr}};
    // clang-format on
    for (const auto& [row, text] : rows) {
        const auto written = FormatFieldSpec(row);
        EXPECT_EQ(written.value_or("none"), text ? text : "none") << row.fieldNumber << row.op;
    }
    FieldSpec spec;
    ParseFieldSpecText("2,0,3,GE(\"10\")", spec);
    EXPECT_EQ(spec.Defined, 0);
    EXPECT_EQ(spec.StartPosition, 0);  // no default in the editing form
    const ConditionParts parts = SplitCondition(spec.Condition.view());
    EXPECT_EQ(FormatFieldSpec({std::to_string(spec.FieldNumber), std::to_string(spec.StartPosition),
                               std::to_string(spec.Length), parts.op, parts.literal}),
              "2,0,3,GE(\"10\")");
    EXPECT_EQ(SplitCondition("EQ").op, "EQ");
    EXPECT_EQ(SplitCondition("EQ").literal, "");
    EXPECT_EQ(SplitCondition("EQ(\"open").literal, "open");
}

TEST(DescribeConnection, SerialPortAndLineSettingsOrTcpHostAndPort) {
    // clang-format off
    const struct { int port; std::uint32_t baud, parity, dataBits, stopBits; const char* text; } rows[] = {
        {1, 9600, 1, 8, 1, "COM1:9600,n,8,1"}, {12, 19200, 3, 7, 2, "COM12:19200,e,7,2"},
        {3, 4800, 2, 8, 3, "COM3:4800,o,8,1.5"}, {3, 4800, 4, 8, 1, "COM3:4800,m,8,1"},
        {3, 4800, 5, 8, 1, "COM3:4800,s,8,1"}, {1, 9600, 7, 8, 1, "COM1:9600,n,8,1"} /* fallback */,
        {1, 9600, 1, 8, 0, "COM1:9600,n,8,"}, {0, 9600, 1, 8, 1, "-"}, {-3, 9600, 1, 8, 1, "-"}};
    // clang-format on
    for (const auto& r : rows) {
        ConnectionRecord row;
        row.PortNumber = r.port;
        row.BaudRate = r.baud;
        row.Parity = r.parity;
        row.DataBits = r.dataBits;
        row.StopBits = r.stopBits;
        EXPECT_EQ(DescribeConnection(row, "-"), r.text);
    }
    EXPECT_EQ(DescribeConnection(ConnectionRecord{}, std::string(40, 'u')), std::string(31, 'u'));
    ConnectionRecord row;
    row.Kind = KIND_TCPIP;
    row.PortNumber = 4001;
    row.BaudRate = 192;
    row.DataBits = 168;
    row.Parity = 10;
    EXPECT_EQ(DescribeConnection(row, "-"), "192.168.0.10:4001");
    row.HostName = std::string(253, 'h');
    row.PortNumber = 65535;
    EXPECT_EQ(DescribeConnection(row, "-"), std::string(253, 'h') + ":65535");
}

}  // namespace
}  // namespace gage
