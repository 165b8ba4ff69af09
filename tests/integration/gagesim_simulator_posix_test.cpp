// The gage simulator's own behaviour: the record template and the line it plays on.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <tuple>

#include "channel_harness.h"
#include "channels/tcp_channel.h"
#include "helpers/serial_record.h"
#include "loopback_peer.h"
#include "record_template.h"
#include "simulator.h"

namespace gagesim {
namespace {

using namespace std::chrono_literals;

TEST(SimulatorTemplate, BuildsTextBinaryAndWideRecords) {
    // A template, the value, channel and count it is rendered with, and the record.
    const std::tuple<const char*, double, int, int, std::string> cases[] = {
        {"<2>{sign}{abs:%08.3f}<13>", -12.5, 1, 1, "\x02-0012.500\r"},
        {"{sep:,}{value:%.2f};{channel:%02d};{count}<10>", 3.14159, 7, 42, "3,14;07;42\n"},
        {"{sign: }{abs}", 1.0, 1, 1, " 1.0000"},
        {"{int16le:100}", 2.56, 1, 1, std::string("\x00\x01", 2)},
        {"{int32be}", -2.0, 1, 1, "\xFF\xFF\xFF\xFE"},
        {"{wide}A<13>", 0.0, 1, 1, std::string("A\0\r\0", 4)},
        {"<x> <300> <123>", 0.0, 1, 1, "<x> <300> {"}};
    std::string error;
    for (const auto& [text, value, channel, count, record] : cases) {
        RecordTemplate parsed;
        ASSERT_TRUE(ParseRecordTemplate(text, parsed, error)) << text << error;
        EXPECT_EQ(RenderRecord(parsed, value, channel, count), record) << text;
    }
    for (const char* bad : {"{value:%s}", "{value:%f %f}", "{nonsense}", "{value"}) {
        RecordTemplate parsed;
        EXPECT_FALSE(ParseRecordTemplate(bad, parsed, error)) << bad;
    }
}

// The simulator's line is read through the library's own channels: a serial record mapped to its
// terminal, a TCP/IP record connected to its port.
class SimulatorLine : public ::testing::Test, protected gage::test::ChannelHarness {
  protected:
    void Start(SimulatorOptions options) {
        simulator = std::make_unique<Simulator>(options);
        std::string error;
        ASSERT_TRUE(simulator->Start(error)) << error;
        settings.PortMap.Map(1, simulator->DevicePath());
        gage::test::MakeSerial9600(record, 1);
        OpenSerial(record);
    }
    void TearDown() override { gage::ChannelClose(context, record); }
    std::string ReadAtLeast(int n) {
        EXPECT_TRUE(gage::test::ReadUntilHeld(context, record, n));
        return gage::test::Held(record);
    }
    gage::ConnectionRecord record;
    std::unique_ptr<Simulator> simulator;
};

// An addressed trigger is answered only by its own channel, with that channel's own count. (That
// plain commands are answered by the next value and channel, a queued reply first, the CLI read
// tests see.)
TEST_F(SimulatorLine, AnAddressedTriggerIsAnsweredByItsChannelWithItsOwnCount) {
    Start({.linkPath = "",
           .recordTemplate = "{channel}/{count};",
           .values = {1.0},
           .channels = {1, 2, 12},
           .trigger = "#{ch}?"});
    // #03? addresses no channel of this multiplexer and is not answered.
    ASSERT_EQ(Write(record, "#02?#12?#03?#02?#01?"), 20);
    ASSERT_TRUE(simulator->WaitForCommands(4, 5s));
    EXPECT_EQ(ReadAtLeast(17), "2/1;12/1;2/2;1/1;");
}

// (How a dropped terminal line reaches the reader, the serial channel's tests see.)
TEST_F(SimulatorLine, PartialRecordsAndNoise) {
    Start({.linkPath = "",
           .recordTemplate = "<2>{value:%.3f}<3>",
           .values = {5.0},
           .trigger = "",
           .noiseBytes = 2,
           .partialBytes = 4});
    simulator->SendRecords(2);
    const std::string got = ReadAtLeast(12);
    ASSERT_EQ(got.size(), 12u);
    EXPECT_EQ(got.substr(2, 4), "\0025.0");  // octal: STX, then '5'
    EXPECT_EQ(got.substr(8, 4), "\0025.0");
}

TEST_F(SimulatorLine, DropsTheTcpLineMidRecordWhenAsked) {
    // Over TCP what was sent before the drop still arrives (a terminal's hang-up would discard
    // unread input), so the cut is visible to the reader.
    Simulator tcp({.transport = Transport::Tcp,
                   .linkPath = "",
                   .recordTemplate = "ABCDEFGH",
                   .values = {},
                   .trigger = "go",
                   .dropAfterBytes = 11});
    std::string error;
    ASSERT_TRUE(tcp.Start(error)) << error;
    ASSERT_EQ(gage::TcpStartup(context), 1);
    gage::test::LoopbackPeer::PointAt(record, tcp.Port());
    ASSERT_EQ(gage::TcpOpen(context, record), 1);
    ASSERT_TRUE(tcp.WaitForClient(5s));
    EXPECT_EQ(Write(record, "gogogo"), 1);
    EXPECT_EQ(ReadAtLeast(11), "ABCDEFGHABC");
    ASSERT_EQ(gage::ChannelWaitReadable(record, 5000), 1);
    EXPECT_EQ(gage::ChannelRead(context, nullptr, record), 0);
    EXPECT_FALSE(record.Socket.is_open());  // the simulator closed the connection
    EXPECT_TRUE(tcp.LineDropped());
    gage::ConnectionTable none;
    gage::TcpShutdown(context, none);
}

}  // namespace
}  // namespace gagesim
