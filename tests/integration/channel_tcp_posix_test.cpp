// TCP/IP channels against the gage simulator and plain sockets on 127.0.0.1.

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "channels/tcp_channel.h"
#include "serial_tcp_test_support_posix.h"
#include "simulator.h"

namespace gage {
namespace {

using namespace std::chrono_literals;
using testing_support::ChannelHarness;
using testing_support::Held;
using testing_support::ReadUntilHeld;

// A port on 127.0.0.1 where nothing listens: bound once to learn a free number, then closed.
std::uint16_t ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

class TcpChannelTest : public ::testing::Test, protected ChannelHarness {
  protected:
    void SetUp() override {
        record.Kind = KIND_TCPIP;
        record.IpAddress = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(TcpStartup(context), 1);
    }

    void StartSimulator(gagesim::SimulatorOptions options = {}) {
        options.transport = gagesim::Transport::Tcp;
        simulator = std::make_unique<gagesim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(simulator->Start(error)) << error;
        record.TcpPort = simulator->Port();
        record.PortNumber = record.TcpPort;
    }

    ConnectionRecord record;
    std::unique_ptr<gagesim::Simulator> simulator;
};

TEST_F(TcpChannelTest, BlockingAndTimedConnectsReachTheGage) {
    gagesim::SimulatorOptions options;
    options.trigger = "M\r";
    options.values = {-0.25};
    options.recordTemplate = "{value:%+.3f}<13><10>";
    StartSimulator(options);
    for (const double timeout : {0.0, 0.5}) {
        settings.TcpConnectionTimeout = timeout;
        ASSERT_EQ(TcpOpen(context, record), 1) << timeout;
        ASSERT_TRUE(simulator->WaitForClient(5s));
        const std::uint8_t command[] = {'M', '\r'};
        EXPECT_EQ(ChannelWrite(context, nullptr, record, command, 2), 1);
        ASSERT_TRUE(ReadUntilHeld(context, record, 8));
        EXPECT_EQ(Held(record), "-0.250\r\n");
        EmptyReceiveBuffer(record);
        // The connected socket is back in blocking mode, and sends small writes at once.
        const int fd = static_cast<int>(record.Socket.get());
        EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
        int noDelay = 0;
        socklen_t size = sizeof noDelay;
        ASSERT_EQ(::getsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, &size), 0);
        EXPECT_NE(noDelay, 0);
    }
    EXPECT_EQ(simulator->CommandCount(), 2);
    EXPECT_TRUE(LogTexts().empty());
}

TEST_F(TcpChannelTest, ARefusedConnectIsLoggedAndLeavesNoSocket) {
    record.TcpPort = ClosedPort();
    settings.TcpConnectionTimeout = 0.0;
    EXPECT_EQ(TcpOpen(context, record), 0);
    EXPECT_FALSE(record.Socket.is_open());
    settings.TcpConnectionTimeout = 2.0;
    EXPECT_EQ(TcpOpen(context, record), 0);
    EXPECT_FALSE(record.Socket.is_open());
    const std::vector<std::string> expected{"WSAECONNREFUSED: Connection refused",
                                            "WSAECONNREFUSED: Connection refused"};
    EXPECT_EQ(LogTexts(), expected);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(TcpChannelTest, ATimedConnectGivesUpAfterItsTimeOut) {
    // A listener that never accepts, its backlog filled: further handshakes go unanswered.
    gagesim::SimulatorOptions options;
    options.acceptClients = false;
    options.backlog = 0;
    StartSimulator(options);
    std::vector<int> fillers;
    for (int i = 0; i < 3; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(record.TcpPort);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers.push_back(fd);
    }
    settings.TcpConnectionTimeout = 0.3;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(TcpOpen(context, record), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 290ms);
    EXPECT_FALSE(record.Socket.is_open());
    const std::vector<std::string> expected{"WSAETIMEDOUT: Connection timed out"};
    EXPECT_EQ(LogTexts(), expected);
    for (const int fd : fillers) {
        ::close(fd);
    }
}

TEST_F(TcpChannelTest, ARecordHoldsAtMost4096UnconsumedBytes) {
    StartSimulator();
    ASSERT_EQ(TcpOpen(context, record), 1);
    ASSERT_TRUE(simulator->WaitForClient(5s));
    std::string payload(6000, '\0');
    for (std::size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<char>('a' + i % 26);
    }
    simulator->Send(payload);
    ASSERT_TRUE(ReadUntilHeld(context, record, kTcpAppendLimit));
    EXPECT_EQ(record.RxCount, kTcpAppendLimit);
    EXPECT_EQ(TcpReceive(context, record), 0);  // asks for nothing
    EXPECT_EQ(Held(record), payload.substr(0, kTcpAppendLimit));

    ConsumeReceivedBytes(record, 1000);
    ASSERT_TRUE(ReadUntilHeld(context, record, kTcpAppendLimit));
    EXPECT_EQ(Held(record), payload.substr(1000, kTcpAppendLimit));
    ConsumeReceivedBytes(record, kTcpAppendLimit);
    ASSERT_TRUE(ReadUntilHeld(context, record, 904));
    EXPECT_EQ(Held(record), payload.substr(5096));
    EXPECT_TRUE(LogTexts().empty());
}

TEST_F(TcpChannelTest, AnIdlePeerGivesNothingAClosedOneClosesTheSocket) {
    StartSimulator();
    ASSERT_EQ(TcpOpen(context, record), 1);
    ASSERT_TRUE(simulator->WaitForClient(5s));
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    EXPECT_TRUE(record.Socket.is_open());  // idle is not closed
    EXPECT_TRUE(LogTexts().empty());
    simulator->DropLine();
    pollfd waiting{static_cast<int>(record.Socket.get()), POLLIN, 0};
    ASSERT_EQ(::poll(&waiting, 1, 5000), 1);
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    EXPECT_EQ(record.RxCount, 0);
    EXPECT_FALSE(record.Socket.is_open());
    const std::vector<std::string> expected{"WSAEDISCON: Graceful shutdown in progress"};
    EXPECT_EQ(LogTexts(), expected);
}

TEST_F(TcpChannelTest, APurgeReconnects) {
    StartSimulator();
    ASSERT_EQ(TcpOpen(context, record), 1);
    ASSERT_TRUE(simulator->WaitForClient(5s));
    simulator->DropLine();  // the old connection is gone for good
    EXPECT_EQ(ChannelPurge(context, nullptr, record, PURGE_ALL), 1);
    ASSERT_TRUE(simulator->WaitForClient(5s));
    const std::uint8_t hello[] = {'h', 'i'};
    EXPECT_EQ(ChannelWrite(context, nullptr, record, hello, 2), 1);
    EXPECT_TRUE(simulator->WaitForReceived("hi", 5s));
    EXPECT_TRUE(LogTexts().empty());
}

TEST_F(TcpChannelTest, LargeSendsArriveWholeAndInOrder) {
    // A plain server reading in small pieces: far more than the socket buffers hold at once, so
    // the sender must go on from wherever the stack stopped taking bytes.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    socklen_t size = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    record.TcpPort = ntohs(address.sin_port);

    std::vector<std::uint8_t> payload(4 << 20);
    std::iota(payload.begin(), payload.end(), std::uint8_t{0});
    for (std::size_t i = 0; i < payload.size(); i += 4099) {
        payload[i] = static_cast<std::uint8_t>(i >> 12);
    }
    std::vector<std::uint8_t> got;
    std::thread server([&] {
        const int peer = ::accept(listener, nullptr, nullptr);
        std::vector<std::uint8_t> chunk(1000);
        timeval limit{10, 0};
        ::setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        for (;;) {
            const ssize_t n = ::recv(peer, chunk.data(), chunk.size(), 0);
            if (n <= 0) {
                break;
            }
            got.insert(got.end(), chunk.begin(), chunk.begin() + n);
        }
        ::close(peer);
    });
    settings.TcpConnectionTimeout = 0.0;
    ASSERT_EQ(TcpOpen(context, record), 1);
    EXPECT_EQ(TcpSend(context, record, payload.data(), static_cast<int>(payload.size())), 1);
    TcpClose(record);
    server.join();
    ::close(listener);
    EXPECT_TRUE(got == payload) << got.size();
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

TEST_F(TcpChannelTest, ShutdownClosesEveryTcpSocket) {
    StartSimulator();
    ConnectionTable table;
    for (int row : {4, 9}) {
        ConnectionRecord& r = table[static_cast<std::size_t>(row)];
        r.Kind = KIND_TCPIP;
        r.IpAddress = record.IpAddress;
        r.TcpPort = record.TcpPort;
        ASSERT_EQ(TcpOpen(context, r), 1);
    }
    TcpShutdown(context, table);
    EXPECT_FALSE(table[4].Socket.is_open());
    EXPECT_FALSE(table[9].Socket.is_open());
    ASSERT_EQ(TcpStartup(context), 1);
}

}  // namespace
}  // namespace gage
