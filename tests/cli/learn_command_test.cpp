// gagesrv learn against the gage simulator: a multiplexer over TCP on 127.0.0.1 learned,
// written and then read; a pseudo-terminal whose device runs at another baud rate; silence and
// a foreign configuration refused with nothing written.

#include <string>

#include "gagesrv_process.h"

namespace gage::cli_test {
namespace {

class LearnCommandTest : public GagesrvTest {
  protected:
    void SetUp() override {
        dir.Write("ZRN_SYS.INI", "[GAGESERVER]\nWAITTIME=0\nTCPIP_CONNECTION_TIMEOUT=2\n");
    }

    std::unique_ptr<gagesim::Simulator> StartTcp(const std::string& recordTemplate, int intervalMs,
                                                 std::vector<int> channels = {}) {
        gagesim::SimulatorOptions options;
        options.transport = gagesim::Transport::Tcp;
        options.recordTemplate = recordTemplate;
        options.intervalMs = intervalMs;
        options.channels = std::move(channels);
        options.values = {12.3456, -0.5, 7.125};
        return Start(options);
    }
};

TEST_F(LearnCommandTest, LearnedMultiplexerIsWrittenAndThenRead) {
    const auto simulator = StartTcp("{channel:%02d},{value:%+.4f},NRM<13><10>", 50, {1, 2, 3});
    const ProcessResult learned =
        Run({"learn", "--tcp", "127.0.0.1:" + std::to_string(simulator->Port()), "--seconds", "1",
             "--write"});
    ASSERT_EQ(learned.exitStatus, 0) << learned.err << learned.out;
    for (const char* shown :
         {"VALUE1=2,1,0", "CHANNEL=1,1,0", "LITERAL=3,1,0,EQ(\"NRM\")", "confidence 100%"}) {
        EXPECT_NE(learned.out.find(shown), std::string::npos) << shown << "\n" << learned.out;
    }
    const ProcessResult read = Run({"read", "--json", "Learned gage 1"});
    ASSERT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_NE(read.out.find("\"literal\":\"NRM\""), std::string::npos) << read.out;
    const bool known = read.out.find("\"value\":12.3456") != std::string::npos ||
                       read.out.find("\"value\":-0.5") != std::string::npos ||
                       read.out.find("\"value\":7.125") != std::string::npos;
    EXPECT_TRUE(known) << read.out;
}

TEST_F(LearnCommandTest, SerialDeviceAtAnotherBaudRateIsFound) {
    gagesim::SimulatorOptions options;
    options.linkPath = SerialDevice(1);
    options.recordTemplate = "{sign}{abs:%08.3f} MM<13><10>";
    options.walkStep = 0.5;
    options.intervalMs = 50;
    options.lineBaud = 4800;
    const auto simulator = Start(options);
    const ProcessResult learned =
        Run({"learn", "--port", options.linkPath, "--seconds", "1", "--json"});
    ASSERT_EQ(learned.exitStatus, 0) << learned.err << learned.out;
    EXPECT_NE(learned.out.find("\"line\":\"4800 8N1\""), std::string::npos) << learned.out;
    EXPECT_NE(learned.out.find("VALUE1=1,1,9"), std::string::npos) << learned.out;
    EXPECT_NE(learned.out.find("\"written\":false"), std::string::npos) << learned.out;
    EXPECT_FALSE(dir.Read("BRW_GAGE.DEF").has_value());
}

TEST_F(LearnCommandTest, SilenceAndAForeignConfigurationAreRefusedWithNothingWritten) {
    const auto silent = StartTcp("{value:%.3f}<13><10>", 0);
    const std::string device = "127.0.0.1:" + std::to_string(silent->Port());
    ProcessResult learned = Run({"learn", "--tcp", device, "--seconds", "0.5", "--write"});
    EXPECT_EQ(learned.exitStatus, 1);
    EXPECT_NE(learned.err.find("no records seen in 0.5 s"), std::string::npos) << learned.err;
    EXPECT_FALSE(dir.Read("BRW_GAGE.CFG").has_value());

    const auto talking = StartTcp("{value:%.3f}<13><10>", 50);
    dir.Write("BRW_GAGE.CFG", "[APPLICATION]\nNAME=OTHER\n");
    learned = Run({"learn", "--tcp", "127.0.0.1:" + std::to_string(talking->Port()), "--seconds",
                   "1", "--write"});
    EXPECT_EQ(learned.exitStatus, 1);
    EXPECT_NE(learned.err.find("is not a gage server configuration"), std::string::npos)
        << learned.err;
    EXPECT_EQ(dir.Read("BRW_GAGE.CFG"), "[APPLICATION]\nNAME=OTHER\n");
    EXPECT_FALSE(dir.Read("BRW_GAGE.DEF").has_value());
}

// A configured connection keeps its interface type; the new format and gage take free numbers
// and unused names, and what was configured stays.
TEST_F(LearnCommandTest, WriteAddsBesideWhatIsConfigured) {
    const auto simulator = StartTcp("{value:%.3f}<13><10>", 50);
    dir.Write("BRW_GAGE.DEF",
              "[TYPE2]\nDESCRIPTION=Converter\nINIT1=0,X\n"
              "[TYPE2.1]\nDESCRIPTION=Learned format 1\nRECEND=<13>\nVALUE1=1,1,0\n");
    dir.Write("BRW_GAGE.CFG",
              "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\nMUX_0=\"Net Box\",2," +
                  std::to_string(simulator->Port()) +
                  ",127,0,0,1,1,1024,1,\n[GAGES]\n"
                  "GAGE_1=\"Learned gage 1\",2,1,0,0,,0,0,0,1,3,0,0\n");
    const ProcessResult learned = Run({"learn", "net box", "--seconds", "1", "--write"});
    ASSERT_EQ(learned.exitStatus, 0) << learned.err << learned.out;
    const std::string definitions = dir.Read("BRW_GAGE.DEF").value_or("");
    EXPECT_NE(definitions.find("[TYPE2.2]\nDESCRIPTION=Learned format 2"), std::string::npos)
        << definitions;
    EXPECT_NE(definitions.find("INIT1=0,X"), std::string::npos);
    EXPECT_EQ(definitions.find("[TYPE1]"), std::string::npos);
    const std::string configuration = dir.Read("BRW_GAGE.CFG").value_or("");
    EXPECT_NE(configuration.find("GAGE_1=\"Learned gage 1\",2,1,"), std::string::npos);
    EXPECT_NE(configuration.find("GAGE_2=\"Learned gage 2\",2,2,"), std::string::npos)
        << configuration;
}

}  // namespace
}  // namespace gage::cli_test
