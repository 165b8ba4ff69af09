// TCP/IP channels against converters of the test's own on 127.0.0.1.

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <pthread.h>
#include <signal.h>
#endif

#include <chrono>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "channel_harness.h"
#include "channels/tcp_channel.h"
#include "loopback_peer.h"
#include "reading/engine_clock.h"

namespace gage {
namespace {

using test::LoopbackPeer;

// Bytes in which a slice from the wrong place, or out of order, shows.
std::string Patterned(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 7 + (i >> 12));
    }
    return bytes;
}

class TcpChannelTest : public ::testing::Test, protected test::ChannelHarness {
  protected:
    void SetUp() override { ASSERT_EQ(TcpStartup(context), 1); }
    void TearDown() override {
        ConnectionTable none;
        TcpClose(record);
        TcpShutdown(context, none);
    }

    LoopbackPeer peer;
    ConnectionRecord record;
};

TEST_F(TcpChannelTest, BlockingAndTimedConnectsExchangeBytesWithoutDelay) {
    for (const double timeout : {0.0, 0.5}) {
        SCOPED_TRACE(timeout);
        settings.TcpConnectionTimeout = timeout;
        ASSERT_TRUE(peer.Connect(context, record));
        EXPECT_TRUE(LoopbackPeer::SendsAtOnce(record.Socket.get()));
        EXPECT_EQ(Write(record, "M\r"), 1);
        EXPECT_EQ(peer.Receive(2), "M\r");
        peer.SendAll("+1.25\r\n");
        ASSERT_TRUE(test::ReadUntilHeld(context, record, 7));
        EXPECT_EQ(test::Held(record), "+1.25\r\n");
        EmptyReceiveBuffer(record);
        EXPECT_EQ(ChannelRead(context, nullptr, record), 0);  // idle: nothing, still open
        EXPECT_TRUE(record.Socket.is_open());
        TcpClose(record);
    }
    EXPECT_TRUE(LogTexts().empty());
}

TEST_F(TcpChannelTest, AFailedConnectIsLoggedOnceAndLeavesNoSocket) {
    LoopbackPeer silent(LoopbackPeer::Mode::Silent);
    ASSERT_TRUE(silent.ready());
    const std::tuple<std::uint16_t, double, const char*> cases[] = {
        {LoopbackPeer::RefusingPort(), 0.0, "WSAECONNREFUSED: Connection refused"},
        {LoopbackPeer::RefusingPort(), 2.0, "WSAECONNREFUSED: Connection refused"},
        {silent.port(), 0.3, "WSAETIMEDOUT: Connection timed out"},
    };
    for (const auto& [port, timeout, text] : cases) {
        SCOPED_TRACE(timeout);
        std::ofstream(settings.LogPath, std::ios::trunc).close();
        LoopbackPeer::PointAt(record, port);
        settings.TcpConnectionTimeout = timeout;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(TcpOpen(context, record), 0);
        EXPECT_GE(std::chrono::steady_clock::now() - start,
                  std::chrono::milliseconds(port == silent.port() ? 290 : 0));
        EXPECT_FALSE(record.Socket.is_open());
        EXPECT_EQ(LogTexts(), std::vector<std::string>{text});
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(TcpChannelTest, ARecordHoldsAtMost4096UnconsumedBytes) {
    ASSERT_TRUE(peer.Connect(context, record));
    const std::string payload = Patterned(6000);
    peer.SendAll(payload);
    ASSERT_TRUE(test::ReadUntilHeld(context, record, kTcpAppendLimit));
    EXPECT_EQ(TcpReceive(context, record), 0);                          // asks for nothing
    EXPECT_EQ(test::Held(record), payload.substr(0, kTcpAppendLimit));  // and no more

    ConsumeReceivedBytes(record, 1000);
    ASSERT_TRUE(test::ReadUntilHeld(context, record, kTcpAppendLimit));
    EXPECT_EQ(test::Held(record), payload.substr(1000, kTcpAppendLimit));
    ConsumeReceivedBytes(record, kTcpAppendLimit);
    ASSERT_TRUE(test::ReadUntilHeld(context, record, 904));
    EXPECT_EQ(test::Held(record), payload.substr(5096));
    EXPECT_TRUE(LogTexts().empty());
}

// (That a peer's close closes the socket, the simulator's TCP test and the engine's connection
// tests see.)
TEST_F(TcpChannelTest, APurgeReconnectsAndShutdownClosesEveryTcpSocket) {
    ConnectionTable table;
    for (const std::size_t row : {4u, 9u}) {
        ASSERT_TRUE(peer.Connect(context, table[row]));
    }
    EXPECT_EQ(ChannelPurge(context, nullptr, table[9], PURGE_ALL), 1);
    ASSERT_TRUE(peer.Accept());  // a fresh connection
    EXPECT_EQ(Write(table[9], "hi"), 1);
    EXPECT_EQ(peer.Receive(2), "hi");
    TcpShutdown(context, table);
    EXPECT_FALSE(table[4].Socket.is_open());
    EXPECT_FALSE(table[9].Socket.is_open());
    EXPECT_TRUE(LogTexts().empty());
    ASSERT_EQ(TcpStartup(context), 1);
}

TEST_F(TcpChannelTest, SendingWithoutAConnectionIsLoggedAndUnknownCodesHaveAText) {
    const std::uint8_t byte = 'x';
    EXPECT_EQ(TcpSend(context, record, &byte, 1), 0);
    EXPECT_EQ(TcpConnect(context, record), 0);
    TcpReportError(context, 12345);
    TcpReportError(context, TCP_ERR_HOST_NOT_FOUND);
    const std::vector<std::string> expected{"WSAENOTCONN: Socket is not connected",
                                            "WSAENOTCONN: Socket is not connected", "Unknown Error",
                                            "WSAHOST_NOT_FOUND: Host not found"};
    EXPECT_EQ(LogTexts(), expected);
}

// The engine's read loop relies on the system clock's wait to block on the line: a wait that
// returned at once would make every read loop spin.
TEST_F(TcpChannelTest, TheSystemClocksWaitBlocksUntilTheTimeIsUpAndWakesOnData) {
    ASSERT_TRUE(peer.Connect(context, record));
    EngineClock& clock = SystemEngineClock();
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(clock.WaitReadable(record, 60));
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(55));
    peer.SendAll("1.5\r");
    EXPECT_TRUE(clock.WaitReadable(record, 60000));
}

// A converter that stops reading must not hold the host: once the socket buffers are full, the
// send gives up after its time-out, says so and closes the connection.
TEST_F(TcpChannelTest, ASendToAConverterThatStoppedReadingTimesOutAndCloses) {
    ASSERT_TRUE(peer.Connect(context, record));
    const std::string payload(64 << 20, 'x');  // far more than both ends' buffers hold
    std::promise<void> returned;
    std::thread watchdog([&, done = returned.get_future()] {
        if (done.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
            peer.CloseAccepted();  // a send without a time-out: end it, the checks below fail
        }
    });
    EXPECT_EQ(TcpSend(context, record, reinterpret_cast<const std::uint8_t*>(payload.data()),
                      static_cast<int>(payload.size())),
              0);
    returned.set_value();
    watchdog.join();
    EXPECT_FALSE(record.Socket.is_open());
    EXPECT_EQ(LogTexts(), std::vector<std::string>{"WSAETIMEDOUT: Connection timed out"});
}

#if !defined(_WIN32)
// A send that a signal interrupts returns what it had sent so far: the channel must go on from
// there, and a signal before anything went out must not end the send.
TEST_F(TcpChannelTest, AnInterruptedSendGoesOnFromWhereItStopped) {
    struct sigaction interrupting {};
    struct sigaction previous {};
    interrupting.sa_handler = [](int) {};  // no SA_RESTART: blocked calls return early
    ASSERT_EQ(::sigaction(SIGUSR1, &interrupting, &previous), 0);
    ASSERT_TRUE(peer.Connect(context, record));
    // Far more than the socket buffers hold, so the sender blocks again and again.
    const std::string payload = Patterned(8 << 20);
    const pthread_t sender = ::pthread_self();
    std::string got;
    std::thread reader([&] {
        for (std::string some = "-"; !some.empty() && got.size() < payload.size(); got += some) {
            ::pthread_kill(sender, SIGUSR1);
            some = peer.Receive(std::min<std::size_t>(65536, payload.size() - got.size()));
        }
    });
    EXPECT_EQ(TcpSend(context, record, reinterpret_cast<const std::uint8_t*>(payload.data()),
                      static_cast<int>(payload.size())),
              1);
    reader.join();
    ::sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_TRUE(got == payload) << got.size();
    EXPECT_TRUE(LogTexts().empty());
}
#endif

}  // namespace
}  // namespace gage
