// Serial channels and the read commands against the gage simulator behind a serial port.

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstring>
#include <string>

#include "channel_harness.h"
#include "channels/comm_errors.h"
#include "channels/serial_channel.h"
#include "entry/commands.h"
#include "helpers/serial_record.h"
#include "serial_gage.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using namespace std::chrono_literals;

bool IsSimulatorRecord(const std::string& text) {
    return text == "+1.500\r\n" || text == "-2.250\r\n";
}

class SerialChannelTest : public ::testing::Test, protected test::ChannelHarness {
  protected:
    void SetUp() override {
        if (gage.port() == 0) {
            GTEST_SKIP() << "no gage simulator behind a serial port";
        }
        test::MakeSerial9600(record, gage.port());
    }
    void TearDown() override { ChannelClose(context, record); }

    void OpenAndConfigure() {
        ASSERT_EQ(SerialOpen(context, nullptr, record), 1);
        ASSERT_EQ(SerialConfigure(context, nullptr, record), 0);
        ASSERT_EQ(AllocateReceiveBuffer(record), 1);
    }
    // Asks for a record and waits until all of it has arrived at the port.
    bool Ask() {
        const std::uint8_t command[] = {'?', '\r'};
        EXPECT_EQ(ChannelWrite(context, nullptr, record, command, 2), 2);
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (test::QueuedInput(record) < 8 && std::chrono::steady_clock::now() < deadline) {
            ChannelWaitReadable(record, 10);
        }
        return test::QueuedInput(record) >= 8;
    }

    test::SerialGage gage{settings};
    ConnectionRecord record;
};

TEST_F(SerialChannelTest, ACommandIsAnsweredAndPurgesAndPrepareDropWhatWaits) {
    OpenAndConfigure();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);  // nothing waiting: back at once
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    ASSERT_TRUE(Ask());
    ASSERT_TRUE(test::ReadUntilHeld(context, record, 8));
    EXPECT_TRUE(IsSimulatorRecord(test::Held(record))) << test::Held(record);

    ASSERT_TRUE(Ask());
    EXPECT_NE(ChannelPurge(context, nullptr, record, PURGE_ALL), 0);
    EXPECT_EQ(test::QueuedInput(record), 0);
    ASSERT_TRUE(Ask());
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 1);  // open already: purged, emptied
    EXPECT_EQ(record.RxCount, 0);
    EXPECT_EQ(test::QueuedInput(record), 0);
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(SerialChannelTest, PortsAreProbedSilentlyHeldExclusivelyAndClosedOnce) {
    EXPECT_EQ(SerialProbePort(settings, gage.port()), 1);
    ASSERT_EQ(AllocateReceiveBuffer(record), 1);
    record.RxCount = 3;
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 1);  // a closed port opens quietly
    EXPECT_TRUE(record.PortHandle.is_open());
    EXPECT_EQ(record.RxCount, 0);
    if (test::PortsHeldExclusively()) {
        EXPECT_EQ(SerialProbePort(settings, gage.port()), 0);
        ConnectionRecord second;
        second.PortNumber = gage.port();
        EXPECT_EQ(SerialOpen(context, nullptr, second), 0);
        EXPECT_FALSE(second.PortHandle.is_open());
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].caption, "COMMUNICATION ERROR");
        EXPECT_EQ(boxes.boxes[0].text,
                  "The hardware is not available (is locked by another device).\n\nError Code: "
                  "-10 (FFFFFFF6)");
    }
    EXPECT_EQ(ChannelSignal(context, record, SIGNAL_START), 1);
    EXPECT_EQ(ChannelSignal(context, record, SIGNAL_PAUSE), 1);
    EXPECT_EQ(ChannelClose(context, record), 1);
    EXPECT_FALSE(record.PortHandle.is_open());
    EXPECT_EQ(ChannelClose(context, record), 0);
    EXPECT_EQ(SerialProbePort(settings, gage.port()), 1);
}

TEST_F(SerialChannelTest, UnusableSettingsAreRefused) {
    OpenAndConfigure();
    const struct {
        int parity, stopBits, flowControl, refusal;
    } cases[] = {{1, 1, 5, SERIAL_CONFIG_BAD_FLOW_CONTROL},
                 {1, 4, 1, SERIAL_CONFIG_BAD_STOP_BITS},
                 {0, 1, 1, SERIAL_CONFIG_BAD_PARITY}};
    for (const auto& bad : cases) {
        test::MakeSerial9600(record, gage.port());
        record.Parity = bad.parity;
        record.StopBits = bad.stopBits;
        record.FlowControl = bad.flowControl;
        EXPECT_EQ(SerialConfigure(context, nullptr, record), bad.refusal);
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

// The read commands end to end: opened by command 10, read by 8, 14 and 11, flushed (12),
// initialised (1), sent subgroup commands (16, 17) and closed by 13.
TEST(SerialCommandsTest, OpenReadPollValueFlushAndClose) {
    Runtime runtime;
    test::SerialGage gage(runtime.settings);
    if (gage.port() == 0) {
        GTEST_SKIP() << "no gage simulator behind a serial port";
    }
    runtime.support.UseBuiltInsOnly(true);
    test::MessageBoxRecorder boxes(runtime.support, MB_RESULT_IGNORE);
    ConnectionRecord& connection = runtime.connections[3];
    connection.InterfaceType = 1;
    test::MakeSerial9600(connection, gage.port());
    GageRecord& caliper = runtime.gages.emplace_back();
    caliper.Name = "Caliper";
    caliper.InterfaceTypeNumber = 1;
    caliper.FormatNumber = 1;
    caliper.ConnectionIndex = 3;
    caliper.Precision = 3;
    GageFormat& format = caliper.Format;
    format.MeasReadCommand = "?<13>";
    testing_support::SetBytes(format.RecordEnd, format.RecordEndLength, "<13><10>");
    format.ReadTimeout = 3000;
    format.GageInitCommand = "I<13>";
    format.SubgroupStartCommand = "S<13>";
    format.SubgroupEndCommand = "E<13>";
    format.ValueAField = testing_support::Spec(1, 1, 0);
    const auto value = [&](int command, std::size_t offset) {
        const std::intptr_t block = RunCommand(runtime, nullptr, 1, command, "CALIPER");
        double read = 0;
        if (block != 0) {
            std::memcpy(&read, reinterpret_cast<const char*>(block) + offset, sizeof read);
        }
        return read;
    };
    const auto isSimulatorValue = [](double read) { return read == 1.5 || read == -2.25; };
    constexpr std::size_t kResultValue = offsetof(ReadingResult, Value);

    ASSERT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_INIT_PORTS, nullptr), 1);
    ASSERT_TRUE(connection.PortHandle.is_open());
    EXPECT_PRED1(isSimulatorValue, value(GSV_CMD_READ, kResultValue));
    EXPECT_PRED1(isSimulatorValue, value(GSV_CMD_POLL, kResultValue));
    EXPECT_PRED1(isSimulatorValue, value(GSV_CMD_READ_VALUE, 0));
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_FLUSH_PORTS, nullptr), 1);
    EXPECT_TRUE(connection.PortHandle.is_open());
    EXPECT_EQ(connection.RxCount, 0);
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_INIT_GAGES, nullptr), 1);
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_SUBGROUP_START, "Caliper"), 1);
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_SUBGROUP_END, nullptr), 1);
    EXPECT_PRED1(isSimulatorValue, value(GSV_CMD_READ, kResultValue));  // whole records still
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_CLOSE_PORTS, nullptr), 1);
    EXPECT_FALSE(connection.PortHandle.is_open());
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_READ, "Caliper"), 0);  // closed: not read
    EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
}  // namespace gage
