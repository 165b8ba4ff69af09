// The commands through the entry's dispatch; reads on simulated gages whose serial ports stay
// closed; command 3's rebuild of the tables from BRW_GAGE.CFG.

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "entry/commands.h"
#include "entry/configuration_reload.h"
#include "entry/engine_commands.h"
#include "helpers/random_gage_configuration.h"
#include "unit/config_test_files.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using namespace testing_support;

class EntryCommandsTest : public ::testing::Test {
  protected:
    Runtime runtime;

    GageRecord& AddGage(const char* name, int connection = 0) {
        runtime.gages.push_back(OneValueGage(name));
        runtime.gages.back().ConnectionIndex = connection;
        return runtime.gages.back();
    }
    std::intptr_t Run(std::int32_t command, const char* argument = nullptr,
                      std::int32_t version = 1) {
        return RunCommand(runtime, nullptr, version, command, argument);
    }
    void Hold(int index, std::string_view bytes) {
        HoldBytes(runtime.connections[static_cast<std::size_t>(index)], bytes);
    }
    // Command 11 answers the address of a double.
    std::uint64_t ValueBitsOf(const char* name) {
        double value = 0;
        std::memcpy(&value, reinterpret_cast<const void*>(Run(GSV_CMD_READ_VALUE, name)),
                    sizeof value);
        return std::bit_cast<std::uint64_t>(value);
    }
};

TEST_F(EntryCommandsTest, AliveAndUnknownCommands) {
    EXPECT_EQ(Run(GSV_CMD_ALIVE), 1);
    EXPECT_EQ(Run(GSV_CMD_IS_CONFIGURING), 0);                // no dialog
    for (const std::int32_t version : {0, 2, -1, 0x10001}) {  // only interface version 1
        EXPECT_EQ(Run(GSV_CMD_ALIVE, nullptr, version), 0) << version;
    }
    AddGage("A");
    // A high word does not rescue an unknown low word, nor change a known one (5: gage count).
    for (const std::int32_t command : {2, 19, 0xFFFF, 0x00010013}) {
        EXPECT_EQ(Run(command), 0) << command;
    }
    EXPECT_EQ(Run(0x00070005), 1);
}

TEST_F(EntryCommandsTest, NamesCountExistsAndIndexSkipFreeRows) {
    for (const char* name : {"First", "", "Caliper 1", ""}) {
        AddGage(name);
    }
    ASSERT_EQ(Run(GSV_CMD_GAGE_COUNT), 2);
    auto name = [&](std::intptr_t index) {
        const std::intptr_t p = Run(GSV_CMD_GAGE_NAME, reinterpret_cast<const char*>(index));
        return p == 0 ? std::string("<none>") : std::string(reinterpret_cast<const char*>(p));
    };
    EXPECT_EQ((std::vector{name(0), name(1), name(2), name(-1)}),
              (std::vector<std::string>{"First", "Caliper 1", "<none>", "<none>"}));
    const std::pair<const char*, int> exists[] = {
        {"caliper 1", 1}, {"CALIPER 1", 1}, {"Caliper", 0}, {"", 0}, {nullptr, 0}};
    for (const auto& [asked, found] : exists) {
        EXPECT_EQ(Run(GSV_CMD_GAGE_EXISTS, asked), found) << (asked ? asked : "null");
    }
}

TEST_F(EntryCommandsTest, ReadReturnsTheResultBlockOfTheFirstMatch) {
    const std::string name31 = "RandomValue" + std::string(20, 'x');
    AddGage(name31.c_str());
    Hold(0, "2.5\r\n");
    const std::intptr_t address = Run(GSV_CMD_READ, ("randomvalue" + std::string(20, 'X')).c_str());
    ASSERT_EQ(address, reinterpret_cast<std::intptr_t>(&runtime.readingResult));
    EXPECT_EQ(ValueOf(runtime.readingResult), 2.5);
    EXPECT_EQ(Run(GSV_CMD_READ, "RandomValue B"), 0);  // simulated gages too need a row
    EXPECT_EQ(Run(GSV_CMD_READ, nullptr), 0);
    // Names of 32 characters are refused before the lookup.
    EXPECT_EQ(Run(GSV_CMD_READ, (name31 + "y").c_str()), 0);
}

TEST_F(EntryCommandsTest, ReadValueAnswersTheLastMatchingGagesValue) {
    // Two rows of one name: both are read, the second one's value answers.
    GageRecord& failing = AddGage("RandomValue Twin", 0);
    failing.Format.ReadTimeout = 0;
    failing.Format.ValueAField = Spec(1, 1, 0, "GT(\"1000\")");
    runtime.gages.emplace_back();  // a free row
    AddGage("RandomValue Twin", 1);
    Hold(1, "7.25\r\n");
    const std::intptr_t none = Run(GSV_CMD_READ_VALUE, "nobody");
    ASSERT_EQ(none, reinterpret_cast<std::intptr_t>(&runtime.readValue));
    EXPECT_EQ(ValueBitsOf("nobody"), kNoValueBits);
    EXPECT_EQ(ValueBitsOf(nullptr), kNoValueBits);
    EXPECT_EQ(ValueBitsOf("RANDOMVALUE TWIN"), std::bit_cast<std::uint64_t>(7.25));
    EXPECT_TRUE(runtime.connections[0].HasReceiveBuffer());  // the first one was read too
    std::swap(runtime.gages[0], runtime.gages[2]);
    EXPECT_EQ(ValueBitsOf("RandomValue Twin"), kReadFailureValueBits);
}

// That a read and a poll reach the read cycle with their options is the command-line host's
// test; here the high word: 1 is channel only for both, any other is not.
TEST_F(EntryCommandsTest, OnlyHighWordOneMakesAReadOrAPollChannelOnly) {
    GageRecord& mux = AddGage("RandomValue Mux");
    mux.Flags = GAGE_FLAG_NO_READ_CMD;
    SetBytes(mux.Format.Separator, mux.Format.SeparatorLength, ",");
    mux.Format.ChannelField = Spec(1, 1, 0);
    mux.Format.ValueAField = Spec(2, 1, 0);
    mux.ChannelNumber = 3;
    mux.Format.ReadTimeout = 0;  // one attempt: simulated lines would soon fill the buffer
    Hold(0, "5,1.0\r\n3,2.0\r\n");
    // The other channel's record stays first.
    EXPECT_EQ(Run(0x00010008, "RandomValue Mux"), 0);
    EXPECT_EQ(Run(0x0001000E, "RandomValue Mux"), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(runtime.connections[0].RxBuffer.get()), 7),
              "5,1.0\r\n");
    mux.Format.ReadTimeout = 100;
    ASSERT_NE(Run(0x00020008, "RandomValue Mux"), 0);
    EXPECT_EQ(ValueOf(runtime.readingResult), 2.0);
}

TEST_F(EntryCommandsTest, SubgroupCommandsGoToTheChosenGages) {
    for (const char* name :
         {"RandomValue One", "RandomValue Two", "RandomValue Three", "Caliper"}) {
        AddGage(name, static_cast<int>(runtime.gages.size())).Format.SubgroupStartCommand = "S";
    }
    runtime.gages[0].Format.CommandDelay = 30;
    runtime.gages[2].InterfaceTypeNumber = 0;
    runtime.gages.emplace_back();  // a free row is passed over

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

// Opening and initialising, and the configuration hooks, are the command-line host's tests.
TEST_F(EntryCommandsTest, FlushEmptiesConfiguredPortsAndCloseEveryPort) {
    runtime.connections[0].PortNumber = 1;
    Hold(0, "abc");
    Hold(1, "def");
    EXPECT_EQ(Run(GSV_CMD_FLUSH_PORTS), 1);
    EXPECT_EQ(runtime.connections[0].RxCount, 0);
    EXPECT_EQ(runtime.connections[1].RxCount, 3);  // not configured: left alone
    EXPECT_EQ(Run(GSV_CMD_CLOSE_PORTS), 1);
    EXPECT_EQ(runtime.connections[1].RxCount, 0);
    EXPECT_TRUE(runtime.connections[1].HasReceiveBuffer());
}

// The dialog of command 3 saves the file; the tables are then rebuilt from it.
TEST_F(EntryCommandsTest, ReloadFollowsTheFileAndARefusedOneEmptiesTheTables) {
    const test::ConfigTestDirectory dir;
    runtime.settings.ConfigurationPath = dir.File("BRW_GAGE.CFG");
    runtime.settings.DefinitionsPath = dir.File("BRW_GAGE.DEF");
    dir.Write("BRW_GAGE.CFG", test::ConfigurationWithGages(3));
    ReloadConfiguration(runtime, nullptr);
    ASSERT_EQ(runtime.gages.size(), 3u);
    EXPECT_EQ(runtime.gages[2].Name, "RandomValue 3");

    // A file that is no longer acceptable leaves the tables empty, not as they were.
    dir.Write("BRW_GAGE.CFG", "[APPLICATION]\r\nNAME=OTHER\r\n");
    ReloadConfiguration(runtime, nullptr);
    EXPECT_TRUE(runtime.gages.empty());
}

}  // namespace
}  // namespace gage
