// gagesrv check, run as a user runs it: one finding per line naming file, section and key, a
// summary, and the exit status 0 (every line as written), 1 (findings) or 2 (could not run).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "gagesrv_process.h"

namespace gage::cli_test {
namespace {

using ::testing::HasSubstr;

constexpr const char* kDefinitions =
    "[TYPE1]\r\nDESCRIPTION=Bench\r\n"
    "[TYPE1.1]\r\nDESCRIPTION=Plain\r\nRECEND=<13><10>\r\nVALUE1=1,1,0\r\n";

constexpr const char* kCleanConfiguration =
    "[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n"
    "[INTERFACES]\r\nMUX_0=\"Bench\",1,3,9600,8,1,1,1,1024,0,\r\n"
    "MUX_1=\"Net\",1,4001,127,0,0,1,1,1024,1,\r\n"
    "[GAGES]\r\nGAGE_1=\"Caliper\",1,1,0,5,SN-1,0,25,0,1,3,8,0\r\n"
    "GAGE_2=\"Bore\",1,1,0,6,SN-2,0,25,0,1,3,8,1\r\n";

// Every kind of line the loader skips or changes, one per key; the comment in each pair is the
// line number the finding must name.
constexpr const char* kFaultyConfiguration =
    "[APPLICATION]\r\n"                                                          // 1
    "NAME=ZRNGSV32\r\n"                                                          // 2
    "VERSION=9\r\n"                                                              // 3
    "[INTERFACES]\r\n"                                                           // 4
    "MUX_0=\"Bench\",1,3,9600,8,1,1,1,4096,0,\r\n"                               // 5
    "MUX_1=\"Short\",1,3,9600\r\n"                                               // 6
    "MUX_2=\"High\",1,65,9600,8,1,1,1,1024,0,\r\n"                               // 7
    "MUX_3=\"Zero port\",1,0,0,0,0,0,1,1024,1,127.0.0.1\r\n"                     // 8
    "MUX_4=\"Nowhere\",1,4001,0,0,0,0,1,1024,1,gage-box.invalid\r\n"             // 9
    "MUX_5=\"bench\",1,4,9600,8,1,1,1,1024,0,\r\n"                               // 10
    "MUX_6=\"A connection name that is too long\",1,5,9600,8,1,1,1,1024,0,\r\n"  // 11
    "MUX_64=\"Beyond\",1,6,9600,8,1,1,1,1024,0,\r\n"                             // 12
    "[GAGES]\r\n"                                                                // 13
    "GAGE_1=\"Caliper\",1,1,0,5,SN-1,0,25,0,0,20,8,0\r\n"                        // 14
    "GAGE_2=\"Short\",1,1,0,5\r\n"                                               // 15
    "GAGE_3=\"Unknown format\",1,7,0,5,SN,0,25,0,1,3,8,0\r\n"                    // 16
    "GAGE_4=\"Lonely\",1,1,0,5,SN,0,25,0,1,3,8,9\r\n"                            // 17
    "GAGE_5=\"Stray\",1,1,0,5,SN,0,25,0,1,3,8,99\r\n"                            // 18
    "GAGE_6=\"caliper\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"                           // 19
    "GAGE_7=\"A gage name that is far too long\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"  // 20
    "GAGE_0=\"Zero\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"                              // 21
    "GAGE_9=\"After the gap\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n";                    // 22

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The output line of the finding about key, or empty when there is none.
std::vector<std::string> FindingsAbout(const std::string& out, const std::string& key) {
    std::vector<std::string> found;
    for (const std::string& line : Lines(out)) {
        if (line.find(" " + key + " (line ") != std::string::npos) {
            found.push_back(line);
        }
    }
    return found;
}

class CheckCommandTest : public ::testing::Test {
  protected:
    ConfigDirectory dir_;
};

TEST_F(CheckCommandTest, CleanFileGivesNoFindingsAndStatusZero) {
    dir_.Write("BRW_GAGE.DEF", kDefinitions);
    dir_.Write("BRW_GAGE.CFG", kCleanConfiguration);
    const ProcessResult result = RunGagesrv(dir_.path(), {"check"});
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 2u) << result.out;
    EXPECT_THAT(lines[0], HasSubstr((dir_.path() / "BRW_GAGE.CFG").string()));
    EXPECT_EQ(lines[1], "2 connections and 2 gages would load; every line is taken as written.");
}

TEST_F(CheckCommandTest, EverySkippedOrChangedLineIsNamedWithItsReason) {
    dir_.Write("BRW_GAGE.DEF", kDefinitions);
    dir_.Write("BRW_GAGE.CFG", kFaultyConfiguration);
    const ProcessResult result = RunGagesrv(dir_.path(), {"check"});
    EXPECT_EQ(result.exitStatus, 1) << result.out << result.err;
    const std::string file = (dir_.path() / "BRW_GAGE.CFG").string();

    const auto expectOne = [&](const std::string& key, const std::string& start,
                               const std::string& reason) {
        const std::vector<std::string> found = FindingsAbout(result.out, key);
        ASSERT_EQ(found.size(), 1u) << key << "\n" << result.out;
        EXPECT_THAT(found[0], ::testing::StartsWith(file + " " + start)) << key;
        EXPECT_THAT(found[0], HasSubstr(reason)) << key;
    };
    expectOne("MUX_0", "[INTERFACES] MUX_0 (line 5): changed:", "buffer size 4096 is cut to 1024");
    expectOne("MUX_1",
              "[INTERFACES] MUX_1 (line 6): skipped:", "4 fields; a connection needs at least 9");
    expectOne("MUX_2",
              "[INTERFACES] MUX_2 (line 7): skipped:", "serial port number 65 is above 64");
    expectOne("MUX_3", "[INTERFACES] MUX_3 (line 8): skipped:", "the TCP port is 0");
    expectOne("MUX_4", "[INTERFACES] MUX_4 (line 9): skipped:",
              "host \"gage-box.invalid\" does not resolve");
    expectOne("MUX_5", "[INTERFACES] MUX_5 (line 10): warning:", "also the name of MUX_0");
    expectOne("MUX_6", "[INTERFACES] MUX_6 (line 11): changed:", "34 characters long (at most 31)");
    expectOne("MUX_64", "[INTERFACES] MUX_64 (line 12): skipped:", "MUX_0 to MUX_63");
    expectOne("GAGE_2",
              "[GAGES] GAGE_2 (line 15): skipped:", "5 fields; a VERSION 9 line needs 13");
    expectOne("GAGE_3",
              "[GAGES] GAGE_3 (line 16): warning:", "format [TYPE1.7] is not in BRW_GAGE.DEF");
    expectOne("GAGE_4", "[GAGES] GAGE_4 (line 17): warning:",
              "connection 9 is not configured (MUX_9 is missing)");
    expectOne("GAGE_5", "[GAGES] GAGE_5 (line 18): skipped:",
              "connection index 99 names no "
              "connection");
    expectOne("GAGE_6", "[GAGES] GAGE_6 (line 19): warning:",
              "also the name of GAGE_1; the host reaches only GAGE_1");
    expectOne("GAGE_7", "[GAGES] GAGE_7 (line 20): skipped:", "32 characters long (at most 31)");
    expectOne("GAGE_0", "[GAGES] GAGE_0 (line 21): skipped:", "numbered from GAGE_1");
    expectOne("GAGE_9", "[GAGES] GAGE_9 (line 22): skipped:", "stops at GAGE_8, which is missing");

    const std::vector<std::string> gage1 = FindingsAbout(result.out, "GAGE_1");
    ASSERT_EQ(gage1.size(), 2u) << result.out;
    EXPECT_THAT(gage1[0], HasSubstr("changed: the gain 0 is read as 1"));
    EXPECT_THAT(gage1[1], HasSubstr("changed: the precision 20 is limited to 15"));

    // MUX_0, MUX_5 and MUX_6 load; GAGE_1, 3, 4 and 6.
    EXPECT_EQ(Lines(result.out).back(),
              "3 connections and 4 gages would load; 10 lines skipped, 3 changed, 4 warnings.");
}

TEST_F(CheckCommandTest, UnknownVersionSkipsEveryGage) {
    dir_.Write("BRW_GAGE.DEF", kDefinitions);
    std::string text = kCleanConfiguration;
    text.replace(text.find("VERSION=9"), 9, "VERSION=12");
    dir_.Write("BRW_GAGE.CFG", text);
    const ProcessResult result = RunGagesrv(dir_.path(), {"check"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_THAT(result.out, HasSubstr("[APPLICATION] VERSION (line 3): warning: VERSION 12"));
    EXPECT_THAT(FindingsAbout(result.out, "GAGE_1"),
                ::testing::ElementsAre(HasSubstr("skipped: VERSION 12 is a layout")));
    EXPECT_THAT(result.out, HasSubstr("2 connections and 0 gages would load; 2 lines skipped"));
}

TEST_F(CheckCommandTest, NamedFilesAreCheckedInsteadOfTheLibrarysOwn) {
    dir_.Write("BRW_GAGE.DEF", "[TYPE9]\r\nDESCRIPTION=Other\r\n");
    dir_.Write("BRW_GAGE.CFG", "[APPLICATION]\r\nNAME=nobody\r\n");
    dir_.Write("other.def", kDefinitions);
    dir_.Write("other.cfg", kCleanConfiguration);
    const ProcessResult result =
        RunGagesrv(dir_.path(), {"check", "--cfg", (dir_.path() / "other.cfg").string(), "--def",
                                 (dir_.path() / "other.def").string()});
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    EXPECT_THAT(result.out, HasSubstr("every line is taken as written"));
}

TEST_F(CheckCommandTest, TheSharedConfigurationIsFoundAsStartUpFindsIt) {
    dir_.Write("ZRN_SYS.INI", "[GAGESERVER]\r\nUSE_SHARED_PATH=1\r\n");
    dir_.Write("BRW_GAGE.DEF", kDefinitions);
    dir_.Write("BRW_GAGE.CFG", kCleanConfiguration);  // the local one, not used
    const ProcessResult result = RunGagesrv(dir_.path(), {"check"});
    EXPECT_EQ(result.exitStatus, 1) << result.out << result.err;
    EXPECT_THAT(result.out, HasSubstr("GAGE_SERVER"));
    EXPECT_THAT(result.out, HasSubstr(".BRW_GAGE.CFG: warning: the file does not exist"));
}

TEST_F(CheckCommandTest, AMissingFileIsAFindingAndAnUnreadableOneStopsTheCheck) {
    dir_.Write("BRW_GAGE.DEF", kDefinitions);
    const std::string gone = dir_.File("serial/by-id/usb-gone-if00-port0");
    dir_.Write("ZRN_SYS.INI", "[GAGESERVER PORTS]\r\nCOM7=" + gone + "\r\n");
    ProcessResult result = RunGagesrv(dir_.path(), {"check"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_THAT(result.out, HasSubstr("BRW_GAGE.CFG: warning: the file does not exist, so no "
                                      "connection or gage would load."));
    EXPECT_THAT(result.out, HasSubstr("ZRN_SYS.INI [GAGESERVER PORTS] COM7: warning: the device " +
                                      gone + " does not exist, so COM7 cannot open."));

    result = RunGagesrv(dir_.path(), {"check", "--cfg", dir_.path().string()});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_THAT(result.err, HasSubstr("is a directory, not a file"));
    EXPECT_EQ(result.out, "");

    result =
        RunProcess(GAGESRV_PROGRAM, {"--shared-dir", (dir_.path() / "none").string(), "check"});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_THAT(result.err, HasSubstr("does not exist"));
}

TEST_F(CheckCommandTest, HelpExplainsTheExitStatus) {
    const ProcessResult result = RunGagesrv(dir_.path(), {"check", "--help"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_THAT(result.out, HasSubstr("--cfg"));
    EXPECT_THAT(result.out, HasSubstr("--def"));
    EXPECT_THAT(result.out, HasSubstr("0 when the loader would take every line as written"));
    EXPECT_THAT(result.out, HasSubstr("2 when the check could not run"));
}

}  // namespace
}  // namespace gage::cli_test
