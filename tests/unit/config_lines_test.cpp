// The MUX_<i> and GAGE_<n> lines of BRW_GAGE.CFG: each line and the record it fills (or why it
// fills none), and the line the writer makes of a record.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/c_number_text.h"
#include "config/connection_line.h"
#include "config/gage_line.h"
#include "config/ipv4_address.h"

namespace gage {
namespace {

using S = ConnectionLineStatus;

// name|type|port|baud.data.stop.parity|flow|buffer|kind|host|TCP port|address bytes
std::string Row(const ConnectionRecord& r) {
    const auto* ip = reinterpret_cast<const unsigned char*>(&r.IpAddress);
    const auto n = [](auto v) { return std::to_string(v); };
    return r.Name.str() + "|" + n(r.InterfaceType) + "|" + n(r.PortNumber) + "|" + n(r.BaudRate) +
           "." + n(r.DataBits) + "." + n(r.StopBits) + "." + n(r.Parity) + "|" + n(r.FlowControl) +
           "|" + n(r.BufferSize) + "|" + n(r.Kind) + "|" + r.HostName.str() + "|" + n(r.TcpPort) +
           "|" + n(ip[0]) + "." + n(ip[1]) + "." + n(ip[2]) + "." + n(ip[3]);
}

const std::string kEmptyRow = Row(ConnectionRecord{});
const std::string kHost253(253, 'h');

TEST(ConnectionLine, EachLineFillsItsRowOrLeavesItEmpty) {
    const struct {
        std::string line;
        ConnectionLineStatus status;
        std::string row;  // empty: the row stays empty
    } cases[] = {
        {"\"Bench, left\",3,2,9600,8,1,3,2,512,0,", S::Accepted,
         "Bench, left|3|2|9600.8.1.3|2|512|0||0|0.0.0.0"},
        {"\"A\",1,1,9600,8,1,1,1", S::TooFewFields, ""},
        {"\"A\",1,1,9600,8,1,1,1,256", S::Accepted, "A|1|1|9600.8.1.1|1|256|0||0|0.0.0.0"},
        // The buffer is capped, odd kinds are serial, and a serial line's host is not read.
        {"\"A\",1,1,9600,8,1,1,1,4096,7,host", S::Accepted, "A|1|1|9600.8.1.1|1|1024|0||0|0.0.0.0"},
        {"\"A\",1,64,9600,8,1,1,1,0,0,", S::Accepted, "A|1|64|9600.8.1.1|1|0|0||0|0.0.0.0"},
        {"\"A\",1,65,9600,8,1,1,1,0,0,", S::SerialPortTooHigh, ""},
        {"\"A\",1,0,9600,8,1,1,1,0,0,", S::Accepted, "A|1|0|9600.8.1.1|1|0|0||0|0.0.0.0"},
        {"\"" + std::string(32, 'N') + "\",1,4,9600,8,1,1,1,0,0,", S::Accepted,
         "|1|4|9600.8.1.1|1|0|0||0|0.0.0.0"},  // configured, but without a name
        {"\"Net\",2,4001,192,168,0,10,1,0,1,", S::Accepted,
         "Net|2|4001|192.168.0.10|1|0|1||4001|192.168.0.10"},
        {"\"Net\",2,0,192,168,0,10,1,0,1,", S::TcpPortZero, ""},
        // The TCP port is the low 16 bits of the port number.
        {"\"Net\",2,65536,192,168,0,10,1,0,1,", S::TcpPortZero, ""},
        {"\"Net\",2,65537,192,168,0,10,1,0,1,", S::Accepted,
         "Net|2|65537|192.168.0.10|1|0|1||1|192.168.0.10"},
        {"\"Net\",2,4001,255,255,255,255,1,0,1,", S::AddressUnresolved, ""},
        {"\"Net\",2,4001,300,1,1,1,1,0,1,", S::AddressUnresolved, ""},
        {"\"Net\",2,4001,0,0,0,0,1,0,1,255.255.255.255", S::AddressUnresolved, ""},
        {"\"Net\",2,4001,0,0,0,0,1,0,1,127.0.0.1", S::Accepted,
         "Net|2|4001|0.0.0.0|1|0|1|127.0.0.1|4001|127.0.0.1"},
        {"\"Net\",2,4001,0,0,0,0,1,0,1,gauge-hub", S::AddressUnresolved, ""},  // dotted only
        {"\"Net\",2,4001,0,0,0,0,1,0,1," + kHost253 + "h", S::HostNameTooLong, ""}};
    for (const auto& c : cases) {
        ConnectionRecord row;
        EXPECT_EQ(ParseConnectionLine(c.line, {}, row), c.status) << c.line;
        EXPECT_EQ(Row(row), c.row.empty() ? kEmptyRow : c.row) << c.line;
    }
}

TEST(ConnectionLine, HostNamesGoThroughTheResolver) {
    std::vector<std::string> asked;
    const HostResolver resolver = [&](const char* host) {
        asked.emplace_back(host);
        return std::string_view(host) == "nowhere" ? kInaddrNone
                                                   : NetworkOrderAddress(127, 0, 0, 1);
    };
    ConnectionRecord row;
    ASSERT_EQ(ParseConnectionLine("\"Net\",2,4001,0,0,0,0,1,0,1," + kHost253, resolver, row),
              S::Accepted);
    EXPECT_EQ(Row(row), "Net|2|4001|0.0.0.0|1|0|1|" + kHost253 + "|4001|127.0.0.1");
    EXPECT_EQ(FormatConnectionLine(row), "\"Net\",2,4001,0,0,0,0,1,0,1," + kHost253);
    ClearConnection(row);
    EXPECT_EQ(ParseConnectionLine("\"Net\",2,4001,0,0,0,0,1,0,1,nowhere", resolver, row),
              S::AddressUnresolved);
    EXPECT_EQ(asked, (std::vector<std::string>{kHost253, "nowhere"}));
}

TEST(ConnectionLine, WriterWritesUnsignedNumbersThatReadBackTheSame) {
    for (const auto& [line, written] : std::vector<std::pair<std::string, std::string>>{
             {"\"Net\",2,4001,192,168,0,10,1,0,1,", "\"Net\",2,4001,192,168,0,10,1,0,1,"},
             {"\"A\",1,-1,9600,8,1,1,1,-5,0,", "\"A\",1,4294967295,9600,8,1,1,1,4294967291,0,"}}) {
        ConnectionRecord row;
        ASSERT_EQ(ParseConnectionLine(line, {}, row), S::Accepted);
        EXPECT_EQ(FormatConnectionLine(row), written);
        ConnectionRecord again;
        ASSERT_EQ(ParseConnectionLine(written, {}, again), S::Accepted);
        EXPECT_EQ(Row(again), Row(row));
    }
}

// name|type.format|channel|id|serial|minimum|maximum|zero|gain|precision|flags|connection
std::string Gage(const GageRecord& g) {
    const auto n = [](auto v) { return std::to_string(v); };
    return g.Name.str() + "|" + n(g.InterfaceTypeNumber) + "." + n(g.FormatNumber) + "|" +
           n(g.ChannelNumber) + "|" + n(g.GageId) + "|" + g.SerialNumber.str() + "|" +
           FormatCReal(g.Minimum) + "|" + FormatCReal(g.Maximum) + "|" + FormatCReal(g.Zero) + "|" +
           FormatCReal(g.Gain) + "|" + n(g.Precision) + "|" + n(g.Flags) + "|" +
           n(g.ConnectionIndex);
}

TEST(GageLine, EachLayoutFillsTheGageOrLeavesItAlone) {
    const std::string line9 = "\"G\",1,1,0,0,,0,0,0,1,3,0,";
    const struct {
        std::string line;
        int version;
        GageLineStatus status;
        std::string gage;  // empty: left alone
    } cases[] = {
        {"\"Caliper 1\",3,2,4,5,SN-1234,-0.5,25,0.125,2.5,3,8,7", 9, GageLineStatus::Accepted,
         "Caliper 1|3.2|4|5|SN-1234|-0.5|25|0.125|2.5|3|8|7"},
        {"\"G\",1,1,0,0,,0,0,0,0,3,0,0", 9, GageLineStatus::Accepted, "G|1.1|0|0||0|0|0|1|3|0|0"},
        {"\"G\",1,1,0,0,,0,0,0,1,20,0,0", 9, GageLineStatus::Accepted, "G|1.1|0|0||0|0|0|1|15|0|0"},
        {"\"G\",1,1,0,0,,0,0,0,1,-3,0,0", 9, GageLineStatus::Accepted, "G|1.1|0|0||0|0|0|1|0|0|0"},
        {"\"G\",1,1,0,0," + std::string(80, 's') + ",0,0,0,1,3,0,0", 9, GageLineStatus::Accepted,
         "G|1.1|0|0|" + std::string(63, 's') + "|0|0|0|1|3|0|0"},
        {"\"" + std::string(40, 'x') + "\",1,1,0,0,,0,0,0,1,3,0,0", 9, GageLineStatus::Accepted,
         "|1.1|0|0||0|0|0|1|3|0|0"},  // a free row
        {"\"G\",1,2,3,4,S,1,2,3,0,10,11", 8, GageLineStatus::Accepted,
         "G|1.2|3|4|S|1|2|3|1|7|10|11"},
        // Layout 7 keeps the sign of the gain in flag 4.
        {"\"G\",1,2,3,4,S,1,2,6,9", 7, GageLineStatus::Accepted, "G|1.2|3|4|S|1|2|0|-1|7|6|9"},
        {"\"G\",1,2,3,4,S,1,2,2,9", 7, GageLineStatus::Accepted, "G|1.2|3|4|S|1|2|0|1|7|2|9"},
        {"\"Old\",1,2,3,12,5", 6, GageLineStatus::Accepted, "Old|1.2|3|0||0|0|0|1|7|12|5"},
        {"\"Old\",1,2,3,12,5", 0, GageLineStatus::Accepted, "Old|1.2|3|0||0|0|0|1|7|12|5"},
        {"\"Old\",1,2,3,12,5", -4, GageLineStatus::Accepted, "Old|1.2|3|0||0|0|0|1|7|12|5"},
        {line9 + "63", 9, GageLineStatus::Accepted, "G|1.1|0|0||0|0|0|1|3|0|63"},
        {"\"G\",1,1,0,0,,0,0,0,1,3,0", 9, GageLineStatus::TooFewFields, ""},
        {"\"G\",1,1,0,0,,0,0,0,1,3", 8, GageLineStatus::TooFewFields, ""},
        {line9 + "0", 10, GageLineStatus::UnknownVersion, ""},
        {line9 + "64", 9, GageLineStatus::ConnectionOutOfRange, ""},
        {line9 + "-1", 9, GageLineStatus::ConnectionOutOfRange, ""}};
    GageRecord kept;
    kept.Name = "keep";
    for (const auto& c : cases) {
        GageRecord gage = kept;
        EXPECT_EQ(ParseGageLine(c.line, c.version, gage), c.status) << c.line;
        EXPECT_EQ(Gage(gage), c.gage.empty() ? Gage(kept) : c.gage) << c.line;
    }
}

TEST(GageLine, WriterWritesLayout9AtSevenDigitsQuotingSerialsThatWouldSplit) {
    const std::pair<std::string, std::string> cases[] = {
        {"\"Caliper 1\",3,2,4,5,SN-1234,-0.5,25,0.125,2.5,3,8,7",
         "\"Caliper 1\",3,2,4,5,SN-1234,-0.5,25,0.125,2.5,3,8,7"},
        {"\"G\",1,1,0,0,,0.001,123456789,-1e-05,0.3333333,3,0,0",
         "\"G\",1,1,0,0,,0.001,1.234568e+08,-1e-05,0.3333333,3,0,0"},
        {"\"G\",1,1,0,0,\"SN,42\",0,0,0,1,3,0,2", "\"G\",1,1,0,0,\"SN,42\",0,0,0,1,3,0,2"},
        {"\"G\",1,1,0,0,in\"side,0,0,0,1,3,0,2", "\"G\",1,1,0,0,in\"side,0,0,0,1,3,0,2"}};
    for (const auto& [line, written] : cases) {
        GageRecord gage;
        ASSERT_EQ(ParseGageLine(line, 9, gage), GageLineStatus::Accepted) << line;
        EXPECT_EQ(FormatGageLine(gage), written);
        GageRecord again;
        ASSERT_EQ(ParseGageLine(written, 9, again), GageLineStatus::Accepted) << written;
        EXPECT_EQ(Gage(again), Gage(gage));
    }
    GageRecord gage;
    ASSERT_EQ(ParseGageLine("\"G\",1,2,3,4,S,1,2,6,9", 7, gage), GageLineStatus::Accepted);
    EXPECT_EQ(FormatGageLine(gage), "\"G\",1,2,3,4,S,1,2,0,-1,7,6,9");
    gage.SerialNumber = "\"quoted";  // a leading quote is written quoted, without it
    EXPECT_EQ(FormatGageLine(gage), "\"G\",1,2,3,4,\"quoted\",1,2,0,-1,7,6,9");
    ASSERT_EQ(ParseGageLine(FormatGageLine(gage), 9, gage), GageLineStatus::Accepted);
    EXPECT_EQ(Gage(gage), "G|1.2|3|4|quoted|1|2|0|-1|7|6|9");
}

}  // namespace
}  // namespace gage
