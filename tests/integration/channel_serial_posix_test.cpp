// Serial channels on POSIX terminal devices: names, line settings, and devices that fail.

#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <tuple>
#include <utility>

#include "channel_harness.h"
#include "channels/comm_errors.h"
#include "channels/serial_channel.h"
#include "helpers/serial_record.h"
#include "reading/connection_opening.h"
#include "serial_gage.h"
#include "simulator.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using namespace std::chrono_literals;

constexpr const char* kLocked =
    "The hardware is not available (is locked by another device).\n\nError Code: -10 (FFFFFFF6)";

class SerialPosixTest : public ::testing::Test, protected test::ChannelHarness {
  protected:
    void SetUp() override {
        settings.ComPrefix = directory.File("com");
        test::MakeSerial9600(record, 3);
    }
    void Start(gagesim::SimulatorOptions options = {}, const char* link = "com3") {
        options.linkPath = directory.File(link);
        simulator = std::make_unique<gagesim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(simulator->Start(error)) << error;
    }
    termios Attributes() const {
        termios t{};
        EXPECT_EQ(::tcgetattr(static_cast<int>(record.PortHandle.get()), &t), 0);
        return t;
    }

    test::TemporaryDirectory directory{"/tmp", ""};  // "<dir>/com" fits the prefix
    testing_support::EngineFixture engine;
    test::MessageBoxRecorder engineBoxes{engine.support, MB_RESULT_OK};
    ConnectionRecord record;
    std::unique_ptr<gagesim::Simulator> simulator;
};

// The map wins over the prefix for ports 1 to 64 (a bare name is under /dev); the prefix names
// the rest (COM counts from ttyS0).
TEST_F(SerialPosixTest, DeviceNamesFollowThePrefixAndTheMap) {
    ServerSettings named;
    named.PortMap.Map(7, "ttyUSB0");
    named.PortMap.Map(65, "/dev/never");
    const std::tuple<const char*, int, const char*> cases[] = {{"COM", 3, "/dev/ttyS2"},
                                                               {"/dev/ttyUSB", 3, "/dev/ttyUSB3"},
                                                               {"ttyACM", 12, "/dev/ttyACM12"},
                                                               {"ttyACM", 7, "/dev/ttyUSB0"},
                                                               {"ttyACM", 65, "/dev/ttyACM65"}};
    for (const auto& [prefix, port, device] : cases) {
        named.ComPrefix = prefix;
        EXPECT_EQ(SerialDeviceName(named, port), device) << prefix << port;
    }
}

TEST_F(SerialPosixTest, AMappedDeviceThatCannotOpenIsReportedWithItsPath) {
    Start();
    OpenSerial(record);  // holds com3
    const std::pair<std::string, const char*> cases[] = {
        {directory.File("gone/ttyUSB0"), "it does not exist"},
        {directory.Write("plain-file", "x"), "it is not a terminal"},
        {directory.File("com3"), "it is in use"},
    };
    for (const auto& [device, why] : cases) {
        settings.PortMap.Map(5, device);
        ConnectionRecord mapped;
        test::MakeSerial9600(mapped, 5);
        boxes.boxes.clear();
        EXPECT_EQ(SerialOpen(context, nullptr, mapped), 0) << device;
        EXPECT_FALSE(mapped.PortHandle.is_open());
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, kLocked);
        EXPECT_EQ(LogTexts().back(), "COM5: cannot open " + device + ": " + why);
    }
}

TEST_F(SerialPosixTest, ConfigureMapsEachLineSettingToTheTerminal) {
    Start();
    ASSERT_EQ(ChannelPrepare(context, nullptr, record), 1);  // opens and configures
    termios t = Attributes();
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
    // A pseudo-terminal forces no parity enable; the parity kind (4 mark, 5 space) it keeps.
    // Parity is sent but never checked: no INPCK. A parity, stop bits or flow control the line
    // cannot take is refused, and the line keeps the settings it had.
    const struct {
        int baud, parity, stopBits, flowControl, refusal;
        speed_t speed;
        tcflag_t cflag, iflag;
    } cases[] = {
        {9600, 1, 1, 1, 0, B9600, 0, 0},
        {19200, 4, 2, 2, 0, B19200, CMSPAR | PARODD | CSTOPB, IXON | IXOFF},
        {38400, 1, 1, 5, SERIAL_CONFIG_BAD_FLOW_CONTROL, B19200, CMSPAR | PARODD | CSTOPB,
         IXON | IXOFF},
        {38400, 1, 4, 1, SERIAL_CONFIG_BAD_STOP_BITS, B19200, CMSPAR | PARODD | CSTOPB,
         IXON | IXOFF},
        {38400, 0, 1, 1, SERIAL_CONFIG_BAD_PARITY, B19200, CMSPAR | PARODD | CSTOPB, IXON | IXOFF},
        {38400, 5, 1, 3, 0, B38400, CMSPAR | CRTSCTS, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);  // the row
        record.BaudRate = c.baud;
        record.Parity = c.parity;
        record.StopBits = c.stopBits;
        record.FlowControl = c.flowControl;
        EXPECT_EQ(SerialConfigure(context, nullptr, record), c.refusal);
        t = Attributes();
        EXPECT_EQ(::cfgetispeed(&t), c.speed);
        EXPECT_EQ(::cfgetospeed(&t), c.speed);
        EXPECT_EQ(t.c_cflag & (PARENB | CMSPAR | PARODD | CSTOPB | CRTSCTS), c.cflag);
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | INPCK), c.iflag);
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

// Port 64 is the last that opens; 65 is refused before any device is tried.
TEST_F(SerialPosixTest, PortsOpenUpToNumber64) {
    Start({}, "com64");
    ASSERT_EQ(::symlink(directory.File("com64").c_str(), directory.File("com65").c_str()), 0);
    record.PortNumber = 64;
    EXPECT_EQ(SerialOpen(context, nullptr, record), 1);
    ConnectionRecord beyond;
    test::MakeSerial9600(beyond, 65);
    EXPECT_EQ(SerialOpen(context, nullptr, beyond), 0);
}

TEST_F(SerialPosixTest, ADeviceThatVanishesIsReportedAndAbortClosesTheRead) {
    Start();
    OpenSerial(record);
    simulator->DropLine();
    ASSERT_EQ(ChannelWaitReadable(record, 5000), 1);  // the hang-up has arrived
    // What each answer to the box does, the channel's unit test sees on a closed port.
    boxes.answers = {MB_RESULT_ABORT};
    EXPECT_EQ(ChannelRead(context, nullptr, record), -1);
    EXPECT_EQ(Write(record, "M\r"), 0);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Invalid device ID.\n\nError Code: 32768 (8000)\n\nError Reading Communication Port");
    EXPECT_EQ(boxes.boxes[1].style, MB_STYLE_OK | MB_STYLE_ICONERROR);
    EXPECT_EQ(ChannelClose(context, record), 1);
    EXPECT_EQ(SerialProbePort(settings, 3), 0);
}

TEST_F(SerialPosixTest, OpeningAConnectionOpensThePortOnceThenOnlyPurges) {
    engine.support.UseBuiltInsOnly(true);
    engine.settings.ComPrefix = settings.ComPrefix;
    engine.settings.DefinitionsPath = directory.Write("BRW_GAGE.DEF", "[TYPE2]\nINIT1=0,hi<13>\n");
    Start();
    ConnectionRecord& row = engine.connections[3];
    row.InterfaceType = 2;
    test::MakeSerial9600(row, 3);
    ASSERT_EQ(OpenGageConnection(engine.context, nullptr, 3), 1);
    EXPECT_TRUE(simulator->WaitForReceived("hi\r", 5s));
    const auto handle = row.PortHandle.get();
    ASSERT_EQ(OpenGageConnection(engine.context, nullptr, 3), 1);
    EXPECT_EQ(row.PortHandle.get(), handle);
    EXPECT_TRUE(simulator->WaitForReceived("hi\rhi\r", 5s));

    ConnectionRecord& missing = engine.connections[4];
    test::MakeSerial9600(missing, 9);  // no such device
    EXPECT_EQ(OpenGageConnection(engine.context, nullptr, 4), 0);
    EXPECT_FALSE(missing.PortHandle.is_open());
}

}  // namespace
}  // namespace gage
