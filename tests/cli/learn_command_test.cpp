// gagesrv learn against the gage simulator: a multiplexer over TCP on 127.0.0.1 learned,
// written and then read; a pseudo-terminal whose device runs at another baud rate; silence and
// a foreign configuration refused with nothing written; a format added beside configured ones.

#include <gmock/gmock.h>

#include <string>

#include "gagesrv_process.h"

namespace gage::cli_test {
namespace {

using ::testing::AnyOf;
using ::testing::HasSubstr;
using ::testing::Not;

class LearnCommandTest : public GagesrvTest {
  protected:
    void SetUp() override {
        dir.Write("ZRN_SYS.INI", "[GAGESERVER]\nWAITTIME=0\nTCPIP_CONNECTION_TIMEOUT=2\n");
    }
    std::unique_ptr<gagesim::Simulator> StartTcp(std::string recordTemplate, int intervalMs,
                                                 std::vector<int> channels = {1}) {
        return Start({.transport = gagesim::Transport::Tcp,
                      .linkPath = "",
                      .recordTemplate = std::move(recordTemplate),
                      .values = {12.3456, -0.5, 7.125},
                      .channels = std::move(channels),
                      .trigger = "",
                      .intervalMs = intervalMs});
    }
    ProcessResult Learn(const gagesim::Simulator& simulator, const char* seconds) {
        return Run({"learn", "--tcp", "127.0.0.1:" + std::to_string(simulator.Port()), "--seconds",
                    seconds, "--write"});
    }
};

TEST_F(LearnCommandTest, LearnedMultiplexerIsWrittenAndThenRead) {
    const auto simulator = StartTcp("{channel:%02d},{value:%+.4f},NRM<13><10>", 50, {1, 2, 3});
    const ProcessResult learned = Learn(*simulator, "1");
    ASSERT_EQ(learned.exitStatus, 0) << learned.err << learned.out;
    for (const char* shown :
         {"VALUE1=2,1,0", "CHANNEL=1,1,0", "LITERAL=3,1,0,EQ(\"NRM\")", "confidence 100%"}) {
        EXPECT_THAT(learned.out, HasSubstr(shown));
    }
    const ProcessResult read = Run({"read", "--json", "Learned gage 1"});
    ASSERT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_THAT(read.out, HasSubstr("\"literal\":\"NRM\""));
    EXPECT_THAT(read.out, AnyOf(HasSubstr("\"value\":12.3456"), HasSubstr("\"value\":-0.5"),
                                HasSubstr("\"value\":7.125")));
}

TEST_F(LearnCommandTest, SerialDeviceAtAnotherBaudRateIsFound) {
    const auto simulator = Start({.linkPath = SerialDevice(1),
                                  .recordTemplate = "{sign}{abs:%08.3f} MM<13><10>",
                                  .values = {},
                                  .walkStep = 0.5,
                                  .trigger = "",
                                  .intervalMs = 50,
                                  .lineBaud = 4800});
    const ProcessResult learned =
        Run({"learn", "--port", SerialDevice(1), "--seconds", "1", "--json"});
    ASSERT_EQ(learned.exitStatus, 0) << learned.err << learned.out;
    for (const char* shown : {"\"line\":\"4800 8N1\"", "VALUE1=1,1,9", "\"written\":false"}) {
        EXPECT_THAT(learned.out, HasSubstr(shown));
    }
    EXPECT_FALSE(dir.Read("BRW_GAGE.DEF").has_value());
}

TEST_F(LearnCommandTest, SilenceAndAForeignConfigurationAreRefusedWithNothingWritten) {
    ProcessResult learned = Learn(*StartTcp("{value:%.3f}<13><10>", 0), "0.5");
    EXPECT_EQ(learned.exitStatus, 1);
    EXPECT_THAT(learned.err, HasSubstr("no records seen in 0.5 s"));
    EXPECT_FALSE(dir.Read("BRW_GAGE.CFG").has_value());

    dir.Write("BRW_GAGE.CFG", "[APPLICATION]\nNAME=OTHER\n");
    learned = Learn(*StartTcp("{value:%.3f}<13><10>", 50), "1");
    EXPECT_EQ(learned.exitStatus, 1);
    EXPECT_THAT(learned.err, HasSubstr("is not a gage server configuration"));
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
    dir.Write(
        "BRW_GAGE.CFG",
        "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\nMUX_0=\"Net Box\",2," +
            std::to_string(simulator->Port()) +
            ",127,0,0,1,1,1024,1,\n[GAGES]\nGAGE_1=\"Learned gage 1\",2,1,0,0,,0,0,0,1,3,0,0\n");
    const ProcessResult learned = Run({"learn", "net box", "--seconds", "1", "--write"});
    ASSERT_EQ(learned.exitStatus, 0) << learned.err << learned.out;
    const std::string definitions = dir.Read("BRW_GAGE.DEF").value_or("");
    EXPECT_THAT(definitions, HasSubstr("[TYPE2.2]\nDESCRIPTION=Learned format 2"));
    EXPECT_THAT(definitions, HasSubstr("INIT1=0,X"));
    EXPECT_THAT(definitions, Not(HasSubstr("[TYPE1]")));
    const std::string configuration = dir.Read("BRW_GAGE.CFG").value_or("");
    EXPECT_THAT(configuration, HasSubstr("GAGE_1=\"Learned gage 1\",2,1,"));
    EXPECT_THAT(configuration, HasSubstr("GAGE_2=\"Learned gage 2\",2,2,"));
}

}  // namespace
}  // namespace gage::cli_test
