// Serial channels against the gage simulator behind a serial port: on POSIX a pseudo-terminal, on
// Windows a COM port of the Wine prefix.

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#endif

#include <chrono>
#include <string>

#include "channel_harness.h"
#include "channels/comm_errors.h"
#include "channels/serial_channel.h"
#include "helpers/serial_record.h"
#include "serial_gage.h"

namespace gage {
namespace {

using namespace std::chrono_literals;

class SerialChannelTest : public ::testing::Test, protected test::ChannelHarness {
  protected:
    void SetUp() override {
        if (gage.port() == 0) {
            GTEST_SKIP() << "no gage simulator behind a serial port";
        }
        test::MakeSerial9600(record, gage.port());
    }
    void TearDown() override { ChannelClose(context, record); }

    // Asks for a record and waits until all of it has arrived at the port.
    bool Ask() {
        EXPECT_EQ(Write(record, "?\r"), 2);
        return test::WaitQueued(record, 8);
    }

    test::SerialGage gage{settings};
    ConnectionRecord record;
};

TEST_F(SerialChannelTest, ACommandIsAnsweredAndPurgesAndPrepareDropWhatWaits) {
    OpenSerial(record);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);  // nothing waiting: back at once
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    ASSERT_TRUE(Ask());
    ASSERT_TRUE(test::ReadUntilHeld(context, record, 8));
    EXPECT_TRUE(test::Held(record) == "+1.500\r\n" || test::Held(record) == "-2.250\r\n")
        << test::Held(record);

    ASSERT_TRUE(Ask());
    EXPECT_NE(ChannelPurge(context, nullptr, record, PURGE_ALL), 0);
    EXPECT_EQ(test::QueuedInput(record), 0);
    ASSERT_TRUE(Ask());
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 1);  // open already: purged, emptied
    EXPECT_EQ(record.RxCount, 0);
    EXPECT_EQ(test::QueuedInput(record), 0);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(SerialChannelTest, PortsAreProbedSilentlyHeldExclusivelySignalledAndClosedOnce) {
    EXPECT_EQ(SerialProbePort(settings, gage.port()), 1);
    ASSERT_EQ(AllocateReceiveBuffer(record), 1);
    record.RxCount = 3;
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 1);  // a closed port opens quietly
    EXPECT_EQ(record.RxCount, 0);
    if (test::PortsHeldExclusively()) {
        // What opening a held port again reports, the POSIX test's port in use sees.
        EXPECT_EQ(SerialProbePort(settings, gage.port()), 0);
    }
    for (const int flowControl : {3, 2, 1}) {  // the modem lines, XON/XOFF, neither
        record.FlowControl = flowControl;
        ASSERT_EQ(SerialConfigure(context, nullptr, record), 0);
        EXPECT_EQ(ChannelSignal(context, record, SIGNAL_START), 1);
        EXPECT_EQ(ChannelSignal(context, record, SIGNAL_PAUSE), 1);  // transmission released
    }
    EXPECT_TRUE(Ask());  // the line still carries commands and answers
    EXPECT_EQ(ChannelClose(context, record), 1);
    EXPECT_EQ(ChannelClose(context, record), 0);  // closed: nothing left to close
    EXPECT_EQ(SerialProbePort(settings, gage.port()), 1);
}

TEST_F(SerialChannelTest, ReadsNeverGoPastTheAppendLimit) {
    OpenSerial(record);
    record.RxCount = kSerialAppendLimit - 2;
    ASSERT_TRUE(Ask());
    EXPECT_EQ(ChannelRead(context, nullptr, record), 2);
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);  // asks for nothing
    EXPECT_EQ(record.RxCount, kSerialAppendLimit);
    EXPECT_EQ(test::QueuedInput(record), 6);  // the rest waits in the port
    const std::string start = test::Held(record).substr(kSerialAppendLimit - 2);
    ConsumeReceivedBytes(record, kSerialAppendLimit);
    EXPECT_EQ(ChannelRead(context, nullptr, record), 6);
    EXPECT_TRUE(start + test::Held(record) == "+1.500\r\n" ||
                start + test::Held(record) == "-2.250\r\n")
        << start << test::Held(record);
}

#if defined(_WIN32)
// (How each setting reaches a terminal, and that settings the line cannot take are refused, the
// POSIX test sees.) Reads never wait; a write gives up after 10 ms a byte and 1 s.
TEST_F(SerialChannelTest, SettingsApplyAndWritesGiveUpInTime) {
    record.BaudRate = 19200;
    OpenSerial(record);
    const HANDLE port = reinterpret_cast<HANDLE>(record.PortHandle.get());
    DCB control{};
    control.DCBlength = sizeof control;
    ASSERT_TRUE(::GetCommState(port, &control));
    EXPECT_EQ(control.BaudRate, 19200u);
    COMMTIMEOUTS timeouts{};
    ASSERT_TRUE(::GetCommTimeouts(port, &timeouts));
    EXPECT_EQ(timeouts.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier + timeouts.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 10u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 1000u);
}
#endif

}  // namespace
}  // namespace gage
