#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "channels/channel.h"
#include "channels/comm_errors.h"
#include "channels/serial_channel.h"
#include "channels/tcp_channel.h"
#include "helpers/message_box_recorder.h"

namespace gage {
namespace {

class ChannelDispatchTest : public ::testing::Test {
  protected:
    ChannelDispatchTest() {
        support.UseBuiltInsOnly(true);
        settings.ComPrefix = "gage-test-no-such-port-";
    }

    Support support;
    ServerSettings settings;
    ChannelContext context{support, settings};
    test::MessageBoxRecorder recorder{support, MB_RESULT_IGNORE};
    std::vector<MessageBoxRequest>& boxes = recorder.boxes;
    std::deque<int>& answers = recorder.answers;
};

TEST_F(ChannelDispatchTest, AnUnknownKindIsANoOpEverywhere) {
    ConnectionRecord record;
    record.Kind = 2;
    record.PortNumber = 1;
    const std::uint8_t byte = 'x';
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    EXPECT_FALSE(record.HasReceiveBuffer());
    EXPECT_EQ(ChannelWrite(context, nullptr, record, &byte, 1), 0);
    EXPECT_EQ(ChannelPurge(context, nullptr, record, PURGE_ALL), 0);
    EXPECT_EQ(ChannelClose(context, record), 0);
    EXPECT_EQ(ChannelSignal(context, record, SIGNAL_START), 0);
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ChannelDispatchTest, ReadingAClosedPortAllocatesTheBufferAndLetsTheUserChoose) {
    ConnectionRecord record;
    record.PortNumber = 3;
    answers = {MB_RESULT_RETRY, MB_RESULT_IGNORE};
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    ASSERT_TRUE(record.HasReceiveBuffer());
    EXPECT_TRUE(std::all_of(record.RxBuffer.get(), record.RxBuffer.get() + kReceiveBufferSize,
                            [](std::uint8_t b) { return b == 0; }));
    ASSERT_EQ(boxes.size(), 2u);  // Retry tried again, Ignore gave up
    EXPECT_EQ(boxes[0].text,
              "Invalid device ID.\n\nError Code: 32768 (8000)\n\nError Reading Communication Port");
    EXPECT_EQ(boxes[0].style, MB_STYLE_ABORTRETRYIGNORE | MB_STYLE_DEFBUTTON3 | MB_STYLE_ICONERROR);

    answers = {MB_RESULT_ABORT};
    EXPECT_EQ(ChannelRead(context, nullptr, record), -1);

    // A silenced error is never taken for a button: 32768 is neither Abort nor Retry.
    SetCommErrorReporting(context, COMM_REPORT_OPEN_ERRORS);
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    EXPECT_EQ(boxes.size(), 3u);
}

TEST_F(ChannelDispatchTest, WritingToAClosedPortReportsAnInvalidDevice) {
    ConnectionRecord record;
    record.PortNumber = 70;
    const std::uint8_t bytes[] = {'?', '\r'};
    EXPECT_EQ(ChannelWrite(context, nullptr, record, bytes, 2), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].style, MB_STYLE_OK | MB_STYLE_ICONERROR);
    EXPECT_EQ(ChannelWrite(context, nullptr, record, bytes, 0), 0);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(ChannelDispatchTest, PortsThatCannotBeOpenedAreReportedButNotWhilePreparing) {
    ConnectionRecord record;
    record.PortNumber = 3;
    EXPECT_EQ(SerialOpen(context, nullptr, record), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("The hardware is not available"), std::string::npos);

    SetCommErrorReporting(context, COMM_REPORT_LINE_ERRORS);
    AllocateReceiveBuffer(record);
    record.RxCount = 5;
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 0);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(record.RxCount, 0);
    EXPECT_EQ(context.commErrorReporting, COMM_REPORT_LINE_ERRORS);

    record.PortNumber = 0;
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 0);
    EXPECT_EQ(SerialProbePort(settings, 0), 0);
    EXPECT_EQ(SerialProbePort(settings, 65), 0);
    EXPECT_EQ(SerialProbePort(settings, 3), 0);

    // An unopened port is not configured, purged, signalled or closed.
    record.PortNumber = 3;
    record.Parity = 9;
    EXPECT_EQ(SerialConfigure(context, nullptr, record), 0);
    EXPECT_EQ(SerialPurge(context, nullptr, record, PURGE_ALL), 0);
    EXPECT_EQ(SerialSignal(record, SIGNAL_START), 0);
    EXPECT_EQ(SerialClose(record), 0);
}

TEST_F(ChannelDispatchTest, TcpRecordsIgnoreLineSignalsCloseWithoutASocketAndSettleAddresses) {
    ConnectionRecord record;
    record.Kind = KIND_TCPIP;
    EXPECT_EQ(ChannelSignal(context, record, SIGNAL_START), 0);
    EXPECT_EQ(ChannelClose(context, record), 1);
    EXPECT_EQ(TcpClose(record), 1);
    const std::uint8_t byte = 'x';
    EXPECT_EQ(TcpSend(context, record, &byte, 0), 1);
    record.IpAddress = kInaddrNone;
    record.TcpPort = 5000;
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 0);

    // Addresses settle from octets or a name, once the sockets layer is up.
    ASSERT_EQ(TcpStartup(context), 1);
    record.PortNumber = 0x10000 + 4001;
    record.BaudRate = 127;
    record.DataBits = 0;
    record.StopBits = 0;
    record.Parity = 1;
    EXPECT_EQ(TcpSettleAddress(context, record), 1);
    EXPECT_EQ(record.TcpPort, 4001);
    EXPECT_EQ(TcpAddressText(record.IpAddress), "127.0.0.1");

    record.PortNumber = 0x10000;  // port 0 in its low 16 bits
    EXPECT_EQ(TcpSettleAddress(context, record), 0);
    record.PortNumber = 4001;
    record.Parity = 300;  // not an octet: no address
    EXPECT_EQ(TcpSettleAddress(context, record), 0);
    EXPECT_EQ(record.IpAddress, kInaddrNone);

    record.HostName = "127.0.0.2";
    EXPECT_EQ(TcpSettleAddress(context, record), 1);
    EXPECT_EQ(TcpAddressText(record.IpAddress), "127.0.0.2");
    EXPECT_EQ(TcpResolveHost("127.0.0.3"), TcpResolveHost("127.0.0.3"));
    EXPECT_NE(TcpResolveHost("127.0.0.3"), kInaddrNone);
    EXPECT_NE(TcpResolveHost("localhost"), kInaddrNone);         // by the name service
    EXPECT_EQ(TcpResolveHost("gage-box.invalid"), kInaddrNone);  // a name that never resolves
    ConnectionTable none;
    TcpShutdown(context, none);
}

}  // namespace
}  // namespace gage
