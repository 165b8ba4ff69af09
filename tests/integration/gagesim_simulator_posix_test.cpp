// The gage simulator's own behaviour: the record template and the line it plays on.

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "record_template.h"
#include "simulator.h"

namespace gagesim {
namespace {

using namespace std::chrono_literals;

TEST(SimulatorTemplate, BuildsTextBinaryAndWideRecords) {
    const struct {
        const char* text;
        double value;
        int channel, count;
        std::string record;
    } cases[] = {{"<2>{sign}{abs:%08.3f}<13>", -12.5, 1, 1, "\x02-0012.500\r"},
                 {"{sep:,}{value:%.2f};{channel:%02d};{count}<10>", 3.14159, 7, 42, "3,14;07;42\n"},
                 {"{sign: }{abs}", 1.0, 1, 1, " 1.0000"},
                 {"{int16le:100}", 2.56, 1, 1, std::string("\x00\x01", 2)},
                 {"{int32be}", -2.0, 1, 1, "\xFF\xFF\xFF\xFE"},
                 {"{wide}A<13>", 0.0, 1, 1, std::string("A\0\r\0", 4)},
                 {"<x> <300> <123>", 0.0, 1, 1, "<x> <300> {"}};
    std::string error;
    for (const auto& c : cases) {
        RecordTemplate parsed;
        ASSERT_TRUE(ParseRecordTemplate(c.text, parsed, error)) << c.text << error;
        EXPECT_EQ(RenderRecord(parsed, c.value, c.channel, c.count), c.record) << c.text;
    }
    for (const char* bad : {"{value:%s}", "{value:%f %f}", "{nonsense}", "{value"}) {
        RecordTemplate parsed;
        EXPECT_FALSE(ParseRecordTemplate(bad, parsed, error)) << bad;
    }
}

class SimulatorLine : public ::testing::Test {
  protected:
    void Start(SimulatorOptions options) {
        simulator = std::make_unique<Simulator>(options);
        std::string error;
        ASSERT_TRUE(simulator->Start(error)) << error;
        fd = ::open(simulator->DevicePath().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
    }
    void TearDown() override {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    std::string ReadAtLeast(std::size_t n) {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (got.size() < n && std::chrono::steady_clock::now() < deadline) {
            pollfd waiting{fd, POLLIN, 0};
            if (::poll(&waiting, 1, 100) <= 0) {
                continue;
            }
            char buffer[256];
            const ssize_t k = ::read(fd, buffer, sizeof buffer);
            if (k <= 0) {
                break;
            }
            got.append(buffer, static_cast<std::size_t>(k));
        }
        return got;
    }
    std::unique_ptr<Simulator> simulator;
    int fd = -1;
};

// An addressed trigger is answered only by its own channel, with that channel's own count. (That
// plain commands are answered by the next value and channel, a queued reply first, the CLI read
// tests see.)
TEST_F(SimulatorLine, AnAddressedTriggerIsAnsweredByItsChannelWithItsOwnCount) {
    Start({.linkPath = "",
           .recordTemplate = "{channel}/{count};",
           .values = {1.0},
           .channels = {1, 2, 12},
           .trigger = "#{ch}?"});
    // #03? addresses no channel of this multiplexer and is not answered.
    ASSERT_EQ(::write(fd, "#02?#12?#03?#02?#01?", 20), 20);
    ASSERT_TRUE(simulator->WaitForCommands(4, 5s));
    EXPECT_EQ(ReadAtLeast(17), "2/1;12/1;2/2;1/1;");
}

TEST_F(SimulatorLine, PartialRecordsNoiseAndADroppedLine) {
    Start({.linkPath = "",
           .recordTemplate = "<2>{value:%.3f}<3>",
           .values = {5.0},
           .trigger = "",
           .noiseBytes = 2,
           .partialBytes = 4});
    simulator->SendRecords(2);
    const std::string got = ReadAtLeast(12);
    ASSERT_EQ(got.size(), 12u);
    EXPECT_EQ(got.substr(2, 4),
              "\x02"
              "5.0");
    EXPECT_EQ(got.substr(8, 4),
              "\x02"
              "5.0");

    simulator->DropLine();
    EXPECT_TRUE(simulator->LineDropped());
    pollfd waiting{fd, POLLIN, 0};
    ASSERT_EQ(::poll(&waiting, 1, 5000), 1);
    EXPECT_NE(waiting.revents & POLLHUP, 0);
}

TEST(SimulatorTcp, DropsTheLineMidRecordWhenAsked) {
    // Over TCP what was sent before the drop still arrives (a terminal's hang-up would discard
    // unread input), so the cut is visible to the reader.
    Simulator simulator({.transport = Transport::Tcp,
                         .linkPath = "",
                         .recordTemplate = "ABCDEFGH",
                         .values = {},
                         .trigger = "go",
                         .dropAfterBytes = 11});
    std::string error;
    ASSERT_TRUE(simulator.Start(error)) << error;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(simulator.Port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_TRUE(simulator.WaitForClient(5s));
    ASSERT_EQ(::write(fd, "gogogo", 6), 6);
    timeval limit{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string got;
    char buffer[64];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        got.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    EXPECT_EQ(n, 0);  // the simulator closed the connection
    EXPECT_EQ(got, "ABCDEFGHABC");
    EXPECT_TRUE(simulator.LineDropped());
}

}  // namespace
}  // namespace gagesim
