// Opening every connection at start-up: the TCP/IP connects go out together, yet each row ends as
// it would alone, the log keeps row order, and the interface strings reach every converter that
// answered (command 10 opens through the same connect-all and per-row opening).
// A converter that closes its end is noticed at the next read (the log of the close is the TCP/IP
// channel test's). Command 10 answers 0 only when every one of the 64 connections was tried and
// failed to open.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channels/channel_wait.h"
#include "channels/tcp_channel.h"
#include "config/configuration_file.h"
#include "entry/commands.h"
#include "entry/configuration_hooks.h"
#include "helpers/temporary_directory.h"
#include "helpers/text_lines.h"
#include "loopback_peer.h"

namespace gage {
namespace {

using test::LoopbackPeer;

constexpr const char* kTimedOut = "WSAETIMEDOUT: Connection timed out";
constexpr const char* kRefused = "WSAECONNREFUSED: Connection refused";

class ConnectsTogetherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        runtime.support.UseBuiltInsOnly(true);
        runtime.settings.LogPath = directory.File("ZRNGSV32.LOG");
        runtime.settings.DefinitionsPath =
            directory.Write("BRW_GAGE.DEF",
                            "[TYPE1]\nINIT1=0,I<13>\n[TYPE1.1]\nRECEND=<13><10>\nMEAS_READ=R<13>\n"
                            "MEASTIMEOUT=200\nVALUE1=1,1,0\n");
        runtime.settings.TcpConnectionTimeout = 0.5;
        ASSERT_EQ(TcpStartup(runtime.channels), 1);
    }
    void TearDown() override { TcpShutdown(runtime.channels, runtime.connections); }

    // Loads a configuration of TCP/IP rows to these ports, one gage on row 0, opening the rows as
    // start-up does.
    void Load(const std::vector<std::uint16_t>& ports) {
        std::string text = "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\n";
        for (std::size_t row = 0; row < ports.size(); ++row) {
            text += "MUX_" + std::to_string(row) + "=\"Net\",1," + std::to_string(ports[row]) +
                    ",127,0,0,1,1,1024,1,\n";
        }
        text += "[GAGES]\nGAGE_1=\"Net gage\",1,1,0,1,SN,0,0,0,1,4,0,0\n";
        ASSERT_EQ(
            LoadConfiguration({runtime.gages, runtime.connections}, nullptr,
                              directory.Write("BRW_GAGE.CFG", text),
                              runtime.settings.DefinitionsPath, MakeConfigurationHooks(runtime)),
            1);
    }

    test::TemporaryDirectory directory;
    Runtime runtime;
};

TEST_F(ConnectsTogetherTest, EveryRowSettlesAsAloneAndLogsInRowOrder) {
    LoopbackPeer accepting(LoopbackPeer::Mode::Accepting);
    LoopbackPeer silent(LoopbackPeer::Mode::Silent);
    ASSERT_TRUE(accepting.ready() && silent.ready());
    const std::uint16_t refusing = LoopbackPeer::RefusingPort();
    // Row order differs from the order in which the connects settle (refused first, silent
    // last), so a log written as they settle would show.
    const std::vector<std::uint16_t> ports{silent.port(), accepting.port(), refusing, silent.port(),
                                           accepting.port()};
    const std::vector<bool> opened{false, true, false, false, true};
    Load(ports);
    for (std::size_t row = 0; row < ports.size(); ++row) {
        EXPECT_EQ(runtime.connections[row].Socket.is_open(), opened[row]) << "row " << row;
    }
    EXPECT_EQ(test::LogTexts(runtime.settings.LogPath),
              (std::vector<std::string>{kTimedOut, kRefused, kTimedOut}));
    for (int converter = 0; converter < 2; ++converter) {
        ASSERT_TRUE(accepting.Accept());
        EXPECT_EQ(accepting.Receive(2), "I\r");  // the interface string, once each
    }
}

TEST_F(ConnectsTogetherTest, AClosedPeerIsNoticedAtTheNextRead) {
    LoopbackPeer converter(LoopbackPeer::Mode::Accepting);
    ASSERT_TRUE(converter.ready());
    Load({converter.port()});
    ConnectionRecord& record = runtime.connections[0];
    ASSERT_TRUE(record.Socket.is_open());
    ASSERT_TRUE(converter.Accept());
    EXPECT_EQ(converter.Receive(2), "I\r");
    converter.CloseAccepted();
    ASSERT_EQ(ChannelWaitReadable(record, 5000), 1);  // the close has arrived

    // Nobody answers the read; but it went out on a fresh connection that had its strings.
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_READ, "Net gage"), 0);
    EXPECT_TRUE(record.Socket.is_open());
    ASSERT_TRUE(converter.Accept());
    EXPECT_EQ(converter.Receive(4), "I\rR\r");
}

TEST_F(ConnectsTogetherTest, InitPortsAnswersZeroOnlyWhenEveryConnectionFailed) {
    const std::uint16_t port = LoopbackPeer::RefusingPort();
    for (ConnectionRecord& connection : runtime.connections) {
        LoopbackPeer::PointAt(connection, port);
    }
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_INIT_PORTS, nullptr), 0);
    ClearConnection(runtime.connections[17]);  // a row with nothing to open counts as opened
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_INIT_PORTS, nullptr), 1);
    for (const ConnectionRecord& connection : runtime.connections) {
        EXPECT_FALSE(connection.Socket.is_open());
    }
}

}  // namespace
}  // namespace gage
