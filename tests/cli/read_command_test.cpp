// gagesrv read and the commands for every connection, run as a process against simulated gages
// on a pseudo-terminal and on TCP/IP 127.0.0.1.

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>

#include "gagesrv_process.h"
#include "simulator.h"

namespace gage::cli_test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kDefinitions =
    "[TYPE2]\r\nDESCRIPTION=Serial caliper\r\n"
    "[TYPE2.1]\r\nDESCRIPTION=Answers ?\r\nRECEND=<13><10>\r\nMEAS_READ=?<13>\r\n"
    "MEASTIMEOUT=400\r\nVALUE1=1,1,0\r\nREADING=2,1,0\r\nSEPARATOR=;\r\nCODE=3,1,0\r\n"
    "LITERAL=4,1,0\r\nGAGEINIT=hello<13>\r\nSGRPSTART=begin[ID]<13>\r\nSGRPEND=end[ID]<13>\r\n"
    "[TYPE3]\r\nDESCRIPTION=Multiplexer\r\n"
    "[TYPE3.1]\r\nDESCRIPTION=Channel first\r\nSEPARATOR=,\r\nRECEND=<13><10>\r\n"
    "MEAS_READ=?<13>\r\nMEASTIMEOUT=400\r\nCHANNEL=1,1,0\r\nVALUE1=2,1,0\r\n";

// A serial caliper on COM3 and a multiplexer with channels 1 to 3 on TCP/IP.
class ReadCommandTest : public ::testing::Test {
  protected:
    ConfigDirectory dir;
    std::unique_ptr<gagesim::Simulator> caliper;
    std::unique_ptr<gagesim::Simulator> mux;

    void SetUp() override {
        ASSERT_FALSE(dir.path().empty());
        gagesim::SimulatorOptions serial;
        serial.linkPath = dir.SerialDevice(3);
        serial.trigger = "?\r";
        serial.values = {12.345, -0.5};
        serial.recordTemplate = "{value:%+.3f};{count};C{count};\"NRM<13><10>";
        caliper = Start(serial);

        gagesim::SimulatorOptions network;
        network.transport = gagesim::Transport::Tcp;
        network.trigger = "?\r";
        network.allChannels = true;
        network.channels = {1, 2, 3};
        network.values = {1.5, 2.5, 3.5};
        network.recordTemplate = "{channel},{value:%.1f}<13><10>";
        mux = Start(network);

        dir.Write("ZRN_SYS.INI", "[GAGESERVER]\r\nCOM_PREFIX=" + dir.ComPrefix() + "\r\n");
        dir.Write("BRW_GAGE.DEF", kDefinitions);
        Configure(0);
    }

    std::unique_ptr<gagesim::Simulator> Start(const gagesim::SimulatorOptions& options) {
        auto simulator = std::make_unique<gagesim::Simulator>(options);
        std::string error;
        EXPECT_TRUE(simulator->Start(error)) << error;
        return simulator;
    }

    void Configure(int caliperFlags) {
        dir.Write("BRW_GAGE.CFG",
                  "[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n[INTERFACES]\r\n"
                  "MUX_0=\"Port\",2,3,9600,8,1,1,1,1024,0,\r\n"
                  "MUX_1=\"Mux\",3," +
                      std::to_string(mux->Port()) +
                      ",0,0,0,0,1,1024,1,127.0.0.1\r\n"
                      "[GAGES]\r\n"
                      "GAGE_1=\"Caliper\",2,1,0,7,SN,0,1,0,1,3," +
                      std::to_string(caliperFlags) +
                      ",0\r\n"
                      "GAGE_2=\"Bore A\",3,1,1,0,,0,1,0,1,3,0,1\r\n"
                      "GAGE_3=\"Bore B\",3,1,2,0,,0,1,0,1,3,0,1\r\n"
                      "GAGE_4=\"Bore C\",3,1,3,0,,0,1,0,1,3,0,1\r\n");
    }
};

TEST_F(ReadCommandTest, PrintsEveryFieldOfEachReadingInRounds) {
    const ProcessResult result =
        RunGagesrv(dir.path(), {"read", "caliper", "Bore B", "--count", "2", "--interval", "10"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out,
              "caliper: reading 1, channel 0, value 12.345, code \"C1\", literal \"<34>NRM\"\n"
              "Bore B: reading 0, channel 2, value 2.5, code \"\", literal \"\"\n"
              "caliper: reading 2, channel 0, value -0.5, code \"C2\", literal \"<34>NRM\"\n"
              "Bore B: reading 0, channel 2, value 2.5, code \"\", literal \"\"\n");
    // Each read sent its own request.
    EXPECT_EQ(caliper->CommandCount(), 2);
    EXPECT_EQ(mux->CommandCount(), 2);
}

TEST_F(ReadCommandTest, JsonGivesOneObjectPerReadingFailuresIncluded) {
    caliper->QueueReplies({"garbage\r\n"});  // the caliper's first answer has no value
    const ProcessResult result =
        RunGagesrv(dir.path(), {"read", "Caliper", "Bore C", "--count", "2", "--json"});
    EXPECT_EQ(result.exitStatus, 1);  // one read gave nothing
    EXPECT_EQ(result.out,
              "{\"gage\":\"Caliper\",\"round\":1,\"ok\":false}\n"
              "{\"gage\":\"Bore C\",\"round\":1,\"ok\":true,\"reading\":0,\"channel\":3,"
              "\"value\":3.5,\"code\":\"\",\"literal\":\"\"}\n"
              "{\"gage\":\"Caliper\",\"round\":2,\"ok\":true,\"reading\":1,\"channel\":0,"
              "\"value\":12.345,\"code\":\"C1\",\"literal\":\"\\\"NRM\"}\n"
              "{\"gage\":\"Bore C\",\"round\":2,\"ok\":true,\"reading\":0,\"channel\":3,"
              "\"value\":3.5,\"code\":\"\",\"literal\":\"\"}\n");
}

TEST_F(ReadCommandTest, ChannelOnlyLeavesOtherChannelsRecordsAndTimesOut) {
    // The multiplexer answers with channel 1 first: a channel-2 gage skips it only without
    // --channel-only.
    EXPECT_EQ(RunGagesrv(dir.path(), {"read", "Bore B"}).exitStatus, 0);
    const ProcessResult strict = RunGagesrv(dir.path(), {"read", "Bore B", "--channel-only"});
    EXPECT_EQ(strict.exitStatus, 1);
    EXPECT_NE(strict.err.find("Bore B: no reading"), std::string::npos) << strict.err;
}

TEST_F(ReadCommandTest, PollSkipsTheReadCommandOfAGageThatAsksForNone) {
    Configure(8);  // no read command when polling
    const ProcessResult polled = RunGagesrv(dir.path(), {"read", "Caliper", "--poll"});
    EXPECT_EQ(polled.exitStatus, 1);
    EXPECT_EQ(caliper->CommandCount(), 0);
    const ProcessResult plain = RunGagesrv(dir.path(), {"read", "Caliper"});
    EXPECT_EQ(plain.exitStatus, 0) << plain.err;
    EXPECT_EQ(caliper->CommandCount(), 1);
}

TEST_F(ReadCommandTest, UnknownOrOverlongNamesAreRefusedBeforeAnyRead) {
    const ProcessResult unknown = RunGagesrv(dir.path(), {"read", "Caliper", "Nope"});
    EXPECT_EQ(unknown.exitStatus, 1);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("No gage named \"Nope\""), std::string::npos) << unknown.err;
    const ProcessResult overlong = RunGagesrv(dir.path(), {"read", std::string(32, 'x')});
    EXPECT_EQ(overlong.exitStatus, 1);
    EXPECT_NE(overlong.err.find("longer than a gage name can be"), std::string::npos);
    EXPECT_EQ(caliper->CommandCount(), 0);
    EXPECT_NE(RunGagesrv(dir.path(), {"read"}).exitStatus, 0);
    EXPECT_NE(RunGagesrv(dir.path(), {"read", "Caliper", "--count", "-1"}).exitStatus, 0);
}

TEST_F(ReadCommandTest, CountZeroReadsUntilInterruptedThenStopsInOrder) {
    const ProcessResult result =
        RunGagesrv(dir.path(), {"read", "Caliper", "--count", "0", "--interval", "20", "--json"},
                   {}, std::chrono::seconds(60), {.interruptOn = "\"round\":3,"});
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("Interrupted."), std::string::npos) << result.err;
    // The read under way when Ctrl-C came was finished and printed whole.
    EXPECT_EQ(result.out.back(), '\n');
    EXPECT_NE(result.out.find("\"round\":3,\"ok\":true"), std::string::npos);
}

TEST_F(ReadCommandTest, ATerminalSeesWhichGageIsAwaitedAndScriptsDoNot) {
    caliper->QueueReplies({"garbage\r\n"});  // the first read waits out its time-out
    const ProcessResult atTerminal =
        RunGagesrv(dir.path(), {"read", "Caliper"}, {}, std::chrono::seconds(60),
                   {.interruptOn = {}, .stderrOnTerminal = true});
    EXPECT_NE(atTerminal.err.find("waiting for Caliper ..."), std::string::npos) << atTerminal.err;
    caliper->QueueReplies({"garbage\r\n"});
    const ProcessResult piped = RunGagesrv(dir.path(), {"read", "Caliper"});
    EXPECT_EQ(piped.err.find("waiting"), std::string::npos) << piped.err;
    EXPECT_NE(piped.err.find("Caliper: no reading"), std::string::npos) << piped.err;
}

TEST_F(ReadCommandTest, SubgroupCommandsReachOneGageOrAll) {
    ProcessResult one = RunGagesrv(dir.path(), {"subgroup-start", "CALIPER"});
    EXPECT_EQ(one.exitStatus, 0) << one.err;
    EXPECT_TRUE(caliper->WaitForReceived("begin7\r", 5s));
    EXPECT_EQ(RunGagesrv(dir.path(), {"subgroup-end"}).exitStatus, 0);
    EXPECT_TRUE(caliper->WaitForReceived("end7\r", 5s));
    const ProcessResult unknown = RunGagesrv(dir.path(), {"subgroup-end", "Nope"});
    EXPECT_EQ(unknown.exitStatus, 1);
    EXPECT_NE(unknown.err.find("No gage named"), std::string::npos);
}

TEST_F(ReadCommandTest, InitFlushCloseAndOpenPortsAnswerInPlainWords) {
    // Loading sends the caliper's initialisation once; init sends it again.
    const ProcessResult init = RunGagesrv(dir.path(), {"init"});
    EXPECT_EQ(init.exitStatus, 0) << init.err;
    EXPECT_TRUE(caliper->WaitForReceived("hello\rhello\r", 5s));
    for (const char* command : {"open-ports", "flush", "close"}) {
        const ProcessResult result = RunGagesrv(dir.path(), {command});
        EXPECT_EQ(result.exitStatus, 0) << command << ": " << result.err;
        EXPECT_FALSE(result.out.empty()) << command;
    }
    const ProcessResult help = RunGagesrv(dir.path(), {"flush", "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("Exit status"), std::string::npos);
}

}  // namespace
}  // namespace gage::cli_test
