// gagesrv learn against the gage simulator: a multiplexer over TCP on 127.0.0.1 learned,
// written and then read through the library; a pseudo-terminal whose device runs at another baud
// rate; silence refused with nothing written.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gagesrv_process.h"
#include "simulator.h"

namespace gage::cli_test {
namespace {

constexpr auto kRunLimit = std::chrono::milliseconds(90000);

class LearnCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        config_.Write("ZRN_SYS.INI", "[GAGESERVER]\nWAITTIME=0\nTCPIP_CONNECTION_TIMEOUT=2\n");
    }

    std::unique_ptr<gagesim::Simulator> Start(gagesim::SimulatorOptions options) {
        auto simulator = std::make_unique<gagesim::Simulator>(std::move(options));
        std::string error;
        EXPECT_TRUE(simulator->Start(error)) << error;
        return simulator;
    }

    static gagesim::SimulatorOptions Tcp(const std::string& recordTemplate, int intervalMs) {
        gagesim::SimulatorOptions options;
        options.transport = gagesim::Transport::Tcp;
        options.recordTemplate = recordTemplate;
        options.intervalMs = intervalMs;
        return options;
    }

    ConfigDirectory config_;
};

TEST_F(LearnCommandTest, LearnedMultiplexerIsWrittenAndThenReadByTheLibrary) {
    gagesim::SimulatorOptions options = Tcp("{channel:%02d},{value:%+.4f},NRM<13><10>", 50);
    options.channels = {1, 2, 3};
    options.values = {12.3456, -0.5, 7.125};
    const auto simulator = Start(options);
    const std::string device = "127.0.0.1:" + std::to_string(simulator->Port());

    const ProcessResult learned = RunGagesrv(
        config_.path(), {"learn", "--tcp", device, "--seconds", "1", "--write"}, {}, kRunLimit);
    ASSERT_EQ(learned.exitStatus, 0) << learned.err << learned.out;
    EXPECT_NE(learned.out.find("VALUE1=2,1,0"), std::string::npos) << learned.out;
    EXPECT_NE(learned.out.find("CHANNEL=1,1,0"), std::string::npos) << learned.out;
    EXPECT_NE(learned.out.find("LITERAL=3,1,0,EQ(\"NRM\")"), std::string::npos) << learned.out;
    EXPECT_NE(learned.out.find("confidence 100%"), std::string::npos) << learned.out;
    EXPECT_NE(config_.Read("BRW_GAGE.CFG").value_or("").find("GAGE_1=\"Learned gage 1\""),
              std::string::npos);

    const ProcessResult read =
        RunGagesrv(config_.path(), {"read", "--json", "Learned gage 1"}, {}, kRunLimit);
    ASSERT_EQ(read.exitStatus, 0) << read.err;
    const bool known = read.out.find("\"value\":12.3456") != std::string::npos ||
                       read.out.find("\"value\":-0.5") != std::string::npos ||
                       read.out.find("\"value\":7.125") != std::string::npos;
    EXPECT_TRUE(known) << read.out;
    EXPECT_NE(read.out.find("\"literal\":\"NRM\""), std::string::npos) << read.out;
}

TEST_F(LearnCommandTest, SerialDeviceAtAnotherBaudRateIsFound) {
    gagesim::SimulatorOptions options;
    options.transport = gagesim::Transport::Pty;
    options.linkPath = config_.SerialDevice(1);
    options.recordTemplate = "{sign}{abs:%08.3f} MM<13><10>";
    options.walkStep = 0.5;
    options.intervalMs = 50;
    options.lineBaud = 4800;
    const auto simulator = Start(options);

    const ProcessResult learned = RunGagesrv(
        config_.path(), {"learn", "--port", options.linkPath, "--seconds", "1", "--json"}, {},
        kRunLimit);
    ASSERT_EQ(learned.exitStatus, 0) << learned.err << learned.out;
    EXPECT_NE(learned.out.find("\"line\":\"4800 8N1\""), std::string::npos) << learned.out;
    EXPECT_NE(learned.out.find("VALUE1=1,1,9"), std::string::npos) << learned.out;
    EXPECT_NE(learned.out.find("\"written\":false"), std::string::npos) << learned.out;
    EXPECT_FALSE(config_.Read("BRW_GAGE.DEF").has_value());
}

TEST_F(LearnCommandTest, SilenceIsRefusedAndNothingIsWritten) {
    const auto simulator = Start(Tcp("{value:%.3f}<13><10>", 0));
    const ProcessResult learned =
        RunGagesrv(config_.path(),
                   {"learn", "--tcp", "127.0.0.1:" + std::to_string(simulator->Port()), "--seconds",
                    "0.5", "--write"},
                   {}, kRunLimit);
    EXPECT_EQ(learned.exitStatus, 1);
    EXPECT_NE(learned.err.find("no records seen in 0.5 s"), std::string::npos) << learned.err;
    EXPECT_FALSE(config_.Read("BRW_GAGE.DEF").has_value());
    EXPECT_FALSE(config_.Read("BRW_GAGE.CFG").has_value());
}

// A configured connection keeps its interface type; the new format and gage take free numbers
// and unused names, and what was configured stays.
TEST_F(LearnCommandTest, WriteAddsBesideWhatIsConfigured) {
    const auto simulator = Start(Tcp("{value:%.3f}<13><10>", 50));
    config_.Write("BRW_GAGE.DEF",
                  "[TYPE2]\nDESCRIPTION=Converter\nINIT1=0,X\n"
                  "[TYPE2.1]\nDESCRIPTION=Learned format 1\nRECEND=<13>\nVALUE1=1,1,0\n");
    config_.Write("BRW_GAGE.CFG",
                  "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\n"
                  "MUX_0=\"Net Box\",2," +
                      std::to_string(simulator->Port()) +
                      ",127,0,0,1,1,1024,1,\n[GAGES]\n"
                      "GAGE_1=\"Learned gage 1\",2,1,0,0,,0,0,0,1,3,0,0\n");
    const ProcessResult learned = RunGagesrv(
        config_.path(), {"learn", "net box", "--seconds", "1", "--write"}, {}, kRunLimit);
    ASSERT_EQ(learned.exitStatus, 0) << learned.err << learned.out;
    const std::string definitions = config_.Read("BRW_GAGE.DEF").value_or("");
    EXPECT_NE(definitions.find("[TYPE2.2]\nDESCRIPTION=Learned format 2"), std::string::npos)
        << definitions;
    EXPECT_NE(definitions.find("INIT1=0,X"), std::string::npos);
    EXPECT_EQ(definitions.find("[TYPE1]"), std::string::npos);
    const std::string configuration = config_.Read("BRW_GAGE.CFG").value_or("");
    EXPECT_NE(configuration.find("GAGE_1=\"Learned gage 1\",2,1,"), std::string::npos);
    EXPECT_NE(configuration.find("GAGE_2=\"Learned gage 2\",2,2,"), std::string::npos)
        << configuration;
}

TEST_F(LearnCommandTest, ConfigurationOfAnotherProgramIsLeftAlone) {
    const auto simulator = Start(Tcp("{value:%.3f}<13><10>", 50));
    const std::string foreign = "[APPLICATION]\nNAME=OTHER\n";
    config_.Write("BRW_GAGE.CFG", foreign);
    const ProcessResult learned =
        RunGagesrv(config_.path(),
                   {"learn", "--tcp", "127.0.0.1:" + std::to_string(simulator->Port()), "--seconds",
                    "1", "--write"},
                   {}, kRunLimit);
    EXPECT_EQ(learned.exitStatus, 1);
    EXPECT_NE(learned.err.find("is not a gage server configuration"), std::string::npos)
        << learned.err;
    EXPECT_EQ(config_.Read("BRW_GAGE.CFG"), foreign);
    EXPECT_FALSE(config_.Read("BRW_GAGE.DEF").has_value());
}

}  // namespace
}  // namespace gage::cli_test
