#include <gtest/gtest.h>

#include "reading/command_sender.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using testing_support::EngineFixture;

// Counts and pauses of command texts; the bytes themselves are checked on a real socket in the
// integration tests. A record of an unknown kind accepts every write and sends nothing.
class CommandCountTest : public ::testing::Test {
  protected:
    EngineFixture engine;
    GageRecord gage;
    ConnectionRecord& record = engine.connections[0];

    CommandCountTest() {
        record.Kind = 7;
        gage.GageId = 123;
        gage.ChannelNumber = 7;
        gage.SerialNumber = "SN-0042";
    }
    int Send(std::string_view text, bool withGage = true) {
        return SendGageCommand(engine.context, nullptr, withGage ? &gage : nullptr, record, text);
    }
};

// Bytes sent per text: plain characters, byte tokens, the gage's tokens ([CH] is 07, [ch] 7).
TEST_F(CommandCountTest, PlainCharactersAndTokens) {
    const std::pair<const char*, int> withGage[] = {
        {"", 0},     {"AB<13><10>", 4}, {"<27>P", 2}, {"<300>", 1}, {"<>AB>C", 2},
        {"<>AB", 0}, {"XY<1", 2},       {"XY<", 2},   {"XY[1", 2},  {"<ID><CH><ch><CHANNEL>", 4},
        {"[SN]", 7}, {"[ID]", 3},       {"[CH]", 2},  {"[ch]", 1},  {"[XY]", 4},
        {"[S]", 3}};
    for (const auto& [text, count] : withGage) {
        EXPECT_EQ(Send(text), count) << text;
    }
    EXPECT_EQ(Send("<ID><CH><ch><CHANNEL>", false), 0);
    EXPECT_EQ(Send("[SN][ID][CH][ch]", false), 0);
    EXPECT_EQ(Send("[XY]", false), 4);
    gage.SerialNumber = "";
    EXPECT_EQ(Send("[SN]"), 0);
    gage.ChannelNumber = 123;
    EXPECT_EQ(Send("[CH]"), 3);
    EXPECT_EQ(engine.clock.slept, 0u);
}

TEST_F(CommandCountTest, LineControlAndPauses) {
    EXPECT_EQ(Send("<PAUSE><START><STARTX><PAUSED>"), 0);
    EXPECT_EQ(engine.clock.slept, 0u);
    EXPECT_EQ(Send("<d5>"), 0);
    EXPECT_EQ(engine.clock.slept, 500u);
    EXPECT_EQ(Send("A<s2>B"), 2);
    EXPECT_EQ(engine.clock.slept, 2500u);
    // Lower-case start is a pause of ('t' - '0') seconds, not the line control.
    EXPECT_EQ(Send("<start>"), 0);
    EXPECT_EQ(engine.clock.slept, 2500u + ('t' - '0') * 1000u);
    // A missing digit makes a negative pause, which returns at once.
    const std::uint64_t before = engine.clock.slept;
    EXPECT_EQ(Send("<d>"), 0);
    EXPECT_EQ(engine.clock.slept, before);
}

TEST(DelayTest, KeepsItsLengthAcrossTheTickWrap) {
    EngineFixture engine;
    engine.clock.now = 0xFFFFFFF0u;
    EXPECT_EQ(DelayMilliseconds(engine.context, 100), 100);
    EXPECT_EQ(engine.clock.now, 100u - 0x10u);
    EXPECT_EQ(DelayMilliseconds(engine.context, 0), 0);
    EXPECT_EQ(DelayMilliseconds(engine.context, -5), 0);
    EXPECT_EQ(engine.clock.slept, 100u);
}

TEST(DelayTest, SleepsOnTheSystemClock) {
    EngineFixture engine;
    ReadContext system{engine.channels, engine.connections, engine.settings, engine.support,
                       SystemEngineClock()};
    const std::uint32_t start = SystemEngineClock().Now();
    const int waited = DelayMilliseconds(system, 30);
    EXPECT_GE(waited, 30);
    EXPECT_GE(TicksElapsed(start, SystemEngineClock().Now()), 30u);
}

}  // namespace
}  // namespace gage
