// The read cycle against a line: the order of the measurement commands, the request sequence,
// the clear-after drain, and a device that sends noise at full speed before good records, on a
// pseudo-terminal and on TCP/IP.

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <random>
#include <thread>

#include "channels/serial_channel.h"
#include "channels/tcp_channel.h"
#include "reading/read_cycle.h"
#include "reading_socket_pair_posix.h"
#include "serial_tcp_test_support_posix.h"
#include "simulator.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using namespace std::chrono_literals;
using testing_support::EngineFixture;
using testing_support::SetBytes;
using testing_support::SocketPairLine;
using testing_support::Spec;
using testing_support::TempDirectory;

class CycleLineTest : public ::testing::Test {
  protected:
    EngineFixture engine;
    GageRecord gage;
    ReadingResult result{};
    ParseOutput output{result};
    SocketPairLine line{engine.connections[0]};

    CycleLineTest() {
        gage.Name = "Caliper";
        gage.InterfaceTypeNumber = 1;
        gage.Precision = -1;
        gage.Format.ReadTimeout = 100;
        SetBytes(gage.Format.RecordEnd, gage.Format.RecordEndLength, "<13>");
        gage.Format.ValueAField = Spec(1, 1, 0);
        gage.Format.MeasInitCommand = "I";
        gage.Format.MeasStartCommand = "S";
        gage.Format.MeasReadCommand = "R";
        gage.Format.MeasPostCommand = "P";
        gage.Format.CommandDelay = 10;
    }
    int Read(unsigned options = 0) {
        return ReadGage(engine.context, nullptr, gage, output, options);
    }
};

TEST_F(CycleLineTest, CommandOrderAndPostCommandRules) {
    line.Send("1.5\r");
    ASSERT_EQ(Read(), 1);
    EXPECT_EQ(line.Received(), "ISRP");
    EXPECT_EQ(engine.clock.slept, 40u);  // the command delay after each command

    EXPECT_EQ(Read(), 0);  // time-out: the post command all the same
    EXPECT_EQ(line.Received(), "ISRP");
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ValueOf(result)), kReadFailureValueBits);

    EXPECT_EQ(Read(READ_OPT_POLL), 0);  // a poll posts only after a valid reading
    EXPECT_EQ(line.Received(), "ISR");
    line.Send("2.5\r");
    ASSERT_EQ(Read(READ_OPT_POLL), 1);
    EXPECT_EQ(line.Received(), "ISRP");

    gage.Flags = GAGE_FLAG_NO_READ_CMD;
    gage.Format.Options = FMT_OPT_CLEAR_BEFORE;
    line.Send("3.5\r");
    ASSERT_EQ(Read(READ_OPT_POLL), 1);  // no commands, no clearing before
    EXPECT_EQ(ValueOf(result), 3.5);
    EXPECT_EQ(line.Received(), "P");
}

TEST_F(CycleLineTest, StopCommandSplitsTheRead) {
    gage.Format.MeasStopCommand = "T";
    EXPECT_EQ(Read(), 0);
    EXPECT_EQ(line.Received(), "IS");
    line.Send("4.5\r");
    ASSERT_EQ(Read(), 1);
    EXPECT_EQ(line.Received(), "TRP");
}

TEST_F(CycleLineTest, RequestSequenceAsksForTheReadCommand) {
    SetBytes(gage.Format.RequestSequence, gage.Format.RequestSequenceLength, "?");
    line.Send("?\r6.5\r");
    ASSERT_EQ(Read(), 1);
    EXPECT_EQ(ValueOf(result), 6.5);
    EXPECT_EQ(line.Received(), "ISRP");  // R only on the gage's request
}

TEST_F(CycleLineTest, WaitingPassesTimeWithoutSpinning) {
    const int nowCallsBefore = static_cast<int>(engine.clock.nowCalls);
    EXPECT_EQ(Read(), 0);
    EXPECT_GE(engine.clock.waited, 100u);
    // A few clock readings per wait, not thousands.
    EXPECT_LT(engine.clock.nowCalls - nowCallsBefore, 40);
}

// Against the simulator with the system clock.
class DeviceTest : public ::testing::TestWithParam<gagesim::Transport> {
  protected:
    TempDirectory directory;
    EngineFixture engine;
    ReadContext context{engine.channels, engine.connections, engine.settings, engine.support,
                        SystemEngineClock()};
    std::unique_ptr<gagesim::Simulator> simulator;
    GageRecord gage;
    ReadingResult result{};
    ParseOutput output{result};
    ConnectionRecord& record = engine.connections[0];

    void SetUp() override {
        engine.support.UseBuiltInsOnly(true);
        engine.support.SetMessageBoxHook([](const MessageBoxRequest&) { return MB_RESULT_OK; });
        engine.settings.ComPrefix = directory.str() + "/com";
        gagesim::SimulatorOptions options;
        options.transport = GetParam();
        options.linkPath = directory.str() + "/com3";
        simulator = std::make_unique<gagesim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(simulator->Start(error)) << error;
        if (GetParam() == gagesim::Transport::Tcp) {
            record.Kind = KIND_TCPIP;
            record.PortNumber = simulator->Port();
            record.TcpPort = simulator->Port();
            record.IpAddress = htonl(INADDR_LOOPBACK);
            ASSERT_EQ(TcpOpen(engine.channels, record), 1);
            ASSERT_TRUE(simulator->WaitForClient(5s));
        } else {
            record.PortNumber = 3;
            record.BaudRate = 115200;
            record.DataBits = 8;
            record.Parity = 1;
            record.StopBits = 1;
            record.FlowControl = 1;
            record.BufferSize = 1024;
            ASSERT_EQ(SerialOpen(engine.channels, nullptr, record), 1);
            ASSERT_EQ(SerialConfigure(engine.channels, nullptr, record), 0);
        }
        gage.Name = "Device";
        gage.InterfaceTypeNumber = 1;
        gage.Precision = -1;
        SetBytes(gage.Format.RecordStart, gage.Format.RecordStartLength, "<2>");
        SetBytes(gage.Format.RecordEnd, gage.Format.RecordEndLength, "<13><10>");
        SetBytes(gage.Format.Separator, gage.Format.SeparatorLength, ",");
        gage.Format.LiteralField = Spec(1, 1, 0, "EQ(\"OK\")");
        gage.Format.ValueAField = Spec(2, 1, 0);
    }
    int Read(std::uint16_t timeout) {
        gage.Format.ReadTimeout = timeout;
        return ReadGage(context, nullptr, gage, output, 0);
    }
};

TEST_P(DeviceTest, ClearAfterDrainsTrailingRecordsUntilQuiet) {
    gage.Format.Options = FMT_OPT_CLEAR_AFTER;
    std::thread device([&] {
        simulator->Send("\x02OK,1.5\r\n");
        for (int i = 0; i < 3; ++i) {
            std::this_thread::sleep_for(20ms);
            simulator->Send("\x02OK,9.5\r\n");
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const int valid = Read(150);
    const auto took = std::chrono::steady_clock::now() - start;
    device.join();
    ASSERT_EQ(valid, 1);
    EXPECT_EQ(ValueOf(result), 1.5);
    EXPECT_GE(took, 60ms + 150ms - 5ms);  // one quiet time after the last trailing record
    EXPECT_LT(took, 60ms + 150ms + 300ms);
    EXPECT_EQ(record.RxCount, 0);
    EXPECT_EQ(Read(50), 0);  // nothing of the trailing records is left
}

TEST_P(DeviceTest, DrainOfAGageThatNeverFallsSilentIsBounded) {
    gage.Format.Options = FMT_OPT_CLEAR_AFTER;
    std::atomic<bool> stop{false};
    std::thread device([&] {
        while (!stop) {
            simulator->Send("\x02OK,2.5\r\n");
            std::this_thread::sleep_for(2ms);
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const int valid = Read(50);
    const auto took = std::chrono::steady_clock::now() - start;
    stop = true;
    device.join();
    EXPECT_EQ(valid, 1);
    EXPECT_EQ(ValueOf(result), 2.5);
    // The engine counts whole milliseconds of its tick, so the bound may end up to one
    // millisecond early by a finer clock.
    EXPECT_GE(took, std::chrono::milliseconds(kMinimumDrainBoundMs - 1));
    EXPECT_LT(took, std::chrono::milliseconds(kMinimumDrainBoundMs + 1000));
}

TEST_P(DeviceTest, NoiseAtFullSpeedThenGoodRecords) {
    std::atomic<bool> noisy{true};
    std::thread device([&] {
        std::mt19937 random(7);
        std::string chunk(4096, '\0');
        const auto until = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < until) {
            for (char& c : chunk) {
                c = static_cast<char>(random() % 255 + (random() % 255 >= 2 ? 1 : 3));
                if (c == '\x02') {
                    c = 'x';  // noise holds no record start
                }
            }
            simulator->Send(chunk);
            simulator->WaitForFlushed(1s);
        }
        noisy = false;
    });
    const int limit = record.IsTcp() ? kTcpAppendLimit : kSerialAppendLimit;
    int reads = 0;
    while (noisy) {
        Read(20);
        ++reads;
        ASSERT_LE(record.RxCount, limit);
    }
    device.join();
    simulator->Send("\x02OK,1.25\r\n\x02OK,2.25\r\n\x02OK,3.25\r\n");
    // Noise still held may swallow the first good record's start into a bad record; the
    // later ones come through in order.
    std::vector<double> values;
    for (int i = 0; i < 6 && (values.empty() || values.back() != 3.25); ++i) {
        if (Read(2000) == 1) {
            values.push_back(ValueOf(result));
        }
        ASSERT_LE(record.RxCount, limit);
    }
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.back(), 3.25);
    EXPECT_GT(reads, 10);
}

INSTANTIATE_TEST_SUITE_P(PtyAndTcp, DeviceTest,
                         ::testing::Values(gagesim::Transport::Pty, gagesim::Transport::Tcp),
                         [](const auto& param) {
                             return param.param == gagesim::Transport::Pty ? "Pty" : "Tcp";
                         });

}  // namespace
}  // namespace gage
