#include <gtest/gtest.h>

#include "entry/commands.h"

namespace gage {
namespace {

GageRecord NamedGage(const char* name) {
    GageRecord gage;
    gage.Name = name;
    return gage;
}

class EntryCommandsTest : public ::testing::Test {
  protected:
    Runtime runtime;
    std::intptr_t Run(std::int32_t command, const char* argument = nullptr,
                      std::int32_t version = 1) {
        return RunCommand(runtime, nullptr, version, command, argument);
    }
};

TEST_F(EntryCommandsTest, AliveAnswersOneOnlyForVersionOne) {
    EXPECT_EQ(Run(GSV_CMD_ALIVE), 1);
    EXPECT_EQ(Run(GSV_CMD_ALIVE, nullptr, 2), 0);
    EXPECT_EQ(Run(GSV_CMD_ALIVE, nullptr, 0), 0);
}

TEST_F(EntryCommandsTest, CommandTwoAndUnknownLowWordsAnswerZero) {
    runtime.gages.push_back(NamedGage("A"));
    EXPECT_EQ(Run(2), 0);
    EXPECT_EQ(Run(19), 0);
    EXPECT_EQ(Run(0xFFFF), 0);
    // A high word does not rescue an unknown low word, nor change a known one.
    EXPECT_EQ(Run(0x00010013), 0);
    EXPECT_EQ(Run(0x00070005), 1);
}

TEST_F(EntryCommandsTest, NamesCountAndIndexSkipFreeRows) {
    runtime.gages.push_back(NamedGage("First"));
    runtime.gages.push_back(NamedGage(""));
    runtime.gages.push_back(NamedGage("Second"));
    runtime.gages.push_back(NamedGage(""));
    ASSERT_EQ(Run(GSV_CMD_GAGE_COUNT), 2);
    auto name = [&](std::intptr_t index) {
        const std::intptr_t p = Run(GSV_CMD_GAGE_NAME, reinterpret_cast<const char*>(index));
        return p == 0 ? std::string("<none>") : std::string(reinterpret_cast<const char*>(p));
    };
    EXPECT_EQ(name(0), "First");
    EXPECT_EQ(name(1), "Second");
    EXPECT_EQ(name(2), "<none>");
    EXPECT_EQ(name(-1), "<none>");
}

TEST_F(EntryCommandsTest, ExistsIgnoresCaseAndRejectsNullOrEmpty) {
    runtime.gages.push_back(NamedGage("Caliper 1"));
    EXPECT_EQ(Run(GSV_CMD_GAGE_EXISTS, "caliper 1"), 1);
    EXPECT_EQ(Run(GSV_CMD_GAGE_EXISTS, "CALIPER 1"), 1);
    EXPECT_EQ(Run(GSV_CMD_GAGE_EXISTS, "Caliper"), 0);
    EXPECT_EQ(Run(GSV_CMD_GAGE_EXISTS, ""), 0);
    EXPECT_EQ(Run(GSV_CMD_GAGE_EXISTS, nullptr), 0);
}

TEST_F(EntryCommandsTest, NotConfiguringWithoutDialog) {
    EXPECT_EQ(Run(GSV_CMD_IS_CONFIGURING), 0);
}

}  // namespace
}  // namespace gage
