// The reading engine against a converter of the test's own on 127.0.0.1: command texts as they
// reach the line, opening TCP/IP connections with the interface initialisation strings of the
// definitions file, and the read cycle's measurement commands, request sequence and waiting.

#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "channels/tcp_channel.h"
#include "helpers/message_box_recorder.h"
#include "helpers/temporary_directory.h"
#include "loopback_peer.h"
#include "reading/command_sender.h"
#include "reading/connection_opening.h"
#include "reading/read_cycle.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using testing_support::SetBytes;

// Connection 0 is connected to the peer; the engine's clock is the fake one.
class LineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine.support.UseBuiltInsOnly(true);
        gage.GageId = 65;  // 'A'
        gage.ChannelNumber = 7;
        gage.SerialNumber = "SN-0042";
        ASSERT_TRUE(peer.Connect(engine.channels, record));
    }
    void TearDown() override { TcpClose(record); }

    test::TemporaryDirectory directory;
    testing_support::EngineFixture engine;
    test::MessageBoxRecorder boxes{engine.support, MB_RESULT_OK};
    test::LoopbackPeer peer;
    GageRecord gage;
    ConnectionRecord& record = engine.connections[0];
};

TEST_F(LineTest, EveryTokenAsSent) {
    const struct {
        const char* text;
        std::string bytes;
        bool withGage = true;
    } cases[] = {{"", ""},
                 {"AB<13><10>", "AB\r\n"},
                 {"<27>P", "\x1bP"},
                 {"<PAUSE>x<START>y<STARTX>", "xy"},
                 {"<d5>a<s2>b", "ab"},
                 {"<d>", ""},      // a missing digit: a negative pause, which returns at once
                 {"<start>", ""},  // lower case: a pause of ('t' - '0') seconds
                 {"<ID><IDENT>", "AA"},
                 {"<CH><ch><CHANNEL>", "\x07\x07\x07"},
                 {"<300>", "\x2c"},
                 {"<>AB>C", std::string("\0C", 2)},
                 {"<>AB", ""},
                 {"xy<1", "xy"},
                 {"xy<", "xy"},
                 {"<-1><SN>", std::string("\xff\0", 2)},
                 {"[SN]", "SN-0042"},
                 {"[ID]", "65"},
                 {"[CH]", "07"},
                 {"[ch]", "7"},
                 {"[XY]", "[XY]"},
                 {"[S]", "[S]"},
                 {"a[b", "a"},
                 {"[SNX][IDX][CHX]", "SN-00426507"},
                 {"<2>R<ID><CH><ch><CHANNEL>[SN][ID][CH][ch][XY]", "\x02R[XY]", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(
            SendGageCommand(engine.context, nullptr, c.withGage ? &gage : nullptr, record, c.text),
            static_cast<int>(c.bytes.size()))
            << c.text;
        EXPECT_EQ(peer.Receive(c.bytes.size()), c.bytes) << c.text;
    }
    EXPECT_EQ(engine.clock.slept, 2500u + ('t' - '0') * 1000u);
    gage.SerialNumber = "";
    gage.ChannelNumber = 123;
    EXPECT_EQ(SendGageCommand(engine.context, nullptr, &gage, record, "[SN][CH]"), 3);
    EXPECT_EQ(peer.Receive(3), "123");
}

TEST_F(LineTest, GageInitGoesBetweenTwoWaits) {
    engine.settings.WaitTime = 150;
    gage.Format.GageInitCommand = "G[ch]";
    EXPECT_EQ(SendGageInit(engine.context, nullptr, gage), 1);
    EXPECT_EQ(peer.Receive(2), "G7");
    EXPECT_EQ(engine.clock.slept, 300u);
    gage.Format.GageInitCommand = "";
    EXPECT_EQ(SendGageInit(engine.context, nullptr, gage), 1);
    EXPECT_EQ(engine.clock.slept, 300u);

    // A serial connection with its port closed: nothing, not even the waits.
    gage.Format.GageInitCommand = "G";
    gage.ConnectionIndex = 1;
    gage.Name = "RandomValue";
    engine.connections[1].PortNumber = 1;
    EXPECT_EQ(SendGageInit(engine.context, nullptr, gage), 1);
    EXPECT_EQ(engine.clock.slept, 300u);
}

// The interface strings go in key order, not file order, each after its delay.
TEST_F(LineTest, OpeningConnectsOnceSendsTheStringsAndSkipsUnusedRows) {
    engine.settings.DefinitionsPath = directory.Write(
        "BRW_GAGE.DEF", "[TYPE0]\nINIT1=0,never\n[TYPE2]\nINIT2=20,lo<13>\nINIT1=10,hel\n");
    engine.settings.TcpConnectionTimeout = 2.0;
    ConnectionRecord& converter = engine.connections[5];
    converter = ConnectionRecord{};
    test::LoopbackPeer::PointAt(converter, peer.port());
    converter.InterfaceType = 2;
    AllocateReceiveBuffer(converter);
    converter.RxCount = 3;
    ASSERT_EQ(OpenGageConnection(engine.context, nullptr, 5), 1);
    ASSERT_TRUE(peer.Accept());
    EXPECT_EQ(converter.RxCount, 0);
    EXPECT_EQ(peer.Receive(6), "hello\r");
    EXPECT_EQ(engine.clock.slept, 30u);
    const auto socket = converter.Socket.get();
    ASSERT_EQ(OpenGageConnection(engine.context, nullptr, 5), 1);
    EXPECT_EQ(converter.Socket.get(), socket);  // an open socket is kept
    EXPECT_EQ(peer.Receive(6), "hello\r");
    EXPECT_EQ(engine.channels.commErrorReporting, COMM_REPORT_ALL);  // restored

    TcpClose(converter);
    converter.IpAddress = kInaddrNone;  // unresolved: nothing to open
    EXPECT_EQ(OpenGageConnection(engine.context, nullptr, 5), 1);

    EXPECT_EQ(OpenGageConnection(engine.context, nullptr, 1), 1);  // unused: nothing sent
    EXPECT_FALSE(engine.connections[1].PortHandle.is_open());
    EXPECT_EQ(OpenGageConnection(engine.context, nullptr, 64), 0);
    engine.connections[2].Kind = 9;
    engine.connections[2].PortNumber = 3;
    EXPECT_EQ(OpenGageConnection(engine.context, nullptr, 2), 1);
}

class CycleLineTest : public LineTest {
  protected:
    void SetUp() override {
        gage = testing_support::OneValueGage("Caliper", "<13>");
        gage.Format.ReadTimeout = 100;
        gage.Format.MeasInitCommand = "I";
        gage.Format.MeasStartCommand = "S";
        gage.Format.MeasReadCommand = "R";
        gage.Format.MeasPostCommand = "P";
        gage.Format.CommandDelay = 10;
        LineTest::SetUp();
    }
    int Read(unsigned options = 0) {
        return ReadGage(engine.context, nullptr, gage, output, options);
    }
    // A record from the gage, there before the (fake) clock moves on.
    void Arrives(std::string_view bytes) {
        peer.SendAll(bytes);
        ASSERT_EQ(ChannelWaitReadable(record, 5000), 1);
    }

    ReadingResult result{};
    ParseOutput output{result};
};

TEST_F(CycleLineTest, CommandOrderAndPostCommandRules) {
    Arrives("1.5\r");
    ASSERT_EQ(Read(), 1);
    EXPECT_EQ(peer.Receive(4), "ISRP");
    EXPECT_EQ(engine.clock.slept, 40u);  // the command delay after each command

    const long long nowCallsBefore = engine.clock.nowCalls;
    EXPECT_EQ(Read(), 0);  // time-out: the post command all the same
    EXPECT_EQ(peer.Receive(4), "ISRP");
    EXPECT_GE(engine.clock.waited, 100u);  // waited on the line, reading the clock a few times
    EXPECT_LT(engine.clock.nowCalls - nowCallsBefore, 40);
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
    EXPECT_EQ(ValueOf(result), 0.0);  // untouched: the first call waits for nothing
    EXPECT_EQ(engine.clock.waited, 0u);
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

}  // namespace
}  // namespace gage
