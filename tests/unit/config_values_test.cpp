// The texts inside configuration values and lines: comma-separated fields, names, byte strings
// such as <13><10>, field specifications such as 1,5,4,NE("0"), numbers and addresses as the C
// library reads them in the "C" locale, and the MUX_<i> and GAGE_<n> lines with the records they
// fill (or why they fill none) and the lines the writer makes of them.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "channels/tcp_channel.h"
#include "config/byte_string.h"
#include "config/c_number_text.h"
#include "config/connection_line.h"
#include "config/connection_text.h"
#include "config/field_spec.h"
#include "config/field_tokenizer.h"
#include "config/gage_line.h"
#include "config/ipv4_address.h"
#include "helpers/decimal_comma_locale.h"

namespace gage {
namespace {

using namespace std::string_literals;
using S = ConnectionLineStatus;

// Every field, each followed by "|"; at most 100.
std::string Fields(std::string_view text, std::string_view delimiters = ",") {
    FieldScanner scanner(text);
    std::string fields;
    std::optional<std::string_view> field;
    for (int i = 0; i < 100 && (field = scanner.NextField(delimiters)); ++i) {
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
    // Scans are independent of each other (the rest of a line as one field is the init strings'
    // case).
    FieldScanner first("500,ABC");
    EXPECT_EQ(first.NextField(','), "500");
    FieldScanner other("x,y");
    EXPECT_EQ(other.NextField(','), "x");
    EXPECT_EQ(first.NextField(','), "ABC");
    EXPECT_EQ(other.NextField(','), "y");
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
        const std::uint16_t count = EncodeByteString(text, bytes);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + count), expected) << text;
    }
    ByteString field;  // the editing form keeps the text, cut to its room
    SetByteStringText(field, std::string(100, 'z'));
    EXPECT_EQ(ByteStringText(field), std::string(63, 'z'));
}

TEST(FieldSpecText, DialogRowsAreWrittenCutToTheirRoomAndReadBack) {
    // clang-format off
    const std::pair<FieldRowInput, const char*> rows[] = {
        {{"3", "", "", "", ""}, "3,0,0"}, {{"2", "1", "0", "EQ", ""}, "2,1,0"},
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
    // A TCP/IP row keeps its address's octets in the baud rate, data bits, stop bits and parity.
    const struct { int port; std::uint32_t baud, parity, dataBits, stopBits; const char* text;
                   int kind = KIND_SERIAL; } rows[] = {
        {1, 9600, 1, 8, 1, "COM1:9600,n,8,1"}, {12, 19200, 3, 7, 2, "COM12:19200,e,7,2"},
        {3, 4800, 2, 8, 3, "COM3:4800,o,8,1.5"}, {3, 4800, 4, 8, 1, "COM3:4800,m,8,1"},
        {3, 4800, 5, 8, 1, "COM3:4800,s,8,1"}, {1, 9600, 7, 8, 1, "COM1:9600,n,8,1"} /* fallback */,
        {1, 9600, 1, 8, 0, "COM1:9600,n,8,"}, {0, 9600, 1, 8, 1, "-"}, {-3, 9600, 1, 8, 1, "-"},
        {4001, 192, 10, 168, 0, "192.168.0.10:4001", KIND_TCPIP}};
    // clang-format on
    for (const auto& r : rows) {
        ConnectionRecord row;
        row.PortNumber = r.port;
        row.BaudRate = r.baud;
        row.Parity = r.parity;
        row.DataBits = r.dataBits;
        row.StopBits = r.stopBits;
        row.Kind = r.kind;
        EXPECT_EQ(DescribeConnection(row, "-"), r.text);
    }
    EXPECT_EQ(DescribeConnection(ConnectionRecord{}, std::string(40, 'u')), std::string(31, 'u'));
    ConnectionRecord row;
    row.Kind = KIND_TCPIP;
    row.BaudRate = 192;  // a host name goes before the octets
    row.HostName = std::string(253, 'h');
    row.PortNumber = 65535;
    EXPECT_EQ(DescribeConnection(row, "-"), std::string(253, 'h') + ":65535");
}

TEST(ReadCInteger, ReadsLikeAtolAndTellsWhetherTheFieldIsThatNumber) {
    // clang-format off
    const struct { std::string text; std::int32_t value; bool asWritten; } cases[] = {
        {"42", 42, true}, {"  -17xyz", -17, false}, {"\t+8 ", 8, true}, {"abc", 0, false},
        {"", 0, true}, {"  ", 0, true}, {"- 5", 0, false}, {"+", 0, false}, {"12 34", 12, false},
        {"3.9", 3, false}, {"-2147483648", INT32_MIN, true}, {"-2147483649", INT32_MAX, false},
        {"4294967295", -1, true}, {"3000000000", -1294967296, true}, {"4294967296", 0, false},
        {std::string(100000, '9'), -1, false}};  // many digits neither crash nor hang
    // clang-format on
    for (const auto& c : cases) {
        const auto reading = ReadCIntegerField(c.text);
        EXPECT_EQ(reading.value, c.value) << c.text.substr(0, 20);
        EXPECT_EQ(reading.asWritten, c.asWritten) << c.text.substr(0, 20);
        EXPECT_EQ(ReadCInteger(c.text), c.value);
    }
}

TEST(ReadCReal, ReadsLikeAtofInTheCLocaleAndTellsWhetherTheFieldIsThatNumber) {
    // clang-format off
    const struct { std::string text; double value; bool asWritten; } cases[] = {
        {"0.001", 0.001, true}, {"  -2.5e3 mm", -2500.0, false}, {"+.5 ", 0.5, true},
        {"7.", 7.0, true}, {"0,5", 0.0, false} /* no decimal comma */, {"x", 0.0, false},
        {"", 0.0, true}, {" ", 0.0, true}, {"-", 0.0, false}, {"1e", 1.0, false}, {"0x1p3", 8.0, true},
        {"0x", 0.0, false}, {"inf", HUGE_VAL, true}, {"nan", NAN, true}, {"1e400", HUGE_VAL, true},
        {"-1e400", -HUGE_VAL, true}, {"1e-400", 0.0, true}, {"0.00001e-320", 0.0, true},
        {std::string(400, '9'), HUGE_VAL, true}, {"1e99999999999999999999", HUGE_VAL, true}};
    // clang-format on
    for (const auto& c : cases) {
        const auto reading = ReadCRealField(c.text);
        EXPECT_TRUE(std::isnan(c.value) ? std::isnan(reading.value) : reading.value == c.value)
            << c.text.substr(0, 20) << " read as " << reading.value;
        EXPECT_EQ(reading.asWritten, c.asWritten) << c.text.substr(0, 20);
    }
}

TEST(FormatCReal, WritesSevenSignificantDigitsWithAPeriodInAnyLocale) {
    // The seven digits and the exponent form are the saved gage lines' (config_file_test.cpp).
    // A decimal-comma locale must not leak into the configuration files. The process locale is
    // switched only here and always restored; where no such locale is installed the test says so.
    std::optional<test::DecimalCommaLocale> comma(std::in_place);
    if (!comma->active()) {
        GTEST_SKIP() << "no decimal-comma locale installed";
    }
    const std::string written = FormatCReal(1.0 / 3.0);
    const double read = ReadCReal("2.5");
    comma.reset();
    EXPECT_EQ(written + " " + FormatCReal(read), "0.3333333 2.5");
}

TEST(ParseIPv4Address, ReadsTheFormsOfInetAddrInNetworkOrder) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {{"192.168.0.10", "192.168.0.10"},
        {"0.0.0.0", "0.0.0.0"}, {"127.1", "127.0.0.1"}, {"10.1.258", "10.1.1.2"},
        {"0x7f.0.0.01", "127.0.0.1"}, {"3232235530", "192.168.0.10"}, {"1.2.3.4  ", "1.2.3.4"},
        {"255.255.255.255", "none"}, {"256.1.1.1", "none"}, {"300.1.2.3", "none"},
        {"1.2.3.4.5", "none"}, {"1.2.3.", "none"}, {"host.example", "none"},
        {"1.2.3.4x", "none"}, {"09.1.1.1", "none"}, {"", "none"}, {"99999999999", "none"}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        const std::uint32_t address = ParseIPv4Address(text);
        EXPECT_EQ(address == kInaddrNone ? "none" : TcpAddressText(address), expected) << text;
    }
}

// The line the writer makes of a row, its TCP port and its address.
std::string Row(const ConnectionRecord& r) {
    return FormatConnectionLine(r) + "|" + std::to_string(r.TcpPort) + "|" +
           TcpAddressText(r.IpAddress);
}

const std::string kEmptyRow = Row(ConnectionRecord{});

// What the configuration check reports of each line (tests/unit/config_findings_test.cpp) pins the
// statuses; these are the records.
TEST(ConnectionLine, EachLineFillsItsRowOrLeavesItEmpty) {
    // clang-format off
    const struct { std::string line; ConnectionLineStatus status; std::string row; } cases[] = {
        {"\"Bench, left\",3,2,9600,8,1,3,2,512,0,", S::Accepted,
         "\"Bench, left\",3,2,9600,8,1,3,2,512,0,|0|0.0.0.0"},
        // The buffer is capped, odd kinds are serial, and a serial line's host is not read.
        {"\"A\",1,1,9600,8,1,1,1,4096,7,host", S::Accepted,
         "\"A\",1,1,9600,8,1,1,1,1024,0,|0|0.0.0.0"},
        {"\"A\",1,0,9600,8,1,1,1,0,0,", S::Accepted, "\"A\",1,0,9600,8,1,1,1,0,0,|0|0.0.0.0"},
        // Numbers are written unsigned.
        {"\"A\",1,-1,9600,8,1,1,1,-5,0,", S::Accepted,
         "\"A\",1,4294967295,9600,8,1,1,1,4294967291,0,|0|0.0.0.0"},
        {"\"Net\",2,4001,192,168,0,10,1,0,1,", S::Accepted,
         "\"Net\",2,4001,192,168,0,10,1,0,1,|4001|192.168.0.10"},
        // The TCP port is the low 16 bits of the port number; empty: the row stays empty.
        {"\"Net\",2,65536,192,168,0,10,1,0,1,", S::TcpPortZero, ""},
        {"\"Net\",2,65537,192,168,0,10,1,0,1,", S::Accepted,
         "\"Net\",2,65537,192,168,0,10,1,0,1,|1|192.168.0.10"},
        {"\"Net\",2,4001,300,1,1,1,1,0,1,", S::AddressUnresolved, ""},
        {"\"Net\",2,4001,0,0,0,0,1,0,1,255.255.255.255", S::AddressUnresolved, ""},
        {"\"Net\",2,4001,0,0,0,0,1,0,1,127.0.0.1", S::Accepted,
         "\"Net\",2,4001,0,0,0,0,1,0,1,127.0.0.1|4001|127.0.0.1"},
        {"\"Net\",2,4001,0,0,0,0,1,0,1,gauge-hub", S::AddressUnresolved, ""} /* dotted only */};
    // clang-format on
    for (const auto& c : cases) {
        ConnectionRecord row;
        EXPECT_EQ(ParseConnectionLine(c.line, {}, row), c.status) << c.line;
        EXPECT_EQ(Row(row), c.row.empty() ? kEmptyRow : c.row) << c.line;
    }
}

// The statuses, and the limits of precision, serial number and name, are pinned by what the
// configuration check reports of each line (tests/unit/config_findings_test.cpp).
TEST(GageLine, EachLayoutFillsTheGageOrLeavesItAlone) {
    using G = GageLineStatus;
    const std::string line9 = "\"G\",1,1,0,0,,0,0,0,1,3,0,";
    // clang-format off
    const struct { std::string line; int version; GageLineStatus status; std::string gage; } cases[] = {
        {"\"Caliper 1\",3,2,4,5,SN-1234,-0.5,25,0.125,2.5,3,8,7", 9, G::Accepted,
         "\"Caliper 1\",3,2,4,5,SN-1234,-0.5,25,0.125,2.5,3,8,7"},
        {"\"G\",1,1,0,0,,0,0,0,0,3,0,0", 9, G::Accepted, "\"G\",1,1,0,0,,0,0,0,1,3,0,0"},
        {"\"G\",1,2,3,4,S,1,2,3,0,10,11", 8, G::Accepted, "\"G\",1,2,3,4,S,1,2,3,1,7,10,11"},
        // Layout 7 keeps the sign of the gain in flag 4.
        {"\"G\",1,2,3,4,S,1,2,6,9", 7, G::Accepted, "\"G\",1,2,3,4,S,1,2,0,-1,7,6,9"},
        {"\"G\",1,2,3,4,S,1,2,2,9", 7, G::Accepted, "\"G\",1,2,3,4,S,1,2,0,1,7,2,9"},
        {"\"Old\",1,2,3,12,5", 6, G::Accepted, "\"Old\",1,2,3,0,,0,0,0,1,7,12,5"},
        {"\"Old\",1,2,3,12,5", 0, G::Accepted, "\"Old\",1,2,3,0,,0,0,0,1,7,12,5"},
        {line9 + "63", 9, G::Accepted, "\"G\",1,1,0,0,,0,0,0,1,3,0,63"},
        {"\"G\",1,1,0,0,,0,0,0,1,3", 8, G::TooFewFields, ""} /* empty: left alone */,
        {line9 + "-1", 9, G::ConnectionOutOfRange, ""}};
    // clang-format on
    GageRecord kept;
    kept.Name = "keep";
    for (const auto& c : cases) {
        GageRecord gage = kept;
        EXPECT_EQ(ParseGageLine(c.line, c.version, gage), c.status) << c.line;
        EXPECT_EQ(FormatGageLine(gage), c.gage.empty() ? FormatGageLine(kept) : c.gage) << c.line;
    }
}

// The gage writer's own rule (the rest of the written lines is the save round trip's part, in
// tests/unit/config_file_test.cpp; unsigned numbers are a connection line's case): serial numbers
// that would split or begin with a quote are written quoted, without quotes inside, and read back.
TEST(LineWriters, QuotedSerialsReadBackTheSame) {
    const struct {
        const char *serial, *written, *read;
    } serials[] = {{"in\"side", "in\"side", "in\"side"}, {"\"quoted", "\"quoted\"", "quoted"}};
    for (const auto& c : serials) {
        GageRecord gage;
        gage.Name = "G";
        gage.SerialNumber = c.serial;
        const std::string line = FormatGageLine(gage);
        EXPECT_EQ(line, std::string("\"G\",0,0,0,0,") + c.written + ",0,0,0,1,7,0,0");
        ASSERT_EQ(ParseGageLine(line, 9, gage), GageLineStatus::Accepted) << line;
        EXPECT_EQ(gage.SerialNumber.view(), c.read);
    }
}

}  // namespace
}  // namespace gage
