// gagesrv check, run as a user runs it: which files it checks, and the exit status 0 (every line
// as written), 1 (findings) or 2 (could not run). The findings themselves are tested with the
// configuration check, their lines with the check report (gagesrv_text_test).

#include <gmock/gmock.h>

#include "gagesrv_process.h"

namespace gage::cli_test {
namespace {

using ::testing::HasSubstr;

constexpr const char* kDefinitions =
    "[TYPE1]\r\nDESCRIPTION=Bench\r\n[TYPE1.1]\r\nDESCRIPTION=Plain\r\nRECEND=<13><10>\r\n"
    "VALUE1=1,1,0\r\n";
constexpr const char* kCleanConfiguration =
    "[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n"
    "[INTERFACES]\r\nMUX_0=\"Bench\",1,3,9600,8,1,1,1,1024,0,\r\n"
    "[GAGES]\r\nGAGE_1=\"Caliper\",1,1,0,5,SN-1,0,25,0,1,3,8,0\r\n";

using CheckCommandTest = GagesrvTest;

TEST_F(CheckCommandTest, TheNamedFilesOrTheLibrarysAsStartUpFindsThemAreChecked) {
    dir.Write("BRW_GAGE.DEF", kDefinitions);
    dir.Write("BRW_GAGE.CFG", kCleanConfiguration);
    ProcessResult result = Run({"check"});
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    EXPECT_EQ(result.out,
              "Checking " + dir.File("BRW_GAGE.CFG") + " with " + dir.File("BRW_GAGE.DEF") +
                  ".\n1 connection and 1 gage would load; every line is taken as written.\n");

    const std::string other = dir.Write("other.cfg", kCleanConfiguration);
    dir.Write("BRW_GAGE.CFG", "[APPLICATION]\r\nNAME=nobody\r\n");
    result = Run({"check", "--cfg", other, "--def", dir.File("BRW_GAGE.DEF")});
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;

    // Without names, the shared configuration and the port map are found as start-up finds them;
    // a mapped device keeps its whole path, far longer than a COM_PREFIX holds.
    const std::string gone = dir.File("serial/by-id/usb-" + std::string(100, 'u') + "-port0");
    dir.Write("ZRN_SYS.INI",
              "[GAGESERVER]\r\nUSE_SHARED_PATH=1\r\n[GAGESERVER PORTS]\r\nCOM7=" + gone + "\r\n");
    result = Run({"check"});
    EXPECT_EQ(result.exitStatus, 1) << result.out << result.err;
    EXPECT_THAT(result.out, HasSubstr("GAGE_SERVER"));
    EXPECT_THAT(result.out, HasSubstr(".BRW_GAGE.CFG: warning: the file does not exist"));
    EXPECT_THAT(result.out,
                HasSubstr("ZRN_SYS.INI [GAGESERVER PORTS] COM7: warning: the device " + gone));
}

TEST_F(CheckCommandTest, AFileThatCannotBeReadOrAMissingDirectoryStopsTheCheck) {
    ProcessResult result = Run({"check", "--cfg", dir.str()});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_THAT(result.err, HasSubstr("is a directory, not a file"));
    EXPECT_EQ(result.out, "");
    result = RunProcess({"--shared-dir", dir.File("none"), "check"});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_THAT(result.err, HasSubstr("does not exist"));
}

}  // namespace
}  // namespace gage::cli_test
