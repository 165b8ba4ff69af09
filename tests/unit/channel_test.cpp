// The channel layer without a device: dispatch by kind, closed ports and their error boxes, the
// TCP/IP records' addresses and the simulated source.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>

#include "channels/channel.h"
#include "channels/comm_errors.h"
#include "channels/serial_channel.h"
#include "channels/tcp_channel.h"
#include "helpers/message_box_recorder.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using testing_support::NamedGage;

class ChannelTest : public ::testing::Test {
  protected:
    ChannelTest() {
        support.UseBuiltInsOnly(true);
        settings.ComPrefix = "gage-test-no-such-port-";
    }
    // What the simulated source holds: lines of "%4.4f\r\n".
    bool HoldsFourDecimalLine(int connection, char separator = '.') {
        const ConnectionRecord& record = connections[static_cast<std::size_t>(connection)];
        const std::string held(reinterpret_cast<const char*>(record.RxBuffer.get()),
                               static_cast<std::size_t>(record.RxCount));
        return std::regex_match(held,
                                std::regex(std::string("-?[0-9]+[") + separator + "][0-9]{4}\r\n"));
    }

    Support support;
    ServerSettings settings;
    ChannelContext context{support, settings};
    ConnectionTable connections;
    test::MessageBoxRecorder recorder{support, MB_RESULT_IGNORE};
    std::vector<MessageBoxRequest>& boxes = recorder.boxes;
};

TEST_F(ChannelTest, AnUnknownKindIsANoOpEverywhere) {
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

TEST_F(ChannelTest, ReadingAClosedPortAllocatesTheBufferAndLetsTheUserChoose) {
    ConnectionRecord record;
    record.PortNumber = 3;
    recorder.answers = {MB_RESULT_RETRY, MB_RESULT_IGNORE};
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    ASSERT_TRUE(record.HasReceiveBuffer());
    EXPECT_TRUE(std::all_of(record.RxBuffer.get(), record.RxBuffer.get() + kReceiveBufferSize,
                            [](std::uint8_t b) { return b == 0; }));
    ASSERT_EQ(boxes.size(), 2u);  // Retry tried again, Ignore gave up
    EXPECT_EQ(boxes[0].style, MB_STYLE_ABORTRETRYIGNORE | MB_STYLE_DEFBUTTON3 | MB_STYLE_ICONERROR);
    recorder.answers = {MB_RESULT_ABORT};
    EXPECT_EQ(ChannelRead(context, nullptr, record), -1);
    // A silenced error is never taken for a button: 32768 is neither Abort nor Retry.
    SetCommErrorReporting(context, COMM_REPORT_OPEN_ERRORS);
    EXPECT_EQ(ChannelRead(context, nullptr, record), 0);
    EXPECT_EQ(boxes.size(), 3u);

    // Writing reports an invalid device once, and only when there is something to write.
    SetCommErrorReporting(context, COMM_REPORT_ALL);
    record.PortNumber = 70;
    const std::uint8_t bytes[] = {'?', '\r'};
    EXPECT_EQ(ChannelWrite(context, nullptr, record, bytes, 2), 0);
    EXPECT_EQ(ChannelWrite(context, nullptr, record, bytes, 0), 0);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[3].style, MB_STYLE_OK | MB_STYLE_ICONERROR);
}

TEST_F(ChannelTest, PortsThatCannotBeOpenedAreReportedButNotWhilePreparing) {
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
    for (const int port : {0, 65, 3}) {
        EXPECT_EQ(SerialProbePort(settings, port), 0) << port;
    }
    // An unopened port is not configured, purged, signalled or closed.
    record.PortNumber = 3;
    record.Parity = 9;
    EXPECT_EQ(SerialConfigure(context, nullptr, record), 0);
    EXPECT_EQ(SerialPurge(context, nullptr, record, PURGE_ALL), 0);
    EXPECT_EQ(SerialSignal(record, SIGNAL_START), 0);
    EXPECT_EQ(SerialClose(record), 0);
}

TEST_F(ChannelTest, TcpRecordsIgnoreLineSignalsCloseWithoutASocketAndSettleAddresses) {
    ConnectionRecord record;
    record.Kind = KIND_TCPIP;
    EXPECT_EQ(ChannelSignal(context, record, SIGNAL_START), 0);
    EXPECT_EQ(ChannelClose(context, record), 1);
    const std::uint8_t byte = 'x';
    EXPECT_EQ(TcpSend(context, record, &byte, 0), 1);
    record.IpAddress = kInaddrNone;
    record.TcpPort = 5000;
    EXPECT_EQ(ChannelPrepare(context, nullptr, record), 0);

    // Addresses settle from octets or a name, once the sockets layer is up.
    ASSERT_EQ(TcpStartup(context), 1);
    record.PortNumber = 0x10000 + 4001;
    record.BaudRate = 127;  // octets 127, 0, 0 (as they start) and 1
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
    EXPECT_NE(TcpResolveHost("localhost"), kInaddrNone);         // by the name service
    EXPECT_EQ(TcpResolveHost("gage-box.invalid"), kInaddrNone);  // a name that never resolves
    ConnectionTable none;
    TcpShutdown(context, none);
}

TEST_F(ChannelTest, LineErrorFlagsAreTestedInAFixedOrder) {
    // Overrun before overflow, and the hardware's message, show in the error texts below.
    const std::pair<int, unsigned> messages[] = {{COMM_ERR_RXOVER, 15u},
                                                 {COMM_ERR_RXPARITY | COMM_ERR_RXOVER, 15u},
                                                 {COMM_ERR_MODE | COMM_ERR_BREAK, 9u},
                                                 {COMM_ERR_BREAK | COMM_ERR_FRAME, 10u},
                                                 {COMM_ERR_FRAME | COMM_ERR_OVERRUN, 13u},
                                                 {COMM_ERR_RXPARITY | COMM_ERR_TXFULL, 16u},
                                                 {COMM_ERR_TXFULL, 17u},
                                                 {0x40, 18u},
                                                 {COMM_ERR_BAUD_RATE, 2u},
                                                 {-7, 18u}};
    for (const auto& [code, id] : messages) {
        EXPECT_EQ(CommErrorMessageId(code), id) << code;
    }
}

TEST_F(ChannelTest, ErrorTextsCarryTheCodeInDecimalAndHexTheExtraTextAndTheCallersStyle) {
    recorder.answers = {MB_RESULT_OK, MB_RESULT_RETRY, MB_RESULT_YES};
    EXPECT_EQ(ReportCommError(context, nullptr, 3, nullptr, MB_STYLE_OK), MB_RESULT_OK);
    EXPECT_EQ(
        ReportCommError(context, nullptr, COMM_ERR_HARDWARE, "Error Reading Communication Port",
                        MB_STYLE_ABORTRETRYIGNORE | MB_STYLE_DEFBUTTON3),
        MB_RESULT_RETRY);
    EXPECT_EQ(
        ReportGageError(context, nullptr, GAGE_ERR_NO_PORT, "Gage 7", "Port 3", MB_STYLE_YESNO),
        MB_RESULT_YES);
    ReportGageError(context, nullptr, 999, nullptr, "", MB_STYLE_OK);
    // The one code whose message is out of the table's order.
    ReportGageError(context, nullptr, GAGE_ERR_UNIT_NUMBER, nullptr, nullptr, MB_STYLE_OK);
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].caption, "COMMUNICATION ERROR");
    // An overflow with an overrun shows the overrun text.
    EXPECT_EQ(boxes[0].text, "Character lost due to overrun.\n\nError Code: 3 (3)");
    EXPECT_EQ(boxes[0].style, MB_STYLE_OK | MB_STYLE_ICONERROR);
    EXPECT_EQ(boxes[1].text,
              "The hardware is not available (is locked by another device).\n\nError Code: -10 "
              "(FFFFFFF6)\n\nError Reading Communication Port");
    EXPECT_EQ(boxes[1].style, MB_STYLE_ABORTRETRYIGNORE | MB_STYLE_DEFBUTTON3 | MB_STYLE_ICONERROR);
    // Gage errors frame their message and keep the caller's style.
    EXPECT_EQ(boxes[2].caption, "GAGE ERROR");
    EXPECT_EQ(boxes[2].text,
              "Gage 7\n\nNO COMMUNICATION PORT SELECTED\r\n\r\nSelect a communication port "
              "now?\n\nPort 3");
    EXPECT_EQ(boxes[2].style, MB_STYLE_YESNO);
    EXPECT_EQ(boxes[3].text, "AN UNDEFINED ERROR HAS OCCURED");
    EXPECT_EQ(boxes[4].text, "UNSUPPORTED UNIT NUMBER SPECIFIED");
}

TEST_F(ChannelTest, TheReportingModeSilencesEachKindOfCodeOnItsOwn) {
    recorder.answers = {MB_RESULT_OK};
    EXPECT_EQ(ReportCommError(context, nullptr, 0, nullptr, 0), 0);
    EXPECT_EQ(SetCommErrorReporting(context, COMM_REPORT_OPEN_ERRORS), COMM_REPORT_ALL);
    EXPECT_EQ(ReportCommError(context, nullptr, COMM_ERR_FRAME, nullptr, 0), COMM_ERR_FRAME);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ReportCommError(context, nullptr, COMM_ERR_HARDWARE, nullptr, 0), MB_RESULT_OK);
    EXPECT_EQ(boxes.size(), 1u);
    SetCommErrorReporting(context, COMM_REPORT_LINE_ERRORS);
    EXPECT_EQ(ReportCommError(context, nullptr, COMM_ERR_HARDWARE, nullptr, 0), COMM_ERR_HARDWARE);
    {
        const ScopedCommErrorReporting quiet(context, 0);
        EXPECT_EQ(ReportCommError(context, nullptr, COMM_ERR_MODE, nullptr, 0), COMM_ERR_MODE);
        EXPECT_EQ(ReportGageError(context, nullptr, GAGE_ERR_TIMEOUT, nullptr, nullptr, 0),
                  GAGE_ERR_TIMEOUT);
    }
    EXPECT_EQ(context.commErrorReporting, COMM_REPORT_LINE_ERRORS);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(ChannelTest, SimulatedReadingsAreFourDecimalLinesUpToTheSerialLimitAndTwoGagesShareOnePair) {
    ASSERT_EQ(AllocateReceiveBuffer(connections[2]), 1);
    ASSERT_EQ(AllocateReceiveBuffer(connections[5]), 1);
    const int first = SimulatedRead(context, NamedGage("A RandomValue", 2), connections);
    const double held = context.deviate.Held;
    EXPECT_EQ(SimulatedRead(context, NamedGage("B RandomValue", 5), connections),
              connections[5].RxCount);
    EXPECT_EQ(first, connections[2].RxCount);
    EXPECT_TRUE(HoldsFourDecimalLine(2));
    EXPECT_TRUE(HoldsFourDecimalLine(5));
    EXPECT_NEAR(std::stod(reinterpret_cast<const char*>(connections[5].RxBuffer.get())), held,
                0.00005);             // the held half of the first pair
    settings.DecimalSeparator = ',';  // the user's
    EmptyReceiveBuffer(connections[2]);
    SimulatedRead(context, NamedGage("RandomValue", 2), connections);
    EXPECT_TRUE(HoldsFourDecimalLine(2, ','));

    // Only valid connections with a buffer, and names with RandomValue in their case.
    EXPECT_EQ(SimulatedRead(context, NamedGage("RandomValue", 3), connections), 0);
    EXPECT_EQ(connections[3].RxCount, 0);
    EXPECT_EQ(SimulatedRead(context, NamedGage("RandomValue", 64), connections), 0);
    EXPECT_EQ(SimulatedRead(context, NamedGage("RandomValue", -1), connections), 0);
    EXPECT_TRUE(IsSimulatedGage(NamedGage("Bore RandomValue 2", 0)));
    EXPECT_FALSE(IsSimulatedGage(NamedGage("randomvalue", 0)));
    EXPECT_FALSE(IsSimulatedGage(NamedGage("Random Value", 0)));
    // The serial limit cuts the last reading, then nothing more is added.
    connections[2].RxCount = kSerialAppendLimit - 3;
    EXPECT_EQ(SimulatedRead(context, connections[2]), 3);
    EXPECT_EQ(SimulatedRead(context, connections[2]), 0);
    // The deviates' values after a seed, bit for bit and so in pairs, are pinned by the read
    // cycle's simulated-gage test. Unseeded, every context starts alike.
    ChannelContext fresh{support, settings}, again{support, settings};
    EXPECT_EQ(NormalDeviate(fresh), NormalDeviate(again));
}

}  // namespace
}  // namespace gage
