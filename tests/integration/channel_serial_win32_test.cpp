// Serial channels through the Win32 communications API: the control block and the time-outs.

#include <gtest/gtest.h>
#include <windows.h>

#include "channel_harness.h"
#include "channels/comm_errors.h"
#include "channels/serial_channel.h"
#include "helpers/serial_record.h"
#include "serial_gage.h"

namespace gage {
namespace {

TEST(SerialWin32Test, ConfigureSetsTheControlBlockAndNonWaitingReads) {
    test::ChannelHarness harness;
    test::SerialGage gage(harness.settings);
    if (gage.port() == 0) {
        GTEST_SKIP() << "no gage simulator behind a COM port";
    }
    ConnectionRecord record;
    test::MakeSerial9600(record, gage.port());
    record.BaudRate = 19200;
    record.StopBits = 2;
    ASSERT_EQ(SerialOpen(harness.context, nullptr, record), 1);
    ASSERT_EQ(SerialConfigure(harness.context, nullptr, record), 0);
    const auto port = reinterpret_cast<HANDLE>(record.PortHandle.get());
    DCB control{};
    control.DCBlength = sizeof control;
    ASSERT_TRUE(::GetCommState(port, &control));
    EXPECT_EQ(control.BaudRate, 19200u);
    EXPECT_EQ(control.StopBits, TWOSTOPBITS);
    COMMTIMEOUTS timeouts{};
    ASSERT_TRUE(::GetCommTimeouts(port, &timeouts));
    EXPECT_EQ(timeouts.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 10u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 1000u);

    record.BaudRate = 38400;
    record.FlowControl = 5;
    EXPECT_EQ(SerialConfigure(harness.context, nullptr, record), SERIAL_CONFIG_BAD_FLOW_CONTROL);
    ASSERT_TRUE(::GetCommState(port, &control));
    EXPECT_EQ(control.BaudRate, 19200u);  // the old settings stay
    EXPECT_EQ(ChannelClose(harness.context, record), 1);
}

}  // namespace
}  // namespace gage
