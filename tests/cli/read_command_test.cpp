// gagesrv read and the commands for every connection, run as a process against simulated gages
// on a pseudo-terminal and on TCP/IP 127.0.0.1: the wiring of each command and option to the
// gage server, the exit status, Ctrl-C and the terminal. What a reading looks like is tested as
// a function (gagesrv_text_test).

#include <gmock/gmock.h>

#include <string>

#include "gagesrv_process.h"

namespace gage::cli_test {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::Not;

// A serial caliper on COM3 and a multiplexer with channels 1 to 3 on TCP/IP.
class ReadCommandTest : public GagesrvTest {
  protected:
    std::unique_ptr<gagesim::Simulator> caliper =
        Start({.linkPath = SerialDevice(3),
               .recordTemplate = "{value:%+.3f};{count};C{count};NRM<13><10>",
               .values = {12.345, -0.5},
               .trigger = "?\r"});
    std::unique_ptr<gagesim::Simulator> mux;

    void SetUp() override {
        mux = Start({.transport = gagesim::Transport::Tcp,
                     .linkPath = "",
                     .recordTemplate = "{channel},{value:%.1f}<13><10>",
                     .values = {1.5, 2.5, 3.5},
                     .channels = {1, 2, 3},
                     .allChannels = true,
                     .trigger = "?\r"});
        dir.Write("ZRN_SYS.INI", "[GAGESERVER]\r\nCOM_PREFIX=" + ComPrefix() + "\r\n");
        dir.Write(
            "BRW_GAGE.DEF",
            "[TYPE2]\r\n[TYPE2.1]\r\nRECEND=<13><10>\r\nMEAS_READ=?<13>\r\nMEASTIMEOUT=400\r\n"
            "VALUE1=1,1,0\r\nREADING=2,1,0\r\nSEPARATOR=;\r\nCODE=3,1,0\r\nLITERAL=4,1,0\r\n"
            "GAGEINIT=hello<13>\r\nSGRPSTART=begin[ID]<13>\r\nSGRPEND=end[ID]<13>\r\n"
            "[TYPE3]\r\n[TYPE3.1]\r\nSEPARATOR=,\r\nRECEND=<13><10>\r\nMEAS_READ=?<13>\r\n"
            "MEASTIMEOUT=400\r\nCHANNEL=1,1,0\r\nVALUE1=2,1,0\r\n");
        Configure(0);
    }
    void Configure(int caliperFlags) {
        dir.Write("BRW_GAGE.CFG",
                  "[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n[INTERFACES]\r\n"
                  "MUX_0=\"Port\",2,3,9600,8,1,1,1,1024,0,\r\nMUX_1=\"Mux\",3," +
                      std::to_string(mux->Port()) + ",0,0,0,0,1,1024,1,127.0.0.1\r\n[GAGES]\r\n" +
                      "GAGE_1=\"Caliper\",2,1,0,7,SN,0,1,0,1,3," + std::to_string(caliperFlags) +
                      ",0\r\nGAGE_2=\"Bore B\",3,1,2,0,,0,1,0,1,3,0,1\r\n");
    }
};

TEST_F(ReadCommandTest, ReadsEachGageInRoundsAndAFailedReadMakesTheStatusOne) {
    caliper->QueueReplies({"garbage\r\n"});  // the caliper's first answer has no value
    const ProcessResult result = Run({"read", "caliper", "Bore B", "--count", "2", "--json"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out,
              "{\"gage\":\"caliper\",\"round\":1,\"ok\":false}\n"
              "{\"gage\":\"Bore B\",\"round\":1,\"ok\":true,\"reading\":0,\"channel\":2,"
              "\"value\":2.5,\"code\":\"\",\"literal\":\"\"}\n"
              "{\"gage\":\"caliper\",\"round\":2,\"ok\":true,\"reading\":1,\"channel\":0,"
              "\"value\":12.345,\"code\":\"C1\",\"literal\":\"NRM\"}\n"
              "{\"gage\":\"Bore B\",\"round\":2,\"ok\":true,\"reading\":0,\"channel\":2,"
              "\"value\":2.5,\"code\":\"\",\"literal\":\"\"}\n");
    EXPECT_EQ(caliper->CommandCount(), 2);  // each read sent its own request
    EXPECT_EQ(mux->CommandCount(), 2);
    // The caliper's wait outlasted the indicator's delay, yet a script's standard error has none.
    EXPECT_THAT(result.err, Not(HasSubstr("waiting")));
}

TEST_F(ReadCommandTest, OptionsAndNamesReachTheReadCommand) {
    // The multiplexer answers channel 1 first: a channel-2 gage skips it only without
    // --channel-only.
    EXPECT_EQ(Run({"read", "Bore B"}).exitStatus, 0);
    EXPECT_THAT(Run({"read", "Bore B", "--channel-only"}).err, HasSubstr("Bore B: no reading"));
    // Unknown or overlong names are refused before any read (the caliper's count stays 0).
    const ProcessResult unknown = Run({"read", "Caliper", "Nope"});
    EXPECT_EQ(unknown.exitStatus, 1);
    EXPECT_THAT(unknown.err, HasSubstr("No gage named \"Nope\""));
    EXPECT_THAT(Run({"read", std::string(32, 'x')}).err, HasSubstr("longer than a gage name"));
    EXPECT_EQ(Run({"subgroup-end", "Nope"}).exitStatus, 1);
    EXPECT_NE(Run({"read"}).exitStatus, 0);
    EXPECT_NE(Run({"read", "Caliper", "--count", "-1"}).exitStatus, 0);
    EXPECT_EQ(caliper->CommandCount(), 0);
    Configure(8);  // no read command when polling
    EXPECT_EQ(Run({"read", "Caliper", "--poll"}).exitStatus, 1);
    EXPECT_EQ(caliper->CommandCount(), 0);
    EXPECT_EQ(Run({"read", "Caliper"}).exitStatus, 0);
    EXPECT_EQ(caliper->CommandCount(), 1);
}

TEST_F(ReadCommandTest, CountZeroReadsUntilInterruptedThenStopsInOrder) {
    const ProcessResult result =
        Run({"read", "Caliper", "--count", "0", "--interval", "20", "--json"}, {},
            {.interruptOn = "\"round\":3,"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_THAT(result.err, HasSubstr("Interrupted."));
    // The read under way when Ctrl-C came was finished and printed whole.
    EXPECT_EQ(result.out.back(), '\n');
    EXPECT_THAT(result.out, HasSubstr("\"round\":3,\"ok\":true"));
}

// (That a script's standard error shows no indicator, the rounds test sees.)
TEST_F(ReadCommandTest, ATerminalSeesWhichGageIsAwaited) {
    caliper->QueueReplies({"garbage\r\n"});  // the read waits out its time-out
    EXPECT_THAT(Run({"read", "Caliper"}, {}, {.interruptOn = {}, .stderrOnTerminal = true}).err,
                HasSubstr("waiting for Caliper ..."));
}

TEST_F(ReadCommandTest, CommandsForEveryConnectionReachTheGages) {
    // Starting sends the caliper's initialisation once; init sends it again.
    EXPECT_EQ(Run({"init"}).exitStatus, 0);
    EXPECT_TRUE(caliper->WaitForReceived("hello\rhello\r", 5s));
    EXPECT_EQ(Run({"subgroup-start", "CALIPER"}).exitStatus, 0);
    EXPECT_TRUE(caliper->WaitForReceived("begin7\r", 5s));
    EXPECT_EQ(Run({"subgroup-end"}).exitStatus, 0);
    EXPECT_TRUE(caliper->WaitForReceived("end7\r", 5s));
    for (const char* command : {"open-ports", "flush", "close"}) {
        const ProcessResult result = Run({command});
        EXPECT_EQ(result.exitStatus, 0) << command << ": " << result.err;
        EXPECT_FALSE(result.out.empty()) << command;
    }
}

}  // namespace
}  // namespace gage::cli_test
