// TCP/IP channels over Windows Sockets, against a listener of the test's own on 127.0.0.1.

#include <gtest/gtest.h>
#include <windows.h>
#include <winsock2.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "channels/tcp_channel.h"
#include "helpers/log_texts.h"
#include "tcp_listener_win32.h"

namespace gage {
namespace {

using namespace std::chrono_literals;

class TcpChannelWin32Test : public ::testing::Test {
  protected:
    void SetUp() override {
        support.UseBuiltInsOnly(true);
        char directory[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, directory);
        settings.LogPath = std::string(directory) + "gage-tcp-test-" +
                           std::to_string(::GetCurrentProcessId()) + ".log";
        ::DeleteFileA(settings.LogPath.c_str());
        ASSERT_EQ(TcpStartup(context), 1);
        record.Kind = KIND_TCPIP;
        record.IpAddress = ::htonl(INADDR_LOOPBACK);
    }
    void TearDown() override {
        ConnectionTable none;
        TcpClose(record);
        TcpShutdown(context, none);
        ::DeleteFileA(settings.LogPath.c_str());
    }

    std::vector<std::string> LogTexts() const { return test::LogTexts(settings.LogPath); }

    bool ReceiveUntilHeld(int want) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (record.RxCount < want) {
            ChannelRead(context, nullptr, record);  // waits about a millisecond itself
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
        }
        return true;
    }

    Support support;
    ServerSettings settings;
    ChannelContext context{support, settings};
    ConnectionRecord record;
};

TEST_F(TcpChannelWin32Test, ConnectsBlockingAndTimedAndExchangesBytes) {
    test::Listener listener;
    record.TcpPort = listener.port();
    for (const double timeout : {0.0, 0.5}) {
        settings.TcpConnectionTimeout = timeout;
        ASSERT_EQ(TcpOpen(context, record), 1) << timeout;
        ASSERT_TRUE(listener.Accept());
        BOOL noDelay = FALSE;
        int size = sizeof noDelay;
        ASSERT_EQ(::getsockopt(static_cast<SOCKET>(record.Socket.get()), IPPROTO_TCP, TCP_NODELAY,
                               reinterpret_cast<char*>(&noDelay), &size),
                  0);
        EXPECT_TRUE(noDelay);  // small writes go out at once
        const std::uint8_t command[] = {'M', '\r'};
        EXPECT_EQ(ChannelWrite(context, nullptr, record, command, 2), 1);
        EXPECT_EQ(listener.ReceiveSome(), "M\r");
        listener.SendAll("+1.25\r\n");
        ASSERT_TRUE(ReceiveUntilHeld(7));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.RxBuffer.get()), 7),
                  "+1.25\r\n");
        EmptyReceiveBuffer(record);
    }
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);  // idle: nothing, and nothing logged
    EXPECT_TRUE(LogTexts().empty());
}

TEST_F(TcpChannelWin32Test, ARefusedConnectIsLoggedWithTheSocketsTexts) {
    std::uint16_t closedPort = 0;
    {
        test::Listener gone;
        closedPort = gone.port();
    }
    record.TcpPort = closedPort;
    settings.TcpConnectionTimeout = 2.0;
    EXPECT_EQ(TcpOpen(context, record), 0);
    EXPECT_FALSE(record.Socket.is_open());
    const std::vector<std::string> texts = LogTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "WSAECONNREFUSED: Connection refused");
    EXPECT_EQ(texts[1], "WSAENETUNREACH: Network is unreachable");
}

TEST_F(TcpChannelWin32Test, HoldsAtMost4096BytesAndPurgeReconnects) {
    test::Listener listener;
    record.TcpPort = listener.port();
    settings.TcpConnectionTimeout = 1.0;
    ASSERT_EQ(TcpOpen(context, record), 1);
    ASSERT_TRUE(listener.Accept());
    listener.SendAll(std::string(5000, 'z'));
    ASSERT_TRUE(ReceiveUntilHeld(kTcpAppendLimit));
    EXPECT_EQ(record.RxCount, kTcpAppendLimit);
    EXPECT_EQ(TcpReceive(context, record), 0);

    EXPECT_EQ(ChannelPurge(context, nullptr, record, PURGE_ALL), 1);
    ASSERT_TRUE(listener.Accept());
    listener.CloseClient();  // the peer closes: nothing received, nothing logged
    EXPECT_EQ(TcpReceive(context, record), 0);
    const std::uint8_t none = 0;
    EXPECT_EQ(TcpSend(context, record, &none, 0), 1);
    EXPECT_TRUE(LogTexts().empty());
}

}  // namespace
}  // namespace gage
