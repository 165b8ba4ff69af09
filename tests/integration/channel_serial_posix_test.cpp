// Serial channels against the gage simulator on the far side of a pseudo-terminal.

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "channels/comm_errors.h"
#include "channels/serial_channel.h"
#include "helpers/serial_record.h"
#include "serial_tcp_test_support_posix.h"
#include "simulator.h"

namespace gage {
namespace {

using namespace std::chrono_literals;
using testing_support::ChannelHarness;
using testing_support::Held;
using testing_support::ReadUntilHeld;

class SerialChannelTest : public ::testing::Test, protected ChannelHarness {
  protected:
    void SetUp() override {
        settings.ComPrefix = directory.str() + "/com";
        test::MakeSerial9600(record, 3);
    }

    void StartSimulator(gagesim::SimulatorOptions options = {}) {
        options.transport = gagesim::Transport::Pty;
        options.linkPath = directory.str() + "/com3";
        simulator = std::make_unique<gagesim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(simulator->Start(error)) << error;
    }

    void OpenAndConfigure() {
        ASSERT_EQ(SerialOpen(context, nullptr, record), 1);
        ASSERT_EQ(SerialConfigure(context, nullptr, record), 0);
        ASSERT_EQ(AllocateReceiveBuffer(record), 1);
    }

    termios Attributes() const {
        termios t{};
        EXPECT_EQ(::tcgetattr(static_cast<int>(record.PortHandle.get()), &t), 0);
        return t;
    }

    int Queued() const {
        int queued = 0;
        ::ioctl(static_cast<int>(record.PortHandle.get()), FIONREAD, &queued);
        return queued;
    }

    // Until the terminal holds at least bytes unread (the simulator has sent them).
    bool WaitQueued(int bytes) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (Queued() < bytes) {
            pollfd waiting{static_cast<int>(record.PortHandle.get()), POLLIN, 0};
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            ::poll(&waiting, 1, 10);  // the count may lag the wake-up by a moment
        }
        return true;
    }

    ConnectionRecord record;
    std::unique_ptr<gagesim::Simulator> simulator;
};

TEST_F(SerialChannelTest, DeviceNamesFollowThePrefix) {
    ServerSettings named;
    EXPECT_EQ(SerialDeviceName(named, 3), "/dev/ttyS2");
    named.ComPrefix = "/dev/ttyUSB";
    EXPECT_EQ(SerialDeviceName(named, 3), "/dev/ttyUSB3");
    named.ComPrefix = "ttyACM";
    EXPECT_EQ(SerialDeviceName(named, 12), "/dev/ttyACM12");

    // A mapped port takes its device whole; the others keep the prefix.
    const std::string byId = "/dev/serial/by-id/usb-0403_6001_A50285BI-if00-port0";
    named.PortMap.Map(5, byId);
    named.PortMap.Map(7, "ttyUSB0");
    named.PortMap.Map(65, "/dev/never");
    EXPECT_EQ(SerialDeviceName(named, 5), byId);
    EXPECT_EQ(SerialDeviceName(named, 7), "/dev/ttyUSB0");
    EXPECT_EQ(SerialDeviceName(named, 6), "/dev/ttyACM6");
    EXPECT_EQ(SerialDeviceName(named, 65), "/dev/ttyACM65");
}

TEST_F(SerialChannelTest, AMappedDeviceThatCannotOpenIsReportedWithItsPath) {
    StartSimulator();
    OpenAndConfigure();  // holds com3
    const struct {
        std::string device;
        std::string why;
    } cases[] = {
        {directory.str() + "/gone/ttyUSB0", "it does not exist"},
        {directory.Write("plain-file", "x"), "it is not a terminal"},
        {directory.str() + "/com3", "it is in use"},
    };
    for (const auto& failing : cases) {
        settings.PortMap.Map(5, failing.device);
        ConnectionRecord mapped;
        test::MakeSerial9600(mapped, 5);
        boxes.clear();
        EXPECT_EQ(SerialOpen(context, nullptr, mapped), 0) << failing.device;
        EXPECT_FALSE(mapped.PortHandle.is_open());
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text,
                  "The hardware is not available (is locked by another device).\n\nError Code: "
                  "-10 (FFFFFFF6)");
        ASSERT_FALSE(LogTexts().empty());
        EXPECT_EQ(LogTexts().back(), "COM5: cannot open " + failing.device + ": " + failing.why);
    }
}

TEST_F(SerialChannelTest, ConfigureAppliesTheRecordsLineSettings) {
    StartSimulator();
    OpenAndConfigure();
    termios t = Attributes();
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);

    record.BaudRate = 19200;
    record.DataBits = 0x107;  // only the low byte counts
    record.Parity = 4;        // mark
    record.StopBits = 2;
    record.FlowControl = 2;
    ASSERT_EQ(SerialConfigure(context, nullptr, record), 0);
    t = Attributes();
    // A pseudo-terminal forces eight data bits and no parity enable; the parity kind it keeps.
    EXPECT_EQ(::cfgetispeed(&t), static_cast<speed_t>(B19200));
    EXPECT_EQ(t.c_cflag & (CMSPAR | PARODD), CMSPAR | PARODD);
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_EQ(t.c_iflag & INPCK, 0u);  // parity is sent but never checked

    record.Parity = 5;  // space
    record.FlowControl = 3;
    ASSERT_EQ(SerialConfigure(context, nullptr, record), 0);
    t = Attributes();
    EXPECT_EQ(t.c_cflag & (CMSPAR | PARODD), static_cast<tcflag_t>(CMSPAR));
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
}

TEST_F(SerialChannelTest, UnusableSettingsAreRefusedAndTheOldOnesStay) {
    StartSimulator();
    OpenAndConfigure();
    const termios before = Attributes();
    record.BaudRate = 38400;
    record.FlowControl = 5;
    EXPECT_EQ(SerialConfigure(context, nullptr, record), SERIAL_CONFIG_BAD_FLOW_CONTROL);
    record.FlowControl = 1;
    record.StopBits = 4;
    EXPECT_EQ(SerialConfigure(context, nullptr, record), SERIAL_CONFIG_BAD_STOP_BITS);
    record.StopBits = 1;
    record.Parity = 0;
    EXPECT_EQ(SerialConfigure(context, nullptr, record), SERIAL_CONFIG_BAD_PARITY);
    const termios after = Attributes();
    EXPECT_EQ(::cfgetospeed(&after), ::cfgetospeed(&before));
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SerialChannelTest, ACommandIsAnsweredAndTheRecordArrives) {
    gagesim::SimulatorOptions options;
    options.trigger = "?\r";
    options.values = {12.5};
    options.recordTemplate = "<2>{sign}{abs:%08.3f}<13>";
    StartSimulator(options);
    OpenAndConfigure();

    // Nothing waiting: the read returns at once with nothing.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(record.RxCount, 0);

    const std::uint8_t command[] = {'?', '\r'};
    EXPECT_EQ(ChannelWrite(context, nullptr, record, command, 2), 2);
    ASSERT_TRUE(simulator->WaitForCommands(1, 5s));
    ASSERT_TRUE(ReadUntilHeld(context, record, 10));
    EXPECT_EQ(Held(record), "\x02+0012.500\r");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SerialChannelTest, ReadsNeverGoPastTheAppendLimit) {
    StartSimulator();
    OpenAndConfigure();
    record.RxCount = kSerialAppendLimit - 2;
    simulator->Send("ABCDEFGHIJ");
    ASSERT_TRUE(WaitQueued(10));
    EXPECT_EQ(ChannelRead(context, nullptr, record), 2);
    EXPECT_EQ(record.RxCount, kSerialAppendLimit);
    EXPECT_EQ(record.RxBuffer[kSerialAppendLimit - 1], 'B');
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);  // asks for nothing
    EXPECT_EQ(record.RxCount, kSerialAppendLimit);
    EXPECT_EQ(Queued(), 8);  // the rest waits in the port

    ConsumeReceivedBytes(record, kSerialAppendLimit);
    EXPECT_EQ(ChannelRead(context, nullptr, record), 8);
    EXPECT_EQ(Held(record), "CDEFGHIJ");
}

TEST_F(SerialChannelTest, APurgeDiscardsWhatWaitsAndPrepareEmptiesTheBuffer) {
    StartSimulator();
    OpenAndConfigure();
    simulator->Send("stale bytes");
    ASSERT_TRUE(WaitQueued(11));
    EXPECT_NE(ChannelPurge(context, nullptr, record, PURGE_ALL), 0);
    EXPECT_EQ(Queued(), 0);
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);

    simulator->Send("more");
    ASSERT_TRUE(ReadUntilHeld(context, record, 4));
    simulator->Send("again");
    ASSERT_TRUE(WaitQueued(5));
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 1);
    EXPECT_EQ(record.RxCount, 0);
    EXPECT_EQ(Queued(), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SerialChannelTest, PrepareOpensAClosedPortQuietly) {
    StartSimulator();
    ASSERT_EQ(AllocateReceiveBuffer(record), 1);
    record.RxCount = 3;
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 1);
    EXPECT_TRUE(record.PortHandle.is_open());
    EXPECT_EQ(record.RxCount, 0);
    const termios t = Attributes();
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B9600));
}

// Port 64 is the last that opens; 65 is refused before any device is tried.
TEST_F(SerialChannelTest, PortsOpenUpToNumber64) {
    gagesim::SimulatorOptions options;
    options.transport = gagesim::Transport::Pty;
    options.linkPath = directory.str() + "/com64";
    simulator = std::make_unique<gagesim::Simulator>(options);
    std::string error;
    ASSERT_TRUE(simulator->Start(error)) << error;
    ASSERT_EQ(::symlink((directory.str() + "/com64").c_str(), (directory.str() + "/com65").c_str()),
              0);
    record.PortNumber = 64;
    EXPECT_EQ(SerialOpen(context, nullptr, record), 1);
    ConnectionRecord beyond;
    test::MakeSerial9600(beyond, 65);
    EXPECT_EQ(SerialOpen(context, nullptr, beyond), 0);
}

TEST_F(SerialChannelTest, PortsAreHeldExclusivelyAndProbedSilently) {
    StartSimulator();
    EXPECT_EQ(SerialProbePort(settings, 3), 1);
    EXPECT_EQ(SerialProbePort(settings, 4), 0);  // nothing there
    OpenAndConfigure();
    EXPECT_EQ(SerialProbePort(settings, 3), 0);  // held by this library

    ConnectionRecord second;
    second.PortNumber = 3;
    EXPECT_EQ(SerialOpen(context, nullptr, second), 0);
    EXPECT_FALSE(second.PortHandle.is_open());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "COMMUNICATION ERROR");
    EXPECT_EQ(boxes[0].text,
              "The hardware is not available (is locked by another device).\n\nError Code: -10 "
              "(FFFFFFF6)");

    EXPECT_EQ(ChannelClose(context, record), 1);
    EXPECT_FALSE(record.PortHandle.is_open());
    EXPECT_EQ(ChannelClose(context, record), 0);
    EXPECT_EQ(SerialProbePort(settings, 3), 1);
}

TEST_F(SerialChannelTest, ADeviceThatVanishesIsReportedAndAbortClosesTheRead) {
    StartSimulator();
    OpenAndConfigure();
    simulator->DropLine();

    answers = {MB_RESULT_RETRY, MB_RESULT_IGNORE};
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text,
              "Invalid device ID.\n\nError Code: 32768 (8000)\n\nError Reading Communication Port");

    answers = {MB_RESULT_ABORT};
    EXPECT_EQ(ChannelRead(context, nullptr, record), -1);

    const std::uint8_t command[] = {'M', '\r'};
    EXPECT_EQ(ChannelWrite(context, nullptr, record, command, 2), 0);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[3].style, MB_STYLE_OK | MB_STYLE_ICONERROR);

    EXPECT_EQ(ChannelClose(context, record), 1);
    EXPECT_EQ(SerialProbePort(settings, 3), 0);
}

TEST_F(SerialChannelTest, LineSignalsLeaveTheLineUsable) {
    gagesim::SimulatorOptions options;
    options.trigger = "\r";
    StartSimulator(options);
    record.FlowControl = 3;
    OpenAndConfigure();
    EXPECT_EQ(ChannelSignal(context, record, SIGNAL_START), 1);
    EXPECT_EQ(ChannelSignal(context, record, SIGNAL_PAUSE), 1);
    record.FlowControl = 2;
    ASSERT_EQ(SerialConfigure(context, nullptr, record), 0);
    EXPECT_EQ(ChannelSignal(context, record, SIGNAL_START), 1);
    EXPECT_EQ(ChannelSignal(context, record, SIGNAL_PAUSE), 1);  // transmission released
    const std::uint8_t command[] = {'\r'};
    EXPECT_EQ(ChannelWrite(context, nullptr, record, command, 1), 1);
    EXPECT_TRUE(simulator->WaitForCommands(1, 5s));
}

}  // namespace
}  // namespace gage
