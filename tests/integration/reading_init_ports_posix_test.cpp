// Command 10 answers 0 only when every one of the 64 connections was tried and failed to open.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>

#include "entry/commands.h"

namespace gage {
namespace {

// A loopback port with nothing listening: bound once to learn a free number, then released.
std::uint16_t RefusingLoopbackPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (probe < 0 || ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (probe >= 0) {
            ::close(probe);
        }
        return 0;
    }
    ::close(probe);
    return ntohs(address.sin_port);
}

void ConfigureRefusedTcp(ConnectionRecord& connection, std::uint16_t port) {
    connection.Name = "Refusing";
    connection.Kind = KIND_TCPIP;
    connection.PortNumber = port;
    connection.TcpPort = port;
    connection.BaudRate = 127;
    connection.Parity = 1;
    connection.IpAddress = htonl(INADDR_LOOPBACK);
}

TEST(InitPortsTest, AnswersZeroOnlyWhenEveryConnectionFailed) {
    const std::uint16_t port = RefusingLoopbackPort();
    ASSERT_NE(port, 0);
    Runtime runtime;
    runtime.support.UseBuiltInsOnly(true);
    runtime.settings.LogPath =
        (std::filesystem::temp_directory_path() / "gage-init-ports-test.log").string();
    runtime.settings.TcpConnectionTimeout = 1.0;
    for (ConnectionRecord& connection : runtime.connections) {
        ConfigureRefusedTcp(connection, port);
    }
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_INIT_PORTS, nullptr), 0);

    // One row with nothing to open counts as opened.
    ClearConnection(runtime.connections[17]);
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_INIT_PORTS, nullptr), 1);
    for (const ConnectionRecord& connection : runtime.connections) {
        EXPECT_FALSE(connection.Socket.is_open());
    }
    std::filesystem::remove(runtime.settings.LogPath);
}

}  // namespace
}  // namespace gage
