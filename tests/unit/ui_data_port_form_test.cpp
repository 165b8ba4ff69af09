#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "channels/tcp_channel.h"
#include "config_test_files.h"
#include "reading_test_support.h"
#include "ui/forms/data_port_form.h"

namespace gage {
namespace {

constexpr std::uint32_t kLoopback = 0x0100007Fu;  // 127.0.0.1 in network byte order

// TCP/IP entries: the host form with host and port, or the octet form 127.0.0.1 with the port.
DataPortEntries TcpEntries(bool hostForm, const char* host, const char* port) {
    DataPortEntries entries;
    entries.source = kSourceTcp;
    entries.hostForm = hostForm;
    entries.host = host;
    entries.hostPort = entries.octetPort = port;
    entries.octets = {"127", "0", "0", "1"};
    return entries;
}

class DataPortFormTest : public ::testing::Test {
  protected:
    // Ports 2 and 5 can be opened; "bench.local" resolves to the loopback address.
    DataPortForm Form(bool modify = false) {
        return DataPortForm(
            engine.context, record, modify, [](int port) { return port == 2 || port == 5; },
            [this](const std::string& host) {
                lookedUp.push_back(host);
                return host == "bench.local" ? kLoopback : kInaddrNone;
            });
    }
    testing_support::EngineFixture engine;
    ConnectionRecord record;
    std::vector<std::string> lookedUp;
};

TEST_F(DataPortFormTest, SourcesAreTheOpenablePortsBetweenUndefinedAndTcp) {
    engine.settings.ComPrefix = "COM";
    DataPortForm form = Form();
    const std::vector<ComboLine> sources = form.SourceLines();
    ASSERT_EQ(sources.size(), 4u);
    EXPECT_EQ(sources[0].data, kSourceUndefined);
    EXPECT_EQ(sources[1].text, "COM2");
    EXPECT_EQ(sources[2].data, 5);
    EXPECT_EQ(sources[3].text, "TCP/IP");
    EXPECT_EQ(sources[3].data, kSourceTcp);
}

TEST_F(DataPortFormTest, AbsentPortAndUnlistedSettingsOpenAsUndefinedAndDefaults) {
    record.PortNumber = 7;  // not openable now
    record.BaudRate = 1234;
    record.Parity = 3;
    record.DataBits = 7;
    record.StopBits = 9;
    record.FlowControl = 0;
    record.BufferSize = 4096;
    DataPortForm form = Form();
    const DataPortOpening shown = form.Open(form.SourceLines());
    EXPECT_EQ(shown.source, kSourceUndefined);
    EXPECT_EQ(shown.serial, (std::array<std::int32_t, kSerialListCount>{9600, 3, 7, 1, 1, 1024}));
    EXPECT_EQ(form.Working().BaudRate, 9600u);
    EXPECT_EQ(form.Working().BufferSize, 1024);

    // OK without choosing: stored with port 0 and the settings shown, no port opened.
    DataPortEntries entries;
    entries.interfaceType = ComboLine{"Bench converter", 4};
    entries.source = shown.source;
    std::copy(shown.serial.begin(), shown.serial.end(), entries.serial.begin());
    EXPECT_EQ(form.Apply(nullptr, entries), 1);
    form.Finish(record);
    EXPECT_EQ(record.PortNumber, 0);
    EXPECT_EQ(record.Parity, 3u);
    EXPECT_EQ(record.Name.view(), "Bench converter");
    EXPECT_EQ(record.InterfaceType, 4);
}

TEST_F(DataPortFormTest, TcpEntriesAreCheckedAndTheOctetFormEmptiesTheHost) {
    record.Kind = KIND_TCPIP;
    record.HostName = "bench.local";
    record.PortNumber = 4001;
    DataPortForm form = Form();
    const DataPortOpening shown = form.Open(form.SourceLines());
    EXPECT_EQ(shown.source, kSourceTcp);
    EXPECT_TRUE(shown.hostForm);
    EXPECT_EQ(shown.hostPort, "4001");
    EXPECT_EQ(shown.resolved, "127.0.0.1");

    struct Case {
        bool hostForm;
        const char* host;
        const char* port;
        int accepted;
    };
    // Port 1 would load, but is refused here.
    const Case cases[] = {{true, "bench.local", "1", 0},
                          {true, "bench.local", "65535", 0},
                          {true, "nowhere.invalid", "4001", 0},
                          {true, "bench.local", "2", 1},
                          {false, "", "65534", 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(form.Apply(nullptr, TcpEntries(c.hostForm, c.host, c.port)), c.accepted)
            << c.host << ":" << c.port;
    }
    form.Finish(record);
    EXPECT_EQ(record.HostName.view(), "");
    EXPECT_EQ(record.BaudRate, 127u);
    EXPECT_EQ(record.Parity, 1u);
    EXPECT_EQ(record.IpAddress, kLoopback);
    EXPECT_EQ(record.TcpPort, 65534);
}

TEST_F(DataPortFormTest, CancelRestoresTheRecordAsItWas) {
    record.Name = "Line 1";
    record.PortNumber = 5;
    record.BaudRate = 4800;
    DataPortForm form = Form(true);
    EXPECT_TRUE(form.Modify());
    form.Open(form.SourceLines());
    DataPortEntries entries = TcpEntries(false, "", "23");
    entries.interfaceType = ComboLine{"Other", 2};
    EXPECT_EQ(form.Apply(nullptr, entries), 1);
    form.Cancel();
    form.Finish(record);
    EXPECT_EQ(record.Name.view(), "Line 1");
    EXPECT_EQ(record.Kind, KIND_SERIAL);
    EXPECT_EQ(record.PortNumber, 5);
    EXPECT_EQ(record.BaudRate, 4800u);
}

TEST(DataPortLists, TimedResolverAnswersDottedAndKnownNames) {
    testing_support::EngineFixture engine;
    ASSERT_EQ(TcpStartup(engine.channels), 1);   // Windows looks names up once sockets started
    engine.settings.TcpConnectionTimeout = 0.0;  // a blocking connect: still a bounded look-up
    const HostResolver resolve = TimedHostResolver(engine.settings);
    EXPECT_EQ(resolve("127.0.0.1"), kLoopback);
    EXPECT_EQ(resolve("localhost"), kLoopback);  // looked up on a thread of its own
    EXPECT_EQ(resolve(""), kInaddrNone);
    TcpShutdown(engine.channels, engine.connections);
}

TEST(DataPortLists, InterfaceTypesAndSerialListsAsOffered) {
    test::ConfigTestDirectory dir;
    const std::string path =
        dir.Write("BRW_GAGE.DEF",
                  "[TYPE3]\nDESCRIPTION=Mux\n[TYPE1]\nDESCRIPTION=A very long converter "
                  "description indeed\n[TYPE2]\nDESCRIPTION=\n");
    const std::vector<ComboLine> types = InterfaceTypeLines(path);
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0].text.size(), 30u);
    EXPECT_EQ(types[1].data, 3);
    EXPECT_EQ(InterfaceTypeSelection(types, "Mux"), 1);
    EXPECT_EQ(InterfaceTypeSelection(types, "mux"), 0);  // exact text only
    // A connection named from the long description (31 characters) still finds its type.
    EXPECT_EQ(InterfaceTypeSelection(types, "A very long converter descript"), 0);
    EXPECT_EQ(InterfaceTypeSelection({types[1], types[0]}, "A very long converter descripti"), 1);
    EXPECT_EQ(InterfaceTypeSelection({}, "Mux"), -1);

    Support support;
    EXPECT_EQ(SerialListLines(support, SERIAL_LIST_BAUD_RATE).back().data, 115200);
    EXPECT_EQ(SerialListLines(support, SERIAL_LIST_PARITY)[4].text, "SPACE");
    EXPECT_EQ(SerialListLines(support, SERIAL_LIST_STOP_BITS)[2].text, "1.5");
    EXPECT_EQ(SerialListLines(support, SERIAL_LIST_FLOW_CONTROL)[3].text, "RTS=off/DTR=on");
    EXPECT_TRUE(IsOctetComplete("192"));
    EXPECT_FALSE(IsOctetComplete("19"));
}

}  // namespace
}  // namespace gage
