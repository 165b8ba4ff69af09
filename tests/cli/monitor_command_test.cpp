// gagesrv monitor against the gage simulator, on a pseudo-terminal behind a serial port number
// and on a TCP port of 127.0.0.1.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gagesrv_process.h"
#include "simulator.h"

namespace gage::cli_test {
namespace {

using namespace std::chrono_literals;

constexpr auto kRunLimit = std::chrono::milliseconds(30000);

// A TCP port on 127.0.0.1 on which nothing listens (bound once, then released).
std::uint16_t UnusedTcpPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    std::uint16_t port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

class MonitorCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(ports_.path().empty());
        config_.Write("ZRN_SYS.INI", "[GAGESERVER]\nCOM_PREFIX=" + ports_.str() +
                                         "/c\nWAITTIME=0\nTCPIP_CONNECTION_TIMEOUT=2\n");
    }

    // MUX_0 "Bench Port" on serial port 3, MUX_1 "Net Box" on 127.0.0.1:tcpPort, MUX_2 "Empty
    // Port" on serial port 4, where no device exists.
    void WriteConnections(std::uint16_t tcpPort) {
        config_.Write("BRW_GAGE.CFG",
                      "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n\n[INTERFACES]\n"
                      "MUX_0=\"Bench Port\",1,3,9600,8,1,1,1,1024,0,\n"
                      "MUX_1=\"Net Box\",1," +
                          std::to_string(tcpPort) +
                          ",127,0,0,1,1,1024,1,\n"
                          "MUX_2=\"Empty Port\",1,4,9600,8,1,1,1,1024,0,\n\n[GAGES]\n");
    }

    // A simulator on the pty behind serial port 3 that answers trigger with one record.
    std::unique_ptr<gagesim::Simulator> StartSerialSimulator(const std::string& recordTemplate,
                                                             const std::string& trigger) {
        gagesim::SimulatorOptions options;
        options.transport = gagesim::Transport::Pty;
        options.linkPath = ports_.str() + "/c3";
        options.recordTemplate = recordTemplate;
        options.trigger = trigger;
        return Start(options);
    }

    std::unique_ptr<gagesim::Simulator> StartTcpSimulator(const std::string& recordTemplate,
                                                          const std::string& trigger) {
        gagesim::SimulatorOptions options;
        options.transport = gagesim::Transport::Tcp;
        options.recordTemplate = recordTemplate;
        options.trigger = trigger;
        return Start(options);
    }

    ProcessResult Monitor(const std::vector<std::string>& args, const std::string& input) {
        std::vector<std::string> all{"monitor", "--seconds", "20"};
        all.insert(all.end(), args.begin(), args.end());
        return RunGagesrv(config_.path(), all, input, kRunLimit);
    }

    ConfigDirectory config_;
    // Short, since "<dir>/c" is the serial prefix and COM_PREFIX holds at most 15 characters.
    test::TemporaryDirectory ports_{"/tmp", "gs"};

  private:
    static std::unique_ptr<gagesim::Simulator> Start(const gagesim::SimulatorOptions& options) {
        auto simulator = std::make_unique<gagesim::Simulator>(options);
        std::string error;
        EXPECT_TRUE(simulator->Start(error)) << error;
        return simulator;
    }
};

// The monitor sends the typed "?" only once it watches, so the record cannot arrive before the
// port was prepared (which discards whatever was waiting).
TEST_F(MonitorCommandTest, ShowsReceivedBytesAsHexAndAsText) {
    WriteConnections(1);
    const auto simulator = StartSerialSimulator("Hello<13><10>", "?");

    const ProcessResult hex = Monitor({"--hex", "--bytes", "7", "bench port"}, "?\n");
    EXPECT_FALSE(hex.timedOut);
    EXPECT_EQ(hex.exitStatus, 0) << hex.err;
    EXPECT_EQ(hex.out, "48 65 6C 6C 6F 0D 0A \n");
    EXPECT_NE(hex.err.find("Watching \"Bench Port\""), std::string::npos) << hex.err;
    EXPECT_NE(hex.err.find("Ctrl-C"), std::string::npos) << hex.err;

    const ProcessResult raw = Monitor({"--bytes", "7", "Bench Port"}, "?\n");
    EXPECT_EQ(raw.exitStatus, 0) << raw.err;
    EXPECT_EQ(raw.out, "Hello\r\n");
}

TEST_F(MonitorCommandTest, HexViewBreaksLongRunsIntoLines) {
    WriteConnections(1);
    const auto simulator = StartSerialSimulator("0123456789ABCDEFGH", "?");
    const ProcessResult hex = Monitor({"--hex", "--bytes", "18", "MUX_0"}, "?\n");
    EXPECT_EQ(hex.exitStatus, 0) << hex.err;
    EXPECT_EQ(hex.out,
              "30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46 \n"
              "47 48 \n");
}

TEST_F(MonitorCommandTest, RawViewShowsControlAndHighBytesAsTokens) {
    WriteConnections(1);
    const auto simulator = StartSerialSimulator("A<0>B<27>[2J<7><200>\t<13><10>", "?");
    const ProcessResult raw = Monitor({"--bytes", "12", "Bench Port"}, "?\n");
    EXPECT_EQ(raw.exitStatus, 0) << raw.err;
    // Nothing that could drive the terminal reaches it; the zero byte does not cut the text.
    EXPECT_EQ(raw.out, "A<0>B<27>[2J<7><200>\t\r\n");
}

TEST_F(MonitorCommandTest, TypedLineIsSentWithItsTokensExpanded) {
    const auto simulator = StartTcpSimulator("ok", "ABC\r");
    WriteConnections(simulator->Port());
    const ProcessResult result = Monitor({"--bytes", "2", "mux_1"}, "ABC<13>\n");
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(simulator->Received(), "ABC\r");  // 41 42 43 0D, the line break not sent
    EXPECT_EQ(result.out, "ok");
}

TEST_F(MonitorCommandTest, CrLfEndsEveryLineSent) {
    WriteConnections(1);
    const auto simulator = StartSerialSimulator("done", "DEF\r\n");
    const ProcessResult result =
        Monitor({"--crlf", "--bytes", "4", "Bench Port"}, "ABC\r\n<2>DEF\n");
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(simulator->Received(),
              "ABC\r\n\x02"
              "DEF\r\n");
    EXPECT_EQ(result.out, "done");
}

TEST_F(MonitorCommandTest, EndOfInputStopsSendingButNotWatching) {
    WriteConnections(1);
    const auto simulator = StartSerialSimulator("unused", "");
    // No input at all: the monitor still watches until its time is up.
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result =
        RunGagesrv(config_.path(), {"monitor", "--seconds", "0.6", "Bench Port"}, "", kRunLimit);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_GE(elapsed, 500ms);
    EXPECT_NE(result.err.find("Stopped after 0 bytes"), std::string::npos) << result.err;
}

// The device vanishes under the monitor: the read error is answered as a user would (Abort), the
// port is opened afresh, and watching goes on once a device is there again.
TEST_F(MonitorCommandTest, ReadErrorReopensTheConnection) {
    WriteConnections(1);
    auto first = StartSerialSimulator("unused", "");
    auto run = std::async(std::launch::async, [this] {
        return Monitor({"--bytes", "7", "Bench Port"}, "?\n");
    });
    ASSERT_TRUE(first->WaitForReceived("?", 10s));  // the monitor watches
    first->DropLine();

    gagesim::SimulatorOptions options;
    options.linkPath = ports_.str() + "/c3";
    options.recordTemplate = "again<13><10>";
    options.intervalMs = 100;
    const auto second = std::make_unique<gagesim::Simulator>(options);
    std::string error;
    ASSERT_TRUE(second->Start(error)) << error;

    const ProcessResult result = run.get();
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.err.find("Error Reading Communication Port"), std::string::npos) << result.err;
    EXPECT_EQ(result.out.substr(0, 7), "again\r\n");
}

// A converter that closes its end is told from an idle one: the monitor opens the connection
// again and goes on watching on the new one.
TEST_F(MonitorCommandTest, APeerThatClosesIsReconnected) {
    const auto simulator = StartTcpSimulator("unused", "");
    WriteConnections(simulator->Port());
    auto run = std::async(std::launch::async, [this] {
        return Monitor({"--bytes", "7", "Net Box"}, "?\n");
    });
    ASSERT_TRUE(simulator->WaitForReceived("?", 10s));  // the monitor watches
    simulator->DropLine();
    ASSERT_TRUE(simulator->WaitForClient(10s));  // connected again
    simulator->Send("again\r\n");

    const ProcessResult result = run.get();
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.err.find("The other end closed the connection"), std::string::npos)
        << result.err;
    EXPECT_EQ(result.out, "again\r\n");
}

TEST_F(MonitorCommandTest, UnknownConnectionIsAnError) {
    WriteConnections(1);
    const ProcessResult result = Monitor({"Nowhere"}, "");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("No connection \"Nowhere\""), std::string::npos) << result.err;
    // The user is shown what there is to choose from.
    EXPECT_NE(result.err.find("MUX_0  \"Bench Port\""), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");

    // A key outside the table, or one of a row that is not configured, names nothing either.
    EXPECT_EQ(Monitor({"MUX_64"}, "").exitStatus, 1);
    EXPECT_EQ(Monitor({"MUX_5"}, "").exitStatus, 1);
}

TEST_F(MonitorCommandTest, ConnectionThatCannotBeOpenedIsAnError) {
    WriteConnections(UnusedTcpPort());
    const ProcessResult serial = Monitor({"Empty Port"}, "");
    EXPECT_EQ(serial.exitStatus, 1);
    EXPECT_NE(serial.err.find("could not be opened"), std::string::npos) << serial.err;
    EXPECT_NE(serial.err.find(ports_.str() + "/c4"), std::string::npos) << serial.err;

    const ProcessResult tcp = Monitor({"Net Box"}, "");
    EXPECT_EQ(tcp.exitStatus, 1);
    EXPECT_NE(tcp.err.find("could not be opened"), std::string::npos) << tcp.err;
}

TEST_F(MonitorCommandTest, MissingConfigurationIsAnError) {
    const ProcessResult result = Monitor({"Bench Port"}, "");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("BRW_GAGE.CFG"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace gage::cli_test
