// The read commands of the entry point end to end on Windows: a gage on a COM port (the gage
// simulator behind a pseudo-terminal that the test fixture links into the Wine prefix) is opened
// by command 10, read by commands 8, 14 and 11, flushed (12), initialised (1), sent subgroup
// commands (16, 17) and closed by command 13. The simulator answers
// "?\r" with "+1.500\r\n", then "-2.250\r\n", in turn.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "channels/serial_channel.h"
#include "entry/commands.h"
#include "helpers/serial_record.h"
#include "simulator_port.h"

namespace gage {
namespace {

bool IsSimulatorValue(double value) {
    return std::fabs(value - 1.5) < 1e-9 || std::fabs(value + 2.25) < 1e-9;
}

class ReadingEntryComTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const int port = test::SimulatorComPort();
        if (port < 1 || port > kMaxSerialPortNumber) {
            GTEST_SKIP() << "no gage simulator behind a COM port (GAGE_SIM_COM unset)";
        }
        if (SerialProbePort(runtime.settings, port) == 0) {
            GTEST_SKIP() << "COM" << port << " cannot be opened";
        }
        runtime.support.UseBuiltInsOnly(true);
        runtime.support.SetMessageBoxHook(
            [](const MessageBoxRequest&) { return MB_RESULT_IGNORE; });

        ConnectionRecord& connection = runtime.connections[3];
        connection.Name = "Bench";
        connection.InterfaceType = 1;
        test::MakeSerial9600(connection, port);

        GageRecord gage;
        gage.Name = "Caliper";
        gage.InterfaceTypeNumber = 1;
        gage.FormatNumber = 1;
        gage.ConnectionIndex = 3;
        gage.Precision = 3;
        GageFormat& format = gage.Format;
        format.MeasReadCommand = "?<13>";
        format.RecordEnd[0] = 13;
        format.RecordEnd[1] = 10;
        format.RecordEndLength = 2;
        format.ReadTimeout = 3000;
        format.GageInitCommand = "I<13>";
        format.SubgroupStartCommand = "S<13>";
        format.SubgroupEndCommand = "E<13>";
        format.ValueAField.Defined = 1;
        format.ValueAField.FieldNumber = 1;
        format.ValueAField.StartPosition = 1;
        runtime.gages.push_back(gage);
    }
    void TearDown() override { RunCommand(runtime, nullptr, 1, GSV_CMD_CLOSE_PORTS, nullptr); }

    Runtime runtime;
};

TEST_F(ReadingEntryComTest, OpenReadPollValueAndClose) {
    ASSERT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_INIT_PORTS, nullptr), 1);
    ASSERT_TRUE(runtime.connections[3].PortHandle.is_open());

    const std::intptr_t block = RunCommand(runtime, nullptr, 1, GSV_CMD_READ, "CALIPER");
    ASSERT_NE(block, 0);
    ReadingResult result;
    std::memcpy(&result, reinterpret_cast<const void*>(block), sizeof result);
    EXPECT_TRUE(IsSimulatorValue(result.Value)) << result.Value;

    const std::intptr_t polled = RunCommand(runtime, nullptr, 1, GSV_CMD_POLL, "Caliper");
    ASSERT_NE(polled, 0);
    std::memcpy(&result, reinterpret_cast<const void*>(polled), sizeof result);
    EXPECT_TRUE(IsSimulatorValue(result.Value)) << result.Value;

    const std::intptr_t value = RunCommand(runtime, nullptr, 1, GSV_CMD_READ_VALUE, "Caliper");
    ASSERT_NE(value, 0);
    double read = 0;
    std::memcpy(&read, reinterpret_cast<const void*>(value), sizeof read);
    EXPECT_TRUE(IsSimulatorValue(read)) << read;

    // Flushing purges the port but keeps it open; initialising and the subgroup commands
    // write to it; the next read still gets a whole record.
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_FLUSH_PORTS, nullptr), 1);
    EXPECT_TRUE(runtime.connections[3].PortHandle.is_open());
    EXPECT_EQ(runtime.connections[3].RxCount, 0);
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_INIT_GAGES, nullptr), 1);
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_SUBGROUP_START, "Caliper"), 1);
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_SUBGROUP_END, nullptr), 1);
    const std::intptr_t again = RunCommand(runtime, nullptr, 1, GSV_CMD_READ, "Caliper");
    ASSERT_NE(again, 0);
    std::memcpy(&result, reinterpret_cast<const void*>(again), sizeof result);
    EXPECT_TRUE(IsSimulatorValue(result.Value)) << result.Value;

    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_CLOSE_PORTS, nullptr), 1);
    EXPECT_FALSE(runtime.connections[3].PortHandle.is_open());
    // With its port closed the gage is not read.
    EXPECT_EQ(RunCommand(runtime, nullptr, 1, GSV_CMD_READ, "Caliper"), 0);
}

}  // namespace
}  // namespace gage
