// The configuration check: every line the loader would skip or change is named with its key and
// reason, and its counts agree with what the loader itself builds from the same file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "config/configuration_file.h"
#include "config/configuration_findings.h"
#include "config/ipv4_address.h"
#include "config_test_files.h"

namespace gage {
namespace {

using ::testing::HasSubstr;

constexpr const char* kDefinitions =
    "[TYPE1]\r\nDESCRIPTION=Bench\r\n"
    "[TYPE1.1]\r\nDESCRIPTION=Plain\r\nRECEND=<13><10>\r\nVALUE1=1,1,0\r\n"
    "[TYPE2]\r\nDESCRIPTION=Net\r\n"
    "[TYPE2.1]\r\nDESCRIPTION=Net plain\r\n";

constexpr const char* kHeader = "[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n";

// Names ending in ".invalid" never resolve; dotted addresses do.
std::uint32_t FakeResolve(const char* host) {
    const std::string name(host);
    if (name.ends_with(".invalid")) {
        return kInaddrNone;
    }
    const std::uint32_t dotted = ParseIPv4Address(name);
    return dotted != kInaddrNone ? dotted : 0x0100007Fu;
}

class ConfigurationFindingsTest : public ::testing::Test {
  protected:
    ConfigurationCheck Check(const std::string& configuration,
                             const std::string& definitions = kDefinitions) {
        cfg_ = dir_.Write("BRW_GAGE.CFG", configuration);
        def_ = dir_.Write("BRW_GAGE.DEF", definitions);
        return CheckConfiguration(cfg_, def_, FakeResolve);
    }

    // The findings about one key, as "effect: reason" texts.
    static std::vector<std::string> About(const ConfigurationCheck& check, std::string_view key) {
        std::vector<std::string> found;
        for (const auto& finding : check.findings) {
            if (finding.key == key) {
                const char* effect = finding.effect == FindingEffect::Skipped   ? "skipped"
                                     : finding.effect == FindingEffect::Changed ? "changed"
                                                                                : "warning";
                found.push_back(std::string(effect) + ": " + finding.reason);
            }
        }
        return found;
    }

    test::ConfigTestDirectory dir_;
    std::string cfg_;
    std::string def_;
};

TEST_F(ConfigurationFindingsTest, CleanFileHasNoFindings) {
    const ConfigurationCheck check =
        Check(std::string(kHeader) +
              "[INTERFACES]\r\n"
              "MUX_0=\"Bench\",1,3,9600,8,1,1,1,1024,0,\r\n"
              "MUX_5=\"Net\",2,4001,0,0,0,0,1,1024,1,gages.example\r\n"
              "[GAGES]\r\n"
              "GAGE_1=\"Caliper, left\",1,1,0,5,SN-1,0,25,0,1,3,8,0\r\n"
              "GAGE_2=\"Bore\",2,1,2,6,,-1.5,1e3,0.25,-1,15,0,5\r\n");
    EXPECT_TRUE(check.error.empty());
    EXPECT_THAT(check.findings, ::testing::IsEmpty());
    EXPECT_EQ(check.connectionsLoaded, 2);
    EXPECT_EQ(check.gagesLoaded, 2);
}

TEST_F(ConfigurationFindingsTest, ConnectionLinesTheLoaderDrops) {
    const ConfigurationCheck check =
        Check(std::string(kHeader) +
              "[INTERFACES]\r\n"
              "MUX_0=\"Short\",1,3,9600,8,1,1,1\r\n"
              "MUX_1=\"High\",1,65,9600,8,1,1,1,1024,0,\r\n"
              "MUX_2=\"Zero port\",2,65536,0,0,0,0,1,1024,1,10.0.0.1\r\n"
              "MUX_3=\"Lost\",2,4001,0,0,0,0,1,1024,1,gage-box.invalid\r\n"
              "MUX_4=\"Broadcast\",2,4001,255,255,255,255,1,1024,1,\r\n"
              "MUX_5=\"Long host\",2,4001,0,0,0,0,1,1024,1," +
              std::string(254, 'h') + "\r\n");
    EXPECT_THAT(About(check, "MUX_0"),
                ::testing::ElementsAre("skipped: the line has 8 fields; a connection needs at "
                                       "least 9."));
    EXPECT_THAT(About(check, "MUX_1"),
                ::testing::ElementsAre("skipped: serial port number 65 is above 64."));
    EXPECT_THAT(About(check, "MUX_2"),
                ::testing::ElementsAre("skipped: the TCP port 65536 is 0 in its low 16 bits."));
    EXPECT_THAT(About(check, "MUX_3"),
                ::testing::ElementsAre(
                    "skipped: the host \"gage-box.invalid\" does not resolve to an address."));
    EXPECT_THAT(About(check, "MUX_4"), ::testing::ElementsAre(HasSubstr("255.255.255.255")));
    EXPECT_THAT(About(check, "MUX_5"), ::testing::ElementsAre(HasSubstr("254 characters")));
    EXPECT_EQ(check.SkippedLines(), 6);
    EXPECT_EQ(check.connectionsLoaded, 0);
}

TEST_F(ConfigurationFindingsTest, ConnectionValuesTheLoaderChanges) {
    const ConfigurationCheck check =
        Check(std::string(kHeader) +
              "[INTERFACES]\r\n"
              "MUX_0=\"Big buffer\",1,3,9600,8,1,1,1,4096,0,\r\n"
              "MUX_1=\"Odd kind\",1,3,9600,8,1,1,1,1024,5,\r\n"
              "MUX_2=\"A connection name of 32 letters!\",1,3,9600,8,1,1,1,1024,0,\r\n"
              "MUX_3=\"Wide\",2,70000,0,0,0,0,1,1024,1,10.0.0.1\r\n"
              "MUX_4=\"Wrapped\",65537,3,96k,8,1,1,1,1024,0,host.example,more\r\n"
              "MUX_5=\"Bench\",1,3,9600,8,1,1,1,1024,0,\r\n"
              "MUX_6=\"bench\",7,3,9600,8,1,1,1,1024,0,\r\n");
    EXPECT_THAT(About(check, "MUX_0"),
                ::testing::ElementsAre("changed: the buffer size 4096 is cut to 1024."));
    EXPECT_THAT(About(check, "MUX_1"), ::testing::ElementsAre(HasSubstr("kind 5 is neither")));
    EXPECT_THAT(About(check, "MUX_2"),
                ::testing::ElementsAre(HasSubstr("32 characters long (at most 31)")));
    EXPECT_THAT(About(check, "MUX_3"),
                ::testing::ElementsAre("changed: the port 70000 is used as TCP port 4464 (its "
                                       "low 16 bits)."));
    EXPECT_THAT(About(check, "MUX_4"),
                ::testing::ElementsAre(HasSubstr("interface type 65537 is kept in 16 bits, as 1"),
                                       HasSubstr("baud rate \"96k\" is read as 96"),
                                       HasSubstr("host name \"host.example\" is not read"),
                                       HasSubstr("12 fields; everything after the 11th")));
    EXPECT_THAT(About(check, "MUX_6"),
                ::testing::ElementsAre(HasSubstr("also the name of MUX_5"),
                                       HasSubstr("interface type 7 has no section [TYPE7]")));
    EXPECT_EQ(check.connectionsLoaded, 7);
    EXPECT_EQ(check.ChangedLines(), 5);
    EXPECT_EQ(check.Warnings(), 2);
}

TEST_F(ConfigurationFindingsTest, GageLinesTheLoaderDropsOrChanges) {
    const ConfigurationCheck check =
        Check(std::string(kHeader) +
              "[INTERFACES]\r\nMUX_0=\"Bench\",1,3,9600,8,1,1,1,1024,0,\r\n"
              "[GAGES]\r\n"
              "GAGE_1=\"Short\",1,1,0,5,SN,0,25,0,1,3,8\r\n"
              "GAGE_2=\"Far\",1,1,0,5,SN,0,25,0,1,3,8,64\r\n"
              "GAGE_3=\"A gage name that is too long!!!!\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"
              "GAGE_4=\"Clamped\",1,1,0,5,SN,0,25,0,0,20,8,0\r\n"
              "GAGE_5=\"Negative\",1,1,0,5," +
              std::string(70, 'S') +
              ",0,2x5,0,1,-3,8,0\r\n"
              "GAGE_6=\"Wide\",1,1,256,-1,SN,0,25,0,1,3,8,0,extra\r\n"
              "GAGE_7=\"Unknown\",1,9,0,5,SN,0,25,0,1,3,8,0\r\n"
              "GAGE_8=\"Loose\",1,1,0,5,SN,0,25,0,1,3,8,9\r\n"
              "GAGE_9=\"RandomValue loose\",1,1,0,5,SN,0,25,0,1,3,8,9\r\n"
              "GAGE_10=\"clamped\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n");
    EXPECT_THAT(
        About(check, "GAGE_1"),
        ::testing::ElementsAre("skipped: the line has 12 fields; a VERSION 9 line needs 13."));
    EXPECT_THAT(About(check, "GAGE_2"),
                ::testing::ElementsAre(HasSubstr("connection index 64 names no connection")));
    EXPECT_THAT(About(check, "GAGE_3"),
                ::testing::ElementsAre(HasSubstr("32 characters long (at most 31)")));
    EXPECT_THAT(About(check, "GAGE_4"),
                ::testing::ElementsAre("changed: the gain 0 is read as 1.",
                                       "changed: the precision 20 is limited to 15 (0 to 15)."));
    EXPECT_THAT(About(check, "GAGE_5"),
                ::testing::ElementsAre(HasSubstr("serial number is 70 characters long"),
                                       HasSubstr("maximum \"2x5\" is read as 2"),
                                       HasSubstr("precision -3 is limited to 0")));
    EXPECT_THAT(About(check, "GAGE_6"),
                ::testing::ElementsAre(HasSubstr("14 fields; a VERSION 9 line has 13"),
                                       HasSubstr("channel 256 is outside 0 to 255"),
                                       HasSubstr("identifier -1 is outside 0 to 255")));
    EXPECT_THAT(About(check, "GAGE_7"),
                ::testing::ElementsAre(HasSubstr("format [TYPE1.9] is not in BRW_GAGE.DEF")));
    EXPECT_THAT(About(check, "GAGE_8"),
                ::testing::ElementsAre(HasSubstr("connection 9 is not configured (MUX_9 is "
                                                 "missing)")));
    EXPECT_THAT(About(check, "GAGE_9"), ::testing::IsEmpty());  // the simulated source
    EXPECT_THAT(About(check, "GAGE_10"),
                ::testing::ElementsAre(HasSubstr("also the name of GAGE_4; the host reaches "
                                                 "only GAGE_4")));
    EXPECT_EQ(check.gagesLoaded, 7);
}

TEST_F(ConfigurationFindingsTest, OlderLayoutsAndUnknownVersions) {
    const std::string gages =
        "[INTERFACES]\r\nMUX_0=\"Bench\",1,3,9600,8,1,1,1,1024,0,\r\n"
        "[GAGES]\r\nGAGE_1=\"Nine\",1,1,0,5,SN,0,25,0,1,3,8,0\r\nGAGE_2=\"Seven\",1,1,0,5,SN,0,"
        "25,4,0\r\n";
    ConfigurationCheck check = Check("[APPLICATION]\r\nNAME=ZRNGSV32\r\n" + gages);
    // The oldest layout takes the serial number's place as the connection index.
    EXPECT_THAT(About(check, "GAGE_1"),
                ::testing::ElementsAre(HasSubstr("connection index \"SN\" is read as 0"),
                                       HasSubstr("13 fields; a VERSION 0 (VERSION is missing) "
                                                 "line has 6")));
    EXPECT_THAT(About(check, "GAGE_2"), ::testing::Contains(HasSubstr("10 fields")));

    check = Check("[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=7\r\n" + gages);
    EXPECT_THAT(About(check, "GAGE_1"),
                ::testing::ElementsAre(HasSubstr("13 fields"),
                                       HasSubstr("connection 1 is not configured")));
    EXPECT_THAT(About(check, "GAGE_2"), ::testing::IsEmpty());

    check = Check("[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=10\r\n" + gages);
    EXPECT_THAT(About(check, "VERSION"), ::testing::ElementsAre(HasSubstr("10 or more")));
    EXPECT_THAT(About(check, "GAGE_1"),
                ::testing::ElementsAre(HasSubstr("skipped: VERSION 10 is a layout")));
    EXPECT_EQ(check.gagesLoaded, 0);
    EXPECT_EQ(check.SkippedLines(), 2);
}

TEST_F(ConfigurationFindingsTest, KeysTheLoaderNeverReads) {
    const ConfigurationCheck check =
        Check("early=1\r\n" + std::string(kHeader) +
              "OWNER=me\r\n"
              "[INTERFACES]\r\nMUX_64=\"Beyond\",1,3,9600,8,1,1,1,1024,0,\r\n"
              "MUX_07=\"Padded\",1,3,9600,8,1,1,1,1024,0,\r\nPORT=1\r\n"
              "[GAGES]\r\n"
              "GAGE_0=\"Zero\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"
              "GAGE_1=\"One\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"
              "gage_1=\"Again\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"
              "GAGE_3=\"Three\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"
              "[NOTES]\r\ntext=hello\r\n"
              "[Gages]\r\nGAGE_2=\"Two\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n");
    EXPECT_THAT(About(check, "early"), ::testing::ElementsAre(HasSubstr("before any section")));
    EXPECT_THAT(About(check, "OWNER"), ::testing::ElementsAre(HasSubstr("only NAME and VERSION")));
    EXPECT_THAT(About(check, "MUX_64"), ::testing::ElementsAre(HasSubstr("MUX_0 to MUX_63")));
    EXPECT_THAT(About(check, "MUX_07"), ::testing::ElementsAre(HasSubstr("asks for MUX_7")));
    EXPECT_THAT(About(check, "PORT"), ::testing::ElementsAre(HasSubstr("never read")));
    EXPECT_THAT(About(check, "GAGE_0"), ::testing::ElementsAre(HasSubstr("from GAGE_1")));
    EXPECT_THAT(About(check, "gage_1"), ::testing::ElementsAre(HasSubstr("appears earlier")));
    EXPECT_THAT(About(check, "GAGE_3"),
                ::testing::ElementsAre(HasSubstr("stops at GAGE_2, which is missing")));
    EXPECT_THAT(About(check, "GAGE_2"),
                ::testing::ElementsAre(HasSubstr("only the first [Gages] section")));
    bool notesReported = false;
    for (const auto& finding : check.findings) {
        notesReported = notesReported || (finding.section == "NOTES" && finding.key.empty());
    }
    EXPECT_TRUE(notesReported);
    EXPECT_EQ(check.gagesLoaded, 1);
    EXPECT_EQ(check.connectionsLoaded, 0);
}

TEST_F(ConfigurationFindingsTest, FindingsComeInFileOrderWithTheirLines) {
    const ConfigurationCheck check =
        Check(std::string(kHeader) + "[GAGES]\r\nGAGE_2=\"Late\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n" +
              "GAGE_1=\"Short\",1\r\n");
    ASSERT_EQ(check.findings.size(), 2u);
    EXPECT_EQ(check.findings[0].key, "GAGE_2");
    EXPECT_EQ(check.findings[0].line, 5);
    EXPECT_THAT(check.findings[0].reason, HasSubstr("MUX_0 is missing"));
    EXPECT_EQ(check.findings[1].key, "GAGE_1");
    EXPECT_EQ(check.findings[1].line, 6);
    EXPECT_EQ(check.findings[1].effect, FindingEffect::Skipped);
}

TEST_F(ConfigurationFindingsTest, WholeFileProblems) {
    ConfigurationCheck check = Check("[APPLICATION]\r\nNAME=Other\r\n[GAGES]\r\nGAGE_1=x\r\n");
    ASSERT_EQ(check.findings.size(), 1u);
    EXPECT_EQ(check.findings[0].key, "NAME");
    EXPECT_THAT(check.findings[0].reason, HasSubstr("refuses the whole file"));

    check = CheckConfiguration(dir_.File("NONE.CFG"), def_, FakeResolve);
    ASSERT_EQ(check.findings.size(), 1u);
    EXPECT_THAT(check.findings[0].reason, HasSubstr("does not exist"));
    EXPECT_TRUE(check.error.empty());

    check = CheckConfiguration(dir_.File(""), def_, FakeResolve);  // the directory itself
    EXPECT_THAT(check.error, HasSubstr("is a directory"));
    EXPECT_THAT(check.findings, ::testing::IsEmpty());

    cfg_ =
        dir_.Write("BRW_GAGE.CFG", std::string(kHeader) +
                                       "[GAGES]\r\nGAGE_1=\"One\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n");
    check = CheckConfiguration(cfg_, dir_.File("NONE.DEF"), FakeResolve);
    ASSERT_EQ(check.findings.size(), 2u);  // the missing file, and the connection of GAGE_1
    EXPECT_EQ(check.findings[0].file, dir_.File("NONE.DEF"));
    EXPECT_THAT(check.findings[0].reason, HasSubstr("does not exist"));
    EXPECT_THAT(check.findings[1].reason, HasSubstr("MUX_0 is missing"));
}

// The check counts what the loader builds from the same file.
TEST_F(ConfigurationFindingsTest, CountsAgreeWithTheLoader) {
    const ConfigurationCheck check = Check(std::string(kHeader) +
                                           "[INTERFACES]\r\n"
                                           "MUX_0=\"Bench\",1,3,9600,8,1,1,1,4096,0,\r\n"
                                           "MUX_1=\"Short\",1,3,9600\r\n"
                                           "MUX_2=\"High\",1,65,9600,8,1,1,1,1024,0,\r\n"
                                           "MUX_3=\"Lost\",2,4001,0,0,0,0,1,1024,1,x.invalid\r\n"
                                           "MUX_4=\"Net\",2,4001,0,0,0,0,1,1024,1,10.1.1.1\r\n"
                                           "[GAGES]\r\n"
                                           "GAGE_1=\"One\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"
                                           "GAGE_2=\"Short\",1,1\r\n"
                                           "GAGE_3=\"Far\",1,1,0,5,SN,0,25,0,1,3,8,70\r\n"
                                           "GAGE_4=\"Four\",1,1,0,5,SN,0,25,0,1,3,8,4\r\n"
                                           "GAGE_6=\"Six\",1,1,0,5,SN,0,25,0,1,3,8,4\r\n");
    GageTable gages;
    ConnectionTable connections;
    ConfigurationHooks hooks;
    hooks.resolveHost = FakeResolve;
    ASSERT_EQ(LoadConfiguration({gages, connections}, nullptr, cfg_, def_, hooks), 1);
    int named = 0;
    for (const auto& row : connections) {
        named += row.Name.empty() ? 0 : 1;
    }
    EXPECT_EQ(check.connectionsLoaded, named);
    EXPECT_EQ(check.connectionsLoaded, 2);
    EXPECT_EQ(static_cast<int>(gages.size()), check.gagesLoaded);
    EXPECT_EQ(check.gagesLoaded, 2);
    EXPECT_EQ(check.SkippedLines(), 6);  // MUX_1 to MUX_3, GAGE_2, GAGE_3, GAGE_6
    EXPECT_EQ(check.ChangedLines(), 1);  // MUX_0
}

}  // namespace
}  // namespace gage
