// Command texts as they reach the line, interface initialisation strings from the definitions
// file, and opening connections to the gage simulator.

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "channels/tcp_channel.h"
#include "config/profile.h"
#include "helpers/serial_record.h"
#include "reading/command_sender.h"
#include "reading/connection_opening.h"
#include "reading_socket_pair_posix.h"
#include "serial_tcp_test_support_posix.h"
#include "simulator.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using namespace std::chrono_literals;
using testing_support::EngineFixture;
using testing_support::SocketPairLine;
using testing_support::TempDirectory;

class CommandLineTest : public ::testing::Test {
  protected:
    EngineFixture engine;
    GageRecord gage;
    ConnectionRecord& record = engine.connections[0];
    SocketPairLine line{record};

    CommandLineTest() {
        gage.GageId = 65;  // 'A'
        gage.ChannelNumber = 7;
        gage.SerialNumber = "SN-0042";
    }
    std::string Sent(std::string_view text, bool withGage = true) {
        const int count =
            SendGageCommand(engine.context, nullptr, withGage ? &gage : nullptr, record, text);
        const std::string received = line.Received();
        EXPECT_EQ(count, static_cast<int>(received.size())) << text;
        return received;
    }
};

TEST_F(CommandLineTest, EveryTokenAsSent) {
    ASSERT_TRUE(line.ok());
    EXPECT_EQ(Sent("AB<13><10>"), "AB\r\n");
    EXPECT_EQ(Sent("<27>P"), "\x1bP");
    EXPECT_EQ(Sent("<PAUSE>x<START>y<STARTX>"), "xy");
    EXPECT_EQ(Sent("<d5>a<s2>b"), "ab");
    EXPECT_EQ(engine.clock.slept, 2500u);
    EXPECT_EQ(Sent("<ID><IDENT>"), "AA");
    EXPECT_EQ(Sent("<CH><ch><CHANNEL>"), "\x07\x07\x07");
    EXPECT_EQ(Sent("<300>"), std::string(1, '\x2c'));
    EXPECT_EQ(Sent("<>AB>C"), std::string("\0C", 2));
    EXPECT_EQ(Sent("<>AB"), "");
    EXPECT_EQ(Sent("xy<1"), "xy");
    EXPECT_EQ(Sent("<-1><SN>"), std::string("\xff\0", 2));
    EXPECT_EQ(Sent("[SN]"), "SN-0042");
    EXPECT_EQ(Sent("[ID]"), "65");
    EXPECT_EQ(Sent("[CH]"), "07");
    EXPECT_EQ(Sent("[ch]"), "7");
    EXPECT_EQ(Sent("[XY]"), "[XY]");
    EXPECT_EQ(Sent("a[b"), "a");
    EXPECT_EQ(Sent("[SNX][IDX][CHX]"),
              "SN-004265"
              "07");
    gage.SerialNumber = "";
    EXPECT_EQ(Sent("[SN]"), "");
}

TEST_F(CommandLineTest, WithoutAGageOnlyGageTokensAreSilent) {
    EXPECT_EQ(Sent("<2>R<ID><CH><ch>[SN][ID][CH][ch][XY]", false), "\x02R[XY]");
}

class InterfaceInitTest : public CommandLineTest {
  protected:
    TempDirectory directory;
    void WriteDefinitions(const std::string& text) {
        engine.settings.DefinitionsPath = directory.str() + "/BRW_GAGE.DEF";
        std::ofstream(engine.settings.DefinitionsPath) << text;
        record.InterfaceType = 4;
    }
};

TEST_F(InterfaceInitTest, SentInKeyOrderEachAfterItsDelay) {
    WriteDefinitions(
        "[TYPE4]\nDESCRIPTION=Mux\nINIT5=30,five\nINIT1=10,one\nINIT2=20,\"t,wo\"x\n"
        "INIT3=500\nINIT4=400,\nINIT6=0,<2>R<ID>\n[TYPE5]\nINIT1=0,other\n");
    SendInterfaceInit(engine.context, nullptr, record);
    EXPECT_EQ(line.Received(), "onet,wofive\x02R");
    EXPECT_EQ(engine.clock.slept, 60u);  // the lone delays (500, 400,) are not waited
}

TEST_F(InterfaceInitTest, OpeningAnUnusedRowSendsNothing) {
    WriteDefinitions("[TYPE0]\nINIT1=0,never\n");
    ConnectionRecord& unused = engine.connections[1];
    EXPECT_EQ(OpenGageConnection(engine.context, nullptr, 1), 1);
    EXPECT_FALSE(unused.PortHandle.is_open());
    EXPECT_EQ(OpenGageConnection(engine.context, nullptr, 64), 0);
    engine.connections[2].Kind = 9;
    engine.connections[2].PortNumber = 3;
    EXPECT_EQ(OpenGageConnection(engine.context, nullptr, 2), 1);
}

TEST_F(InterfaceInitTest, GageInitGoesBetweenTwoWaits) {
    WriteDefinitions("");
    engine.settings.WaitTime = 150;
    gage.Format.GageInitCommand = "G[ch]";
    EXPECT_EQ(SendGageInit(engine.context, nullptr, gage), 1);
    EXPECT_EQ(line.Received(), "G7");
    EXPECT_EQ(engine.clock.slept, 300u);
    gage.Format.GageInitCommand = "";
    EXPECT_EQ(SendGageInit(engine.context, nullptr, gage), 1);
    EXPECT_EQ(engine.clock.slept, 300u);

    // A serial connection with its port closed: nothing, not even the waits.
    gage.Format.GageInitCommand = "G";
    gage.ConnectionIndex = 1;
    gage.Name = "RandomValue";
    engine.connections[1].PortNumber = 1;
    EXPECT_EQ(SendGageInit(engine.context, nullptr, gage), 1);
    EXPECT_EQ(engine.clock.slept, 300u);
}

// Opening against the simulator: TCP/IP and a pseudo-terminal.
class OpenConnectionTest : public ::testing::Test {
  protected:
    TempDirectory directory;
    EngineFixture engine;
    std::unique_ptr<gagesim::Simulator> simulator;

    void SetUp() override {
        engine.support.UseBuiltInsOnly(true);
        engine.support.SetMessageBoxHook([](const MessageBoxRequest&) { return MB_RESULT_OK; });
        engine.settings.DefinitionsPath = directory.str() + "/BRW_GAGE.DEF";
        engine.settings.ComPrefix = directory.str() + "/com";
        engine.settings.TcpConnectionTimeout = 2.0;
        std::ofstream(engine.settings.DefinitionsPath) << "[TYPE2]\nINIT1=0,hello<13>\n";
    }
    void Start(gagesim::Transport transport) {
        gagesim::SimulatorOptions options;
        options.transport = transport;
        options.linkPath = directory.str() + "/com3";
        simulator = std::make_unique<gagesim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(simulator->Start(error)) << error;
    }
    ConnectionRecord& TcpRecord(std::uint16_t port) {
        ConnectionRecord& record = engine.connections[5];
        record.Kind = KIND_TCPIP;
        record.InterfaceType = 2;
        record.PortNumber = port;
        record.TcpPort = port;
        record.IpAddress = htonl(INADDR_LOOPBACK);
        return record;
    }
};

TEST_F(OpenConnectionTest, TcpConnectsOnceAndSendsTheStrings) {
    Start(gagesim::Transport::Tcp);
    ConnectionRecord& record = TcpRecord(simulator->Port());
    AllocateReceiveBuffer(record);
    record.RxCount = 3;
    ASSERT_EQ(OpenGageConnection(engine.context, nullptr, 5), 1);
    EXPECT_TRUE(record.Socket.is_open());
    EXPECT_EQ(record.RxCount, 0);
    EXPECT_TRUE(simulator->WaitForReceived("hello\r", 5s));
    const auto socket = record.Socket.get();
    ASSERT_EQ(OpenGageConnection(engine.context, nullptr, 5), 1);
    EXPECT_EQ(record.Socket.get(), socket);  // an open socket is kept
    EXPECT_TRUE(simulator->WaitForReceived("hello\rhello\r", 5s));
    EXPECT_EQ(engine.channels.commErrorReporting, COMM_REPORT_ALL);  // restored
}

TEST_F(OpenConnectionTest, RefusedTcpConnectionFails) {
    Start(gagesim::Transport::Tcp);
    const std::uint16_t port = simulator->Port();
    simulator->Stop();
    ConnectionRecord& record = TcpRecord(port);
    EXPECT_EQ(OpenGageConnection(engine.context, nullptr, 5), 0);
    EXPECT_FALSE(record.Socket.is_open());
    record.IpAddress = kInaddrNone;  // unresolved: nothing to open
    EXPECT_EQ(OpenGageConnection(engine.context, nullptr, 5), 1);
}

TEST_F(OpenConnectionTest, SerialPortIsOpenedOnceThenOnlyPurged) {
    Start(gagesim::Transport::Pty);
    ConnectionRecord& record = engine.connections[3];
    record.InterfaceType = 2;
    test::MakeSerial9600(record, 3);
    ASSERT_EQ(OpenGageConnection(engine.context, nullptr, 3), 1);
    ASSERT_TRUE(record.PortHandle.is_open());
    EXPECT_TRUE(simulator->WaitForReceived("hello\r", 5s));
    const auto handle = record.PortHandle.get();
    ASSERT_EQ(OpenGageConnection(engine.context, nullptr, 3), 1);
    EXPECT_EQ(record.PortHandle.get(), handle);
    EXPECT_TRUE(simulator->WaitForReceived("hello\rhello\r", 5s));

    ConnectionRecord& missing = engine.connections[4];
    missing.PortNumber = 9;  // no such device
    missing.BaudRate = 9600;
    EXPECT_EQ(OpenGageConnection(engine.context, nullptr, 4), 0);
    EXPECT_FALSE(missing.PortHandle.is_open());
}

}  // namespace
}  // namespace gage
