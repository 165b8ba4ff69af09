#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <string>

#include "channels/channel.h"

namespace gage {
namespace {

// What "%4.4f\r\n" gives.
bool IsFourDecimalLine(const std::string& text, char separator = '.') {
    return std::regex_match(text,
                            std::regex(std::string("-?[0-9]+[") + separator + "][0-9]{4}\r\n"));
}

class SimulatedSourceTest : public ::testing::Test {
  protected:
    Support support;
    ServerSettings settings;
    ChannelContext context{support, settings};
    ConnectionTable connections;

    GageRecord Gage(const char* name, int connection) {
        GageRecord gage;
        gage.Name = name;
        gage.ConnectionIndex = connection;
        return gage;
    }
    std::string Held(int connection) {
        const ConnectionRecord& record = connections[static_cast<std::size_t>(connection)];
        return {reinterpret_cast<const char*>(record.RxBuffer.get()),
                static_cast<std::size_t>(record.RxCount)};
    }
};

TEST_F(SimulatedSourceTest, DeviatesComeInPolarPairsAreStandardNormalAndFollowTheSeed) {
    const double first = NormalDeviate(context);
    ASSERT_TRUE(context.deviate.HasHeld);
    const double held = context.deviate.Held;
    EXPECT_EQ(NormalDeviate(context), held);
    EXPECT_FALSE(context.deviate.HasHeld);
    // Both halves share the factor sqrt(-2 ln s / s), so first^2 + held^2 = -2 ln s > 0.
    EXPECT_GT(first * first + held * held, 0.0);

    constexpr int kDraws = 20000;
    double sum = 0.0;
    double squares = 0.0;
    for (int i = 0; i < kDraws; ++i) {
        const double x = NormalDeviate(context);
        sum += x;
        squares += x * x;
    }
    const double mean = sum / kDraws;
    EXPECT_NEAR(mean, 0.0, 0.05);
    EXPECT_NEAR(std::sqrt(squares / kDraws - mean * mean), 1.0, 0.05);

    ChannelContext again{support, settings};
    ChannelContext other{support, settings};
    other.random.Seed(12345);
    ChannelContext fresh{support, settings};
    const double a = NormalDeviate(fresh);
    EXPECT_EQ(NormalDeviate(again), a);
    EXPECT_NE(NormalDeviate(other), a);
}

TEST_F(SimulatedSourceTest, RandomSourceStaysWithinFifteenBits) {
    RandomSource source(7);
    int highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int r = source.Next();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, RandomSource::kMaximum);
        highest = std::max(highest, r);
    }
    EXPECT_GT(highest, 32000);
}

TEST_F(SimulatedSourceTest, ReadingsAreFourDecimalLinesAndTwoGagesShareOnePair) {
    ASSERT_EQ(AllocateReceiveBuffer(connections[2]), 1);
    ASSERT_EQ(AllocateReceiveBuffer(connections[5]), 1);
    const int first = SimulatedRead(context, Gage("A RandomValue", 2), connections);
    const double held = context.deviate.Held;
    const int second = SimulatedRead(context, Gage("B RandomValue", 5), connections);
    EXPECT_TRUE(IsFourDecimalLine(Held(2))) << Held(2);
    EXPECT_TRUE(IsFourDecimalLine(Held(5))) << Held(5);
    EXPECT_EQ(first, static_cast<int>(Held(2).size()));
    EXPECT_EQ(second, connections[5].RxCount);
    EXPECT_NEAR(std::stod(Held(5)), held, 0.00005);  // the held half of the first pair

    settings.DecimalSeparator = ',';  // the user's
    EmptyReceiveBuffer(connections[2]);
    SimulatedRead(context, Gage("RandomValue", 2), connections);
    EXPECT_TRUE(IsFourDecimalLine(Held(2), ',')) << Held(2);
}

TEST_F(SimulatedSourceTest, AppendingStopsAtTheSerialLimit) {
    ConnectionRecord& record = connections[1];
    ASSERT_EQ(AllocateReceiveBuffer(record), 1);
    record.RxCount = kSerialAppendLimit;
    EXPECT_EQ(SimulatedRead(context, record), 0);
    EXPECT_EQ(record.RxCount, kSerialAppendLimit);
    record.RxCount = kSerialAppendLimit - 3;
    EXPECT_EQ(SimulatedRead(context, record), 3);
    EXPECT_EQ(record.RxCount, kSerialAppendLimit);

    // Fill from empty: every reading is whole until the limit cuts the last one.
    EmptyReceiveBuffer(record);
    int total = 0;
    while (const int n = SimulatedRead(context, record)) {
        total += n;
    }
    EXPECT_EQ(total, kSerialAppendLimit);
}

TEST_F(SimulatedSourceTest, OnlyValidConnectionsWithABufferAndNamesWithRandomValue) {
    EXPECT_EQ(SimulatedRead(context, Gage("RandomValue", 3), connections), 0);
    EXPECT_EQ(connections[3].RxCount, 0);
    EXPECT_EQ(SimulatedRead(context, Gage("RandomValue", 64), connections), 0);
    EXPECT_EQ(SimulatedRead(context, Gage("RandomValue", -1), connections), 0);
    EXPECT_TRUE(IsSimulatedGage(Gage("RandomValue", 0)));
    EXPECT_TRUE(IsSimulatedGage(Gage("Bore RandomValue 2", 0)));
    EXPECT_FALSE(IsSimulatedGage(Gage("randomvalue", 0)));  // with its case
    EXPECT_FALSE(IsSimulatedGage(Gage("Random Value", 0)));
}

}  // namespace
}  // namespace gage
