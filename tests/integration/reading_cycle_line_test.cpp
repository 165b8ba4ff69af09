// The read cycle against a line: the order of the measurement commands, the request sequence,
// and waiting without spinning.

#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "channels/tcp_channel.h"
#include "loopback_peer.h"
#include "reading/read_cycle.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using testing_support::SetBytes;
using testing_support::Spec;

class CycleLineTest : public ::testing::Test {
  protected:
    void SetUp() override {
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
        ASSERT_TRUE(peer.Connect(engine.channels, engine.connections[0]));
    }
    void TearDown() override { TcpClose(engine.connections[0]); }

    int Read(unsigned options = 0) {
        return ReadGage(engine.context, nullptr, gage, output, options);
    }
    // A record from the gage, there before the (fake) clock moves on.
    void Arrives(std::string_view bytes) {
        peer.SendAll(bytes);
        ASSERT_EQ(ChannelWaitReadable(engine.connections[0], 5000), 1);
    }

    testing_support::EngineFixture engine;
    test::LoopbackPeer peer;
    GageRecord gage;
    ReadingResult result{};
    ParseOutput output{result};
};

TEST_F(CycleLineTest, CommandOrderAndPostCommandRules) {
    Arrives("1.5\r");
    ASSERT_EQ(Read(), 1);
    EXPECT_EQ(peer.Receive(4), "ISRP");
    EXPECT_EQ(engine.clock.slept, 40u);  // the command delay after each command

    EXPECT_EQ(Read(), 0);  // time-out: the post command all the same
    EXPECT_EQ(peer.Receive(4), "ISRP");
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ValueOf(result)), kReadFailureValueBits);

    EXPECT_EQ(Read(READ_OPT_POLL), 0);  // a poll posts only after a valid reading
    EXPECT_EQ(peer.Receive(3), "ISR");
    Arrives("2.5\r");
    ASSERT_EQ(Read(READ_OPT_POLL), 1);
    EXPECT_EQ(peer.Receive(4), "ISRP");

    gage.Flags = GAGE_FLAG_NO_READ_CMD;
    gage.Format.Options = FMT_OPT_CLEAR_BEFORE;
    Arrives("3.5\r");
    ASSERT_EQ(Read(READ_OPT_POLL), 1);  // no commands, no clearing before
    EXPECT_EQ(ValueOf(result), 3.5);
    EXPECT_EQ(peer.Receive(1), "P");
}

TEST_F(CycleLineTest, StopCommandSplitsTheRead) {
    gage.Format.MeasStopCommand = "T";
    EXPECT_EQ(Read(), 0);
    EXPECT_EQ(peer.Receive(2), "IS");
    Arrives("4.5\r");
    ASSERT_EQ(Read(), 1);
    EXPECT_EQ(peer.Receive(3), "TRP");
}

TEST_F(CycleLineTest, RequestSequenceAsksForTheReadCommand) {
    SetBytes(gage.Format.RequestSequence, gage.Format.RequestSequenceLength, "?");
    Arrives("?\r6.5\r");
    ASSERT_EQ(Read(), 1);
    EXPECT_EQ(ValueOf(result), 6.5);
    EXPECT_EQ(peer.Receive(4), "ISRP");  // R only on the gage's request
}

TEST_F(CycleLineTest, WaitingPassesTimeWithoutSpinning) {
    const long long nowCallsBefore = engine.clock.nowCalls;
    EXPECT_EQ(Read(), 0);
    EXPECT_GE(engine.clock.waited, 100u);
    EXPECT_LT(engine.clock.nowCalls - nowCallsBefore, 40);  // a few clock readings, not thousands
}

}  // namespace
}  // namespace gage
