#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/connection_line.h"
#include "config/gage_line.h"
#include "config/ipv4_address.h"

namespace gage {
namespace {

ConnectionLineStatus Parse(std::string_view line, ConnectionRecord& row,
                           const HostResolver& resolver = {}) {
    ClearConnection(row);
    return ParseConnectionLine(line, resolver, row);
}

TEST(ConnectionLine, SerialLineFillsEveryField) {
    ConnectionRecord row;
    ASSERT_EQ(Parse("\"Bench, left\",3,2,9600,8,1,3,2,512,0,", row),
              ConnectionLineStatus::Accepted);
    EXPECT_EQ(row.Name.view(), "Bench, left");
    EXPECT_EQ(row.InterfaceType, 3);
    EXPECT_EQ(row.PortNumber, 2);
    EXPECT_EQ(row.BaudRate, 9600u);
    EXPECT_EQ(row.DataBits, 8u);
    EXPECT_EQ(row.StopBits, 1u);
    EXPECT_EQ(row.Parity, 3u);
    EXPECT_EQ(row.FlowControl, 2u);
    EXPECT_EQ(row.BufferSize, 512);
    EXPECT_EQ(row.Kind, KIND_SERIAL);
    EXPECT_TRUE(row.HostName.empty());
    EXPECT_FALSE(row.PortHandle.is_open());
    EXPECT_FALSE(row.Socket.is_open());
}

TEST(ConnectionLine, NineFieldsAreMandatoryKindAndHostOptional) {
    ConnectionRecord row;
    EXPECT_EQ(Parse("\"A\",1,1,9600,8,1,1,1", row), ConnectionLineStatus::TooFewFields);
    EXPECT_TRUE(row.Name.empty());
    EXPECT_EQ(row.PortNumber, 0);
    ASSERT_EQ(Parse("\"A\",1,1,9600,8,1,1,1,256", row), ConnectionLineStatus::Accepted);
    EXPECT_EQ(row.Kind, KIND_SERIAL);
}

TEST(ConnectionLine, BufferSizeIsCappedAndOddKindsAreSerial) {
    ConnectionRecord row;
    ASSERT_EQ(Parse("\"A\",1,1,9600,8,1,1,1,4096,7,host", row), ConnectionLineStatus::Accepted);
    EXPECT_EQ(row.BufferSize, 1024);
    EXPECT_EQ(row.Kind, KIND_SERIAL);
    EXPECT_TRUE(row.HostName.empty());  // the host is read only for TCP/IP
}

TEST(ConnectionLine, SerialPortAbove64LeavesTheRowEmpty) {
    ConnectionRecord row;
    EXPECT_EQ(Parse("\"A\",1,64,9600,8,1,1,1,0,0,", row), ConnectionLineStatus::Accepted);
    EXPECT_EQ(Parse("\"A\",1,65,9600,8,1,1,1,0,0,", row), ConnectionLineStatus::SerialPortTooHigh);
    EXPECT_TRUE(row.Name.empty());
    EXPECT_EQ(row.BaudRate, 0u);
    EXPECT_EQ(Parse("\"A\",1,0,9600,8,1,1,1,0,0,", row), ConnectionLineStatus::Accepted);
}

TEST(ConnectionLine, LongNameLeavesTheRowConfiguredButUnnamed) {
    ConnectionRecord row;
    ASSERT_EQ(Parse("\"" + std::string(32, 'N') + "\",1,4,9600,8,1,1,1,0,0,", row),
              ConnectionLineStatus::Accepted);
    EXPECT_TRUE(row.Name.empty());
    EXPECT_EQ(row.PortNumber, 4);
}

TEST(ConnectionLine, TcpRowWithoutHostTakesItsAddressFromTheOctets) {
    ConnectionRecord row;
    ASSERT_EQ(Parse("\"Net\",2,4001,192,168,0,10,1,0,1,", row), ConnectionLineStatus::Accepted);
    EXPECT_EQ(row.Kind, KIND_TCPIP);
    EXPECT_EQ(row.IpAddress, NetworkOrderAddress(192, 168, 0, 10));
    EXPECT_EQ(row.TcpPort, 4001);
    EXPECT_EQ(FormatConnectionLine(row), "\"Net\",2,4001,192,168,0,10,1,0,1,");
}

TEST(ConnectionLine, TcpRowsNeedAPortAndAnAddress) {
    ConnectionRecord row;
    EXPECT_EQ(Parse("\"Net\",2,0,192,168,0,10,1,0,1,", row), ConnectionLineStatus::TcpPortZero);
    EXPECT_EQ(Parse("\"Net\",2,65536,192,168,0,10,1,0,1,", row), ConnectionLineStatus::TcpPortZero);
    ASSERT_EQ(Parse("\"Net\",2,65537,192,168,0,10,1,0,1,", row), ConnectionLineStatus::Accepted);
    EXPECT_EQ(row.TcpPort, 1);
    EXPECT_EQ(row.PortNumber, 65537);
    EXPECT_EQ(Parse("\"Net\",2,4001,255,255,255,255,1,0,1,", row),
              ConnectionLineStatus::AddressUnresolved);
    EXPECT_EQ(Parse("\"Net\",2,4001,300,1,1,1,1,0,1,", row),
              ConnectionLineStatus::AddressUnresolved);
    EXPECT_TRUE(row.Name.empty());
    EXPECT_EQ(Parse("\"Net\",2,4001,0,0,0,0,1,0,1,255.255.255.255", row),
              ConnectionLineStatus::AddressUnresolved);
}

TEST(ConnectionLine, HostNamesGoThroughTheResolver) {
    std::vector<std::string> asked;
    const HostResolver resolver = [&](const char* host) {
        asked.emplace_back(host);
        return std::string_view(host) == "gauge-hub" ? NetworkOrderAddress(127, 0, 0, 1)
                                                     : kInaddrNone;
    };
    ConnectionRecord row;
    ASSERT_EQ(Parse("\"Net\",2,4001,0,0,0,0,1,0,1,gauge-hub", row, resolver),
              ConnectionLineStatus::Accepted);
    EXPECT_EQ(row.HostName.view(), "gauge-hub");
    EXPECT_EQ(row.IpAddress, NetworkOrderAddress(127, 0, 0, 1));
    EXPECT_EQ(Parse("\"Net\",2,4001,0,0,0,0,1,0,1,nowhere", row, resolver),
              ConnectionLineStatus::AddressUnresolved);
    EXPECT_EQ(asked, (std::vector<std::string>{"gauge-hub", "nowhere"}));
    // Without a resolver only dotted addresses resolve.
    EXPECT_EQ(Parse("\"Net\",2,4001,0,0,0,0,1,0,1,gauge-hub", row),
              ConnectionLineStatus::AddressUnresolved);
    ASSERT_EQ(Parse("\"Net\",2,4001,0,0,0,0,1,0,1,127.0.0.1", row), ConnectionLineStatus::Accepted);
    EXPECT_EQ(row.IpAddress, NetworkOrderAddress(127, 0, 0, 1));
}

TEST(ConnectionLine, HostNamesUpToDnsLengthAreKept) {
    const HostResolver any = [](const char*) { return NetworkOrderAddress(127, 0, 0, 1); };
    ConnectionRecord row;
    const std::string longest(253, 'h');
    ASSERT_EQ(Parse("\"Net\",2,4001,0,0,0,0,1,0,1," + longest, row, any),
              ConnectionLineStatus::Accepted);
    EXPECT_EQ(row.HostName.view(), longest);
    EXPECT_EQ(FormatConnectionLine(row), "\"Net\",2,4001,0,0,0,0,1,0,1," + longest);
    EXPECT_EQ(Parse("\"Net\",2,4001,0,0,0,0,1,0,1," + longest + "h", row, any),
              ConnectionLineStatus::HostNameTooLong);
}

TEST(ConnectionLine, WriterWritesUnsignedNumbersAndEndsSerialLinesInAComma) {
    ConnectionRecord row;
    ASSERT_EQ(Parse("\"A\",1,-1,9600,8,1,1,1,-5,0,", row), ConnectionLineStatus::Accepted);
    const std::string line = FormatConnectionLine(row);
    EXPECT_EQ(line, "\"A\",1,4294967295,9600,8,1,1,1,4294967291,0,");
    ConnectionRecord again;
    ASSERT_EQ(Parse(line, again), ConnectionLineStatus::Accepted);
    EXPECT_EQ(again.PortNumber, -1);
    EXPECT_EQ(again.BufferSize, -5);
}

// ---- GAGE lines ----

GageRecord ParseGage(std::string_view line, int version,
                     GageLineStatus expected = GageLineStatus::Accepted) {
    GageRecord gage;
    EXPECT_EQ(ParseGageLine(line, version, gage), expected) << line;
    return gage;
}

TEST(GageLine, Layout9ReadsEveryField) {
    const GageRecord gage = ParseGage("\"Caliper 1\",3,2,4,5,SN-1234,-0.5,25,0.125,2.5,3,8,7", 9);
    EXPECT_EQ(gage.Name.view(), "Caliper 1");
    EXPECT_EQ(gage.InterfaceTypeNumber, 3);
    EXPECT_EQ(gage.FormatNumber, 2);
    EXPECT_EQ(gage.ChannelNumber, 4);
    EXPECT_EQ(gage.GageId, 5);
    EXPECT_EQ(gage.SerialNumber.view(), "SN-1234");
    EXPECT_EQ(gage.Minimum, -0.5);
    EXPECT_EQ(gage.Maximum, 25.0);
    EXPECT_EQ(gage.Zero, 0.125);
    EXPECT_EQ(gage.Gain, 2.5);
    EXPECT_EQ(gage.Precision, 3);
    EXPECT_EQ(gage.Flags, 8u);
    EXPECT_EQ(gage.ConnectionIndex, 7);
    EXPECT_EQ(FormatGageLine(gage), "\"Caliper 1\",3,2,4,5,SN-1234,-0.5,25,0.125,2.5,3,8,7");
}

TEST(GageLine, Layout9NormalisesGainAndPrecision) {
    EXPECT_EQ(ParseGage("\"G\",1,1,0,0,,0,0,0,0,3,0,0", 9).Gain, 1.0);
    EXPECT_EQ(ParseGage("\"G\",1,1,0,0,,0,0,0,1,20,0,0", 9).Precision, 15);
    EXPECT_EQ(ParseGage("\"G\",1,1,0,0,,0,0,0,1,-3,0,0", 9).Precision, 0);
}

TEST(GageLine, Layout8HasNoPrecision) {
    const GageRecord gage = ParseGage("\"G\",1,2,3,4,S,1,2,3,0,10,11", 8);
    EXPECT_EQ(gage.Zero, 3.0);
    EXPECT_EQ(gage.Gain, 1.0);
    EXPECT_EQ(gage.Precision, 7);
    EXPECT_EQ(gage.Flags, 10u);
    EXPECT_EQ(gage.ConnectionIndex, 11);
}

TEST(GageLine, Layout7TakesTheSignOfTheGainFromFlag4) {
    const GageRecord negated = ParseGage("\"G\",1,2,3,4,S,1,2,6,9", 7);
    EXPECT_EQ(negated.Gain, -1.0);
    EXPECT_EQ(negated.Flags, 6u);
    EXPECT_EQ(negated.Zero, 0.0);
    EXPECT_EQ(negated.Precision, 7);
    EXPECT_EQ(negated.ConnectionIndex, 9);
    EXPECT_EQ(FormatGageLine(negated), "\"G\",1,2,3,4,S,1,2,0,-1,7,6,9");
    EXPECT_EQ(ParseGage("\"G\",1,2,3,4,S,1,2,2,9", 7).Gain, 1.0);
}

TEST(GageLine, OldLayoutsHaveSixFields) {
    for (const int version : {6, 0, -4}) {
        const GageRecord gage = ParseGage("\"Old\",1,2,3,12,5", version);
        EXPECT_EQ(gage.GageId, 0);
        EXPECT_TRUE(gage.SerialNumber.empty());
        EXPECT_EQ(gage.Minimum, 0.0);
        EXPECT_EQ(gage.Gain, 1.0);  // flag 4 means nothing before layout 7
        EXPECT_EQ(gage.Precision, 7);
        EXPECT_EQ(gage.Flags, 12u);
        EXPECT_EQ(gage.ConnectionIndex, 5);
    }
}

TEST(GageLine, MissingFieldsUnknownVersionsAndStrayConnectionsAreSkipped) {
    ParseGage("\"G\",1,1,0,0,,0,0,0,1,3,0", 9, GageLineStatus::TooFewFields);
    ParseGage("\"G\",1,1,0,0,,0,0,0,1,3", 8, GageLineStatus::TooFewFields);
    ParseGage("\"G\",1,1,0,0,,0,0,0,1,3,0,0", 10, GageLineStatus::UnknownVersion);
    ParseGage("\"G\",1,1,0,0,,0,0,0,1,3,0,64", 9, GageLineStatus::ConnectionOutOfRange);
    ParseGage("\"G\",1,1,0,0,,0,0,0,1,3,0,-1", 9, GageLineStatus::ConnectionOutOfRange);
    ParseGage("\"G\",1,1,0,0,,0,0,0,1,3,0,63", 9);
    GageRecord untouched;
    untouched.Name = "keep";
    EXPECT_NE(ParseGageLine("\"G\",1", 9, untouched), GageLineStatus::Accepted);
    EXPECT_EQ(untouched.Name.view(), "keep");
}

TEST(GageLine, LongNameLeavesAFreeRow) {
    const GageRecord gage = ParseGage("\"" + std::string(40, 'x') + "\",1,1,0,0,,0,0,0,1,3,0,0", 9);
    EXPECT_FALSE(gage.IsNamed());
}

TEST(GageLine, SerialNumbersThatWouldSplitAreQuoted) {
    GageRecord gage = ParseGage("\"G\",1,1,0,0,x,0,0,0,1,3,0,2", 9);
    gage.SerialNumber = "SN,42";
    std::string line = FormatGageLine(gage);
    EXPECT_EQ(line, "\"G\",1,1,0,0,\"SN,42\",0,0,0,1,3,0,2");
    EXPECT_EQ(ParseGage(line, 9).SerialNumber.view(), "SN,42");
    EXPECT_EQ(ParseGage(line, 9).ConnectionIndex, 2);

    gage.SerialNumber = "\"quoted";
    line = FormatGageLine(gage);
    EXPECT_EQ(ParseGage(line, 9).SerialNumber.view(), "quoted");
    EXPECT_EQ(ParseGage(line, 9).ConnectionIndex, 2);

    gage.SerialNumber = "in\"side";  // no comma, no leading quote: written as it is
    EXPECT_EQ(ParseGage(FormatGageLine(gage), 9).SerialNumber.view(), "in\"side");
}

TEST(GageLine, SerialNumberIsCutAtSixtyThreeCharacters) {
    const GageRecord gage =
        ParseGage("\"G\",1,1,0,0," + std::string(80, 's') + ",0,0,0,1,3,0,0", 9);
    EXPECT_EQ(gage.SerialNumber.view(), std::string(63, 's'));
}

TEST(GageLine, RealsRoundTripAtSevenDigits) {
    const GageRecord gage = ParseGage("\"G\",1,1,0,0,,0.001,123456789,-1e-05,0.3333333,3,0,0", 9);
    EXPECT_EQ(FormatGageLine(gage), "\"G\",1,1,0,0,,0.001,1.234568e+08,-1e-05,0.3333333,3,0,0");
}

}  // namespace
}  // namespace gage
