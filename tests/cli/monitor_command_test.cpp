// gagesrv monitor against the gage simulator, on a pseudo-terminal behind a serial port number
// and on a TCP port of 127.0.0.1: what is typed reaches the device, what it sends is shown, and
// a lost connection is opened again. How bytes are rendered is tested with the monitor's text.

#include <gmock/gmock.h>

#include <future>
#include <string>
#include <vector>

#include "gagesrv_process.h"

namespace gage::cli_test {
namespace {

using namespace std::chrono_literals;
using gagesim::Transport;
using ::testing::HasSubstr;

class MonitorCommandTest : public GagesrvTest {
  protected:
    void SetUp() override {
        dir.Write("ZRN_SYS.INI", "[GAGESERVER]\nCOM_PREFIX=" + ComPrefix() +
                                     "\nWAITTIME=0\nTCPIP_CONNECTION_TIMEOUT=2\n");
    }
    // MUX_0 "Bench Port" on serial port 3, MUX_1 "Net Box" on 127.0.0.1:tcpPort, MUX_2 "Empty
    // Port" on serial port 4, where no device exists.
    void WriteConnections(std::uint16_t tcpPort) {
        dir.Write("BRW_GAGE.CFG",
                  "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\n"
                  "MUX_0=\"Bench Port\",1,3,9600,8,1,1,1,1024,0,\nMUX_1=\"Net Box\",1," +
                      std::to_string(tcpPort) +
                      ",127,0,0,1,1,1024,1,\n"
                      "MUX_2=\"Empty Port\",1,4,9600,8,1,1,1,1024,0,\n[GAGES]\n");
    }
    std::unique_ptr<gagesim::Simulator> StartGage(Transport transport, std::string recordTemplate,
                                                  std::string trigger = "", int intervalMs = 0) {
        return Start({.transport = transport,
                      .linkPath = SerialDevice(3),
                      .recordTemplate = std::move(recordTemplate),
                      .values = {},
                      .trigger = std::move(trigger),
                      .intervalMs = intervalMs});
    }
    ProcessResult Monitor(const std::vector<std::string>& args, const std::string& input) {
        std::vector<std::string> all{"monitor", "--seconds", "20"};
        all.insert(all.end(), args.begin(), args.end());
        return Run(all, input);
    }
    // Monitors connection for 7 bytes while lose() takes the device away under it.
    template <typename Lose>
    ProcessResult MonitorWhileLosing(const char* connection, gagesim::Simulator& device,
                                     Lose lose) {
        auto run = std::async(std::launch::async, [&] {
            return Monitor({"--bytes", "7", connection}, "?\n");
        });
        EXPECT_TRUE(device.WaitForReceived("?", 10s));  // the monitor watches
        lose();
        return run.get();
    }
};

// The monitor sends what is typed only once it watches, so the answer cannot arrive before the
// port was prepared (which discards whatever was waiting). The end of the input stops the
// sending, not the watching: without --bytes only the time given ends it.
TEST_F(MonitorCommandTest, TypedLinesAreSentAndTheAnswerShownUntilTheTimeIsUp) {
    const auto net = StartGage(Transport::Tcp, "ok", "DEF\r\n");
    WriteConnections(net->Port());
    const ProcessResult hex =
        Monitor({"--hex", "--crlf", "--bytes", "2", "mux_1"}, "ABC\r\n<2>DEF\n");
    EXPECT_EQ(hex.exitStatus, 0) << hex.err;
    EXPECT_EQ(net->Received(),
              "ABC\r\n\x02"
              "DEF\r\n");  // tokens expanded, CR LF appended
    EXPECT_EQ(hex.out, "6F 6B \n");

    const auto serial = StartGage(Transport::Pty, "Hello<13><10>", "?");
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult raw = Run({"monitor", "--seconds", "1", "bench port"}, "?\n");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 900ms);
    EXPECT_EQ(raw.exitStatus, 0) << raw.err;
    EXPECT_EQ(raw.out, "Hello\r\n");
    EXPECT_THAT(raw.err, HasSubstr("Watching \"Bench Port\""));
    EXPECT_THAT(raw.err, HasSubstr("Stopped after 7 bytes"));
}

// The device vanishes under the monitor: the read error is answered as a user would (Abort), the
// port is opened afresh, and watching goes on once a device is there again.
TEST_F(MonitorCommandTest, ReadErrorReopensTheConnection) {
    WriteConnections(1);
    const auto first = StartGage(Transport::Pty, "unused");
    std::unique_ptr<gagesim::Simulator> second;
    const ProcessResult result = MonitorWhileLosing("Bench Port", *first, [&] {
        first->DropLine();
        second = StartGage(Transport::Pty, "again<13><10>", "", 100);
    });
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("Error Reading Communication Port"));
    EXPECT_EQ(result.out.substr(0, 7), "again\r\n");
}

// A converter that closes its end is told from an idle one: the monitor connects again and goes
// on watching on the new connection.
TEST_F(MonitorCommandTest, APeerThatClosesIsReconnected) {
    const auto simulator = StartGage(Transport::Tcp, "unused");
    WriteConnections(simulator->Port());
    const ProcessResult result = MonitorWhileLosing("Net Box", *simulator, [&] {
        simulator->DropLine();
        ASSERT_TRUE(simulator->WaitForClient(10s));  // connected again
        simulator->Send("again\r\n");
    });
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("The other end closed the connection"));
    EXPECT_EQ(result.out, "again\r\n");
}

TEST_F(MonitorCommandTest, WhatCannotBeWatchedIsAnError) {
    ProcessResult result = Monitor({"Bench Port"}, "");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_THAT(result.err, HasSubstr("BRW_GAGE.CFG"));  // no such file
    WriteConnections(1);
    const std::pair<const char*, std::string> cases[] = {
        {"Nowhere", "MUX_0  \"Bench Port\""},  // the choice
        {"Empty Port", " on " + SerialDevice(4) + ") could not be opened"}};
    for (const auto& [connection, told] : cases) {
        result = Monitor({connection}, "");
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_THAT(result.err, HasSubstr(told));
    }
}

}  // namespace
}  // namespace gage::cli_test
