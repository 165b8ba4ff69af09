#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>

#include "entry/commands.h"
#include "entry/configuration_hooks.h"
#include "entry/engine_commands.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using testing_support::SetBytes;
using testing_support::Spec;

// The read and port commands through the entry's dispatch, on simulated gages whose serial
// ports stay closed.
class EntryReadTest : public ::testing::Test {
  protected:
    Runtime runtime;

    GageRecord& AddGage(const char* name, int connection = 0) {
        GageRecord gage;
        gage.Name = name;
        gage.InterfaceTypeNumber = 1;
        gage.ConnectionIndex = connection;
        gage.Precision = -1;
        gage.Format.ReadTimeout = 100;
        SetBytes(gage.Format.RecordEnd, gage.Format.RecordEndLength, "<13><10>");
        gage.Format.ValueAField = Spec(1, 1, 0);
        runtime.gages.push_back(gage);
        return runtime.gages.back();
    }
    std::intptr_t Run(std::int32_t command, const char* argument) {
        return RunCommand(runtime, nullptr, 1, command, argument);
    }
    void Hold(int index, std::string_view bytes) {
        ConnectionRecord& record = runtime.connections[static_cast<std::size_t>(index)];
        if (!record.HasReceiveBuffer()) {
            AllocateReceiveBuffer(record);
        }
        std::memcpy(record.RxBuffer.get() + record.RxCount, bytes.data(), bytes.size());
        record.RxCount += static_cast<std::int32_t>(bytes.size());
    }
    double ValueAt(std::intptr_t address) {
        double value = 0;
        std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof value);
        return value;
    }
};

TEST_F(EntryReadTest, ReadReturnsTheResultBlockOfTheFirstMatch) {
    AddGage("RandomValue A");
    Hold(0, "2.5\r\n");
    const std::intptr_t address = Run(GSV_CMD_READ, "randomvalue a");
    ASSERT_EQ(address, reinterpret_cast<std::intptr_t>(&runtime.readingResult));
    EXPECT_EQ(ValueOf(runtime.readingResult), 2.5);
    EXPECT_EQ(Run(GSV_CMD_READ, "RandomValue B"), 0);
    EXPECT_EQ(Run(GSV_CMD_READ, nullptr), 0);
}

TEST_F(EntryReadTest, NamesOfThirtyTwoCharactersAreRefusedBeforeTheLookup) {
    const std::string name31 = "RandomValue" + std::string(20, 'x');
    AddGage(name31.c_str());
    EXPECT_NE(Run(GSV_CMD_READ, name31.c_str()), 0);
    const std::string name32 = name31 + "y";
    EXPECT_EQ(Run(GSV_CMD_READ, name32.c_str()), 0);
}

TEST_F(EntryReadTest, ReadValueAnswersAPointerToTheLastMatchingGagesValue) {
    const std::intptr_t none = Run(GSV_CMD_READ_VALUE, "nobody");
    ASSERT_EQ(none, reinterpret_cast<std::intptr_t>(&runtime.readValue));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ValueAt(none)), kNoValueBits);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ValueAt(Run(GSV_CMD_READ_VALUE, nullptr))),
              kNoValueBits);

    // Two rows of one name: both are read, the second one's value answers.
    GageRecord& failing = AddGage("RandomValue Twin", 0);
    failing.Format.ReadTimeout = 0;
    failing.Format.ValueAField = Spec(1, 1, 0, "GT(\"1000\")");
    AddGage("RandomValue Twin", 1);
    Hold(1, "7.25\r\n");
    EXPECT_EQ(ValueAt(Run(GSV_CMD_READ_VALUE, "RANDOMVALUE TWIN")), 7.25);
    EXPECT_TRUE(runtime.connections[0].HasReceiveBuffer());  // the first one was read too

    std::swap(runtime.gages[0], runtime.gages[1]);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ValueAt(Run(GSV_CMD_READ_VALUE, "RandomValue Twin"))),
              kReadFailureValueBits);
}

TEST_F(EntryReadTest, PollAndChannelOnlyFlags) {
    GageRecord& gage = AddGage("RandomValue Mux");
    gage.Format.MeasStopCommand = "T";
    gage.Flags = GAGE_FLAG_NO_READ_CMD;
    // A read goes through start and stop: its first call only starts the measurement.
    EXPECT_EQ(Run(GSV_CMD_READ, "RandomValue Mux"), 0);
    EXPECT_EQ(runtime.gages[0].MeasurementStarted, 1);
    runtime.gages[0].MeasurementStarted = 0;
    // A poll of a gage that takes no read command reads at once.
    EXPECT_NE(Run(GSV_CMD_POLL, "RandomValue Mux"), 0);
    EXPECT_EQ(runtime.gages[0].MeasurementStarted, 0);

    GageRecord& mux = runtime.gages[0];
    mux.Format.MeasStopCommand = "";
    SetBytes(mux.Format.Separator, mux.Format.SeparatorLength, ",");
    mux.Format.ChannelField = Spec(1, 1, 0);
    mux.Format.ValueAField = Spec(2, 1, 0);
    mux.ChannelNumber = 3;
    mux.Format.ReadTimeout = 0;  // one attempt: simulated lines would soon fill the buffer
    Hold(0, "5,1.0\r\n");
    EXPECT_EQ(Run(0x00010008, "RandomValue Mux"), 0);  // channel only: the record stays
    EXPECT_EQ(std::string(reinterpret_cast<char*>(runtime.connections[0].RxBuffer.get()), 7),
              "5,1.0\r\n");
    EXPECT_EQ(Run(0x0001000E, "RandomValue Mux"), 0);
    runtime.connections[0].RxCount = 0;
    runtime.gages[0].Format.ReadTimeout = 100;
    Hold(0, "5,1.0\r\n3,2.0\r\n");
    ASSERT_NE(Run(0x00020008, "RandomValue Mux"), 0);  // any other high word: not channel only
    EXPECT_EQ(ValueOf(runtime.readingResult), 2.0);
}

TEST_F(EntryReadTest, SubgroupCommandsGoToTheChosenGages) {
    GageRecord& first = AddGage("RandomValue One", 0);
    first.Format.SubgroupStartCommand = "S";
    first.Format.CommandDelay = 30;
    GageRecord& second = AddGage("RandomValue Two", 1);
    second.Format.SubgroupStartCommand = "S";
    GageRecord& unset = AddGage("RandomValue Three", 2);
    unset.Format.SubgroupStartCommand = "S";
    unset.InterfaceTypeNumber = 0;
    GageRecord& real = AddGage("Caliper", 3);
    real.Format.SubgroupStartCommand = "S";

    EXPECT_EQ(Run(GSV_CMD_SUBGROUP_START, "nobody"), 1);
    EXPECT_FALSE(runtime.connections[0].HasReceiveBuffer());

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run(GSV_CMD_SUBGROUP_START, "randomvalue one"), 1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    EXPECT_TRUE(runtime.connections[0].HasReceiveBuffer());
    EXPECT_FALSE(runtime.connections[1].HasReceiveBuffer());

    EXPECT_EQ(Run(GSV_CMD_SUBGROUP_END, ""), 1);  // no end commands: nothing to do
    EXPECT_FALSE(runtime.connections[1].HasReceiveBuffer());
    EXPECT_EQ(Run(GSV_CMD_SUBGROUP_START, ""), 1);
    EXPECT_TRUE(runtime.connections[1].HasReceiveBuffer());
    EXPECT_FALSE(runtime.connections[2].HasReceiveBuffer());  // no interface type
    EXPECT_FALSE(runtime.connections[3].HasReceiveBuffer());  // port closed
}

TEST_F(EntryReadTest, FlushAndCloseEmptyTheBuffersAndKeepThem) {
    runtime.connections[0].PortNumber = 1;
    Hold(0, "abc");
    Hold(1, "def");
    EXPECT_EQ(Run(GSV_CMD_FLUSH_PORTS, nullptr), 1);
    EXPECT_EQ(runtime.connections[0].RxCount, 0);
    EXPECT_EQ(runtime.connections[1].RxCount, 3);  // not configured: left alone
    EXPECT_EQ(Run(GSV_CMD_CLOSE_PORTS, nullptr), 1);
    EXPECT_EQ(runtime.connections[1].RxCount, 0);
    EXPECT_TRUE(runtime.connections[1].HasReceiveBuffer());
}

TEST_F(EntryReadTest, InitPortsWithNothingConfiguredAndInitGages) {
    AddGage("RandomValue A");
    EXPECT_EQ(Run(GSV_CMD_INIT_PORTS, nullptr), 1);
    EXPECT_EQ(Run(GSV_CMD_INIT_GAGES, nullptr), 1);
}

TEST_F(EntryReadTest, HooksOpenConnectionsAndResolveAddresses) {
    const ConfigurationHooks hooks = MakeConfigurationHooks(runtime);
    ASSERT_TRUE(hooks.openConnection && hooks.startConnects && hooks.sendGageInit &&
                hooks.resolveHost);
    EXPECT_EQ(hooks.openConnection(nullptr, 5), 1);  // nothing to open
    EXPECT_EQ(hooks.resolveHost("127.0.0.1"), 0x0100007Fu);
    GageRecord gage;
    hooks.sendGageInit(nullptr, gage);
}

}  // namespace
}  // namespace gage
