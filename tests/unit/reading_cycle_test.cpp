// The read cycle on simulated gages, and the delays it waits.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#include "helpers/message_box_recorder.h"
#include "reading/command_sender.h"
#include "reading/read_cycle.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using namespace testing_support;

const double kFailure = Bits(kReadFailureValueBits);

// Reads of simulated gages ("RandomValue" in the name): their serial port stays closed and the
// simulated source fills the buffer, so the whole cycle runs without a device.
class ReadCycleTest : public ::testing::Test {
  protected:
    EngineFixture engine;
    GageRecord gage = OneValueGage("RandomValue 1");
    ReadingResult result{};
    ParseOutput output{result};

    ReadCycleTest() { engine.connections[0].PortNumber = 1; }
    int Read(unsigned options = 0) {
        return ReadGage(engine.context, nullptr, gage, output, options);
    }
    std::string Held() { return std::string(engine.Held(0)); }
    // Replaces what connection 0 holds.
    void HoldOnly(std::string_view bytes) {
        engine.connections[0].RxCount = 0;
        engine.Hold(0, bytes);
    }
};

TEST_F(ReadCycleTest, RefusedReadsLeaveTheResultAlone) {
    result.Value = 42.0;
    gage.InterfaceTypeNumber = 0;
    EXPECT_EQ(Read(), 0);
    gage.InterfaceTypeNumber = 1;
    gage.Name = "Caliper";  // a real gage needs its port open
    EXPECT_EQ(Read(), 0);
    gage.Name = "RandomValue";
    gage.ConnectionIndex = 64;
    EXPECT_EQ(Read(), 0);
    gage.ConnectionIndex = 0;
    engine.connections[0].Kind = KIND_TCPIP;  // a TCP/IP connection needs its socket
    EXPECT_EQ(Read(), 0);
    EXPECT_EQ(ValueOf(result), 42.0);
    EXPECT_FALSE(engine.connections[0].HasReceiveBuffer());
}

TEST_F(ReadCycleTest, TimeOutZeroIsOneAttempt) {
    gage.Format.ReadTimeout = 0;
    SetBytes(gage.Format.RecordEnd, gage.Format.RecordEndLength, "");  // never frames
    EXPECT_EQ(Read(), 0);
    // One fetch: one simulated line ("%4.4f\r\n") in the buffer.
    const std::string held = Held();
    EXPECT_EQ(held.find("\r\n"), held.size() - 2);
}

TEST_F(ReadCycleTest, DeadlineSurvivesTheTickWrap) {
    engine.clock.now = 0xFFFFFF00u;
    engine.clock.stepPerNow = 1;
    gage.Format.ReadTimeout = 1000;
    gage.Format.ValueAField = Spec(1, 1, 0, "GT(\"100\")");  // never valid
    EXPECT_EQ(Read(), 0);
    const std::uint32_t elapsed = TicksElapsed(0xFFFFFF00u, engine.clock.now);
    EXPECT_GE(elapsed, 1000u);
    EXPECT_LT(elapsed, 1100u);
}

TEST_F(ReadCycleTest, OtherChannelRecordsAreSkippedOrKept) {
    SetBytes(gage.Format.Separator, gage.Format.SeparatorLength, ",");
    gage.Format.ChannelField = Spec(1, 1, 0);
    gage.Format.ValueAField = Spec(2, 1, 0);
    engine.clock.stepPerNow = 1;
    gage.Format.ReadTimeout = 50;

    // The gage's channel (0: any), the options, what is held, and the read's answer, value,
    // channel (-1: any) and the record still held first.
    const std::tuple<int, unsigned, const char*, int, double, int, const char*> cases[] = {
        {3, 0, "5,1.0\r\n3,2.0\r\n", 1, 2.0, 3, ""},
        {3, READ_OPT_CHANNEL_ONLY, "5,1.0\r\n3,2.0\r\n", 0, kFailure, -1, "5,1.0\r\n"},
        {3, READ_OPT_CHANNEL_ONLY, "3,4.0\r\n5,1.0\r\n", 1, 4.0, 3, "5,1.0\r\n"},
        {0, READ_OPT_CHANNEL_ONLY, "5,1.0\r\n", 1, 1.0, 5, ""}};
    for (const auto& [channel, options, held, parsed, value, channelRead, left] : cases) {
        SCOPED_TRACE(held);
        gage.ChannelNumber = channel;
        HoldOnly(held);
        ASSERT_EQ(Read(options), parsed);
        EXPECT_EQ(ValueOf(result), value);
        EXPECT_TRUE(channelRead < 0 || result.Channel == channelRead) << result.Channel;
        EXPECT_EQ(Held().substr(0, std::strlen(left)), left);
    }
}

TEST_F(ReadCycleTest, ClearBeforeAndAfter) {
    engine.Hold(0, "1234.5\r\n");
    gage.Format.Options = FMT_OPT_CLEAR_BEFORE;
    ASSERT_EQ(Read(), 1);
    EXPECT_NE(ValueOf(result), 1234.5);

    // Clearing after waits a quiet time of the read time-out, or WAITTIME without one.
    gage.Format.Options = FMT_OPT_CLEAR_AFTER;
    engine.settings.WaitTime = 77;
    for (const auto& [timeout, quiet] : {std::pair{300, 300u}, std::pair{0, 77u}}) {
        HoldOnly("1.5\r\n2.5\r\n3.5\r\n");
        gage.Format.ReadTimeout = timeout;
        const std::uint32_t start = engine.clock.now;
        ASSERT_EQ(Read(), 1);
        EXPECT_EQ(ValueOf(result), 1.5);
        EXPECT_EQ(Held(), "");
        EXPECT_EQ(TicksElapsed(start, engine.clock.now), quiet);
    }
}

// A seeded simulated gage reads with its port closed and gives the same deviates and readings,
// bit for bit, in every build: the logarithm, division and square root of the polar method, then
// gain and zero.
TEST_F(ReadCycleTest, SimulatedGageGivesTheSameBitsInEveryBuild) {
    engine.channels.random.Seed(20240514);
    for (const std::uint64_t bits :
         {0x3fc9146f19d822eeull, 0x3fe2ce4d7d65d55aull, 0xbff2303189a0cdaeull,
          0x3fec4f22904caabaull, 0xbfed291d84b7e21eull, 0x3fff42855bb5e19full}) {
        EXPECT_EQ(NormalDeviate(engine.channels), Bits(bits));
    }
    gage.Gain = 1.3;
    gage.Zero = 0.001;
    gage.Precision = 15;
    gage.Format.MeasReadCommand = "R";  // not sent on the closed port, so no error box
    const test::MessageBoxRecorder recorder{engine.support, MB_RESULT_OK};
    for (const std::uint64_t bits : {0xbfeb6be37de939ebull, 0x3ff4c7a398201cd7ull,
                                     0xbfb1a0cf1800a7c6ull, 0x3ffe8c2a454de7ebull}) {
        ASSERT_EQ(Read(), 1);
        EXPECT_EQ(ValueOf(result), Bits(bits));
        EXPECT_EQ(output.valueA, Bits(bits));
        EXPECT_EQ(Held(), "");
    }
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST(DelayTest, KeepsItsLengthAcrossTheTickWrap) {
    EngineFixture engine;
    engine.clock.now = 0xFFFFFFF0u;
    EXPECT_EQ(DelayMilliseconds(engine.context, 100), 100);
    EXPECT_EQ(DelayMilliseconds(engine.context, 0), 0);
    EXPECT_EQ(DelayMilliseconds(engine.context, -5), 0);
    EXPECT_EQ(engine.clock.slept, 100u);
}

}  // namespace
}  // namespace gage
