// The configuration check: every line the loader would skip or change is named with its key and
// reason, and its counts agree with what the loader itself builds from the same file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/configuration_file.h"
#include "config/configuration_findings.h"
#include "config/ipv4_address.h"
#include "config_test_files.h"

namespace gage {
namespace {

using ::testing::HasSubstr;

constexpr const char* kDefinitions =
    "[TYPE1]\r\nDESCRIPTION=Bench\r\n[TYPE1.1]\r\nDESCRIPTION=Plain\r\n"
    "[TYPE2]\r\nDESCRIPTION=Net\r\n[TYPE2.1]\r\nDESCRIPTION=Net plain\r\n";
const std::string kHeader = "[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n";
const std::string kBench = "[INTERFACES]\r\nMUX_0=\"Bench\",1,3,9600,8,1,1,1,1024,0,\r\n";

// Names ending in ".invalid" never resolve; dotted addresses do, other names to 127.0.0.1.
std::uint32_t FakeResolve(const char* host) {
    const std::string name(host);
    if (name.ends_with(".invalid")) {
        return kInaddrNone;
    }
    const std::uint32_t dotted = ParseIPv4Address(name);
    return dotted != kInaddrNone ? dotted : 0x0100007Fu;
}

// The findings about one key (or line), each "effect: reason", and the parts each must hold in
// turn.
struct KeyFindings {
    std::string key;
    std::vector<std::string> parts;
};

class ConfigurationFindingsTest : public ::testing::Test {
  protected:
    // Checks the file and counts what the loader builds from it: the two must agree.
    ConfigurationCheck Check(const std::string& configuration) {
        cfg_ = dir_.Write("BRW_GAGE.CFG", configuration);
        def_ = dir_.Write("BRW_GAGE.DEF", kDefinitions);
        const ConfigurationCheck check = CheckConfiguration(cfg_, def_, FakeResolve);
        GageTable gages;
        ConnectionTable connections;
        ConfigurationHooks hooks;
        hooks.resolveHost = FakeResolve;
        LoadConfiguration({gages, connections}, nullptr, cfg_, def_, hooks);
        EXPECT_EQ(std::count_if(gages.begin(), gages.end(),
                                [](const GageRecord& gage) { return gage.IsNamed(); }),
                  check.gagesLoaded);
        EXPECT_EQ(std::count_if(connections.begin(), connections.end(),
                                [](const ConnectionRecord& row) { return row.PortNumber != 0; }),
                  check.connectionsLoaded);
        return check;
    }

    static void Expect(const ConfigurationCheck& check, const std::vector<KeyFindings>& keys) {
        for (const auto& [key, parts] : keys) {
            std::vector<std::string> found;
            for (const auto& finding : check.findings) {
                if (finding.key == key) {
                    static const std::string kEffects[] = {"skipped", "changed", "warning"};
                    found.push_back(kEffects[static_cast<int>(finding.effect)] + ": " +
                                    finding.reason);
                }
            }
            ASSERT_EQ(found.size(), parts.size()) << key << ": " << ::testing::PrintToString(found);
            for (std::size_t i = 0; i < parts.size(); ++i) {
                EXPECT_THAT(found[i], HasSubstr(parts[i])) << key;
            }
        }
    }

    // Checks head followed by lines and expects each line's findings.
    ConfigurationCheck CheckLines(const std::string& head, const std::vector<KeyFindings>& lines) {
        std::string text = head;
        for (const auto& [line, parts] : lines) {
            text += line + "\r\n";
        }
        const ConfigurationCheck check = Check(text);
        for (const auto& [line, parts] : lines) {
            Expect(check, {{line.substr(0, line.find('=')), parts}});
        }
        return check;
    }

    test::ConfigTestDirectory dir_;
    std::string cfg_;
    std::string def_;
};

TEST_F(ConfigurationFindingsTest, ConnectionLinesTheLoaderDropsOrChanges) {
    const ConfigurationCheck check = CheckLines(
        kHeader + "[INTERFACES]\r\n",
        {{"MUX_0=\"Short\",1,3,9600,8,1,1,1",
          {"skipped: the line has 8 fields; a connection needs at least 9."}},
         {"MUX_1=\"High\",1,65,9600,8,1,1,1,1024,0,",
          {"skipped: serial port number 65 is above 64."}},
         {"MUX_2=\"Zero port\",2,65536,0,0,0,0,1,1024,1,10.0.0.1",
          {"skipped: the TCP port 65536 is 0 in its low 16 bits."}},
         {"MUX_3=\"Lost\",2,4001,0,0,0,0,1,1024,1,gage-box.invalid",
          {"skipped: the host \"gage-box.invalid\" does not resolve to an address."}},
         {"MUX_4=\"Broadcast\",2,4001,255,255,255,255,1,1024,1,",
          {"skipped: the address 255.255.255.255 (fields 4 to 7) is no usable IPv4 address."}},
         {"MUX_5=\"Long host\",2,4001,0,0,0,0,1,1024,1," + std::string(254, 'h'),
          {"skipped: the host name is 254 characters long, longer than any DNS name (253)."}},
         {"MUX_6=\"Zero\",2,0,1,2,3,4,1,1024,1,", {"skipped: the TCP port is 0."}},
         {"MUX_10=\"Big buffer\",1,3,9600,8,1,1,1,4096,0,",
          {"changed: the buffer size 4096 is cut to 1024."}},
         {"MUX_11=\"Odd kind\",1,3,9600,8,1,1,1,1024,5,",
          {"changed: the kind 5 is neither 0 (serial) nor 1 (TCP/IP); it is read as 0 (serial)."}},
         {"MUX_12=\"A connection name of 32 letters!\",1,3,9600,8,1,1,1,1024,0,",
          {"changed: the name is 32 characters long (at most 31): the connection loads without"}},
         {"MUX_13=\"Wide\",2,70000,0,0,0,0,1,1024,1,10.0.0.1",
          {"changed: the port 70000 is used as TCP port 4464 (its low 16 bits)."}},
         {"MUX_14=\" Wrapped\",65537,3,96k,8,1,1,1,1024,0,host.example,more",
          {"changed: the name \" Wrapped\" is read as \"Wrapped\".",
           "changed: the interface type 65537 is kept in 16 bits, as 1.",
           "changed: the baud rate \"96k\" is read as 96.",
           "changed: the host name \"host.example\" is not read for a serial connection, and",
           "changed: the line has 12 fields; everything after the 11th is ignored."}},
         {"MUX_15=\"Bench\",1,3,9600,8,1,1,1,1024,0,", {}},
         {"MUX_20=\"Net\",2,4001,0,0,0,0,1,1024,1,gages.example", {}},
         {"MUX_16=\"bench\",7,3,9600,8,1,1,1,1024,0,",
          {"warning: the name \"bench\" is also the name of MUX_15.",
           "warning: interface type 7 has no section [TYPE7] in BRW_GAGE.DEF: no initialisation"}},
         {"MUX_17=\"\",2,4001,1,2,3,x4,1,1024,1,",
          {"warning: the connection has no name: it loads, but the next save drops it.",
           "changed: the fourth address octet \"x4\" is read as 0."}}});
    EXPECT_EQ(check.connectionsLoaded, 9);
    EXPECT_EQ(check.SkippedLines(), 7);
    EXPECT_EQ(check.ChangedLines(), 6);
    EXPECT_EQ(check.Warnings(), 3);
}

TEST_F(ConfigurationFindingsTest, GageLinesTheLoaderDropsOrChanges) {
    const std::string rest = ",1,1,0,5,SN,0,25,0,1,3,8,";
    const ConfigurationCheck check = CheckLines(
        kHeader + kBench + "[GAGES]\r\n",
        {{"GAGE_1=\"Short\",1,1,0,5,SN,0,25,0,1,3,8",
          {"skipped: the line has 12 fields; a VERSION 9 line needs 13."}},
         {"GAGE_2=\"Far\"" + rest + "64",
          {"skipped: the connection index 64 names no connection (they are numbered 0 to 63)."}},
         {"GAGE_3=\"A gage name that is too long!!!!\"" + rest + "0",
          {"skipped: the name is 32 characters long (at most 31); the gage loads as a free row"}},
         {"GAGE_4=\"Clamped\",1,1,0,5,SN,0,25,0,0,20,8,0",
          {"changed: the gain 0 is read as 1.",
           "changed: the precision 20 is limited to 15 (0 to 15)."}},
         {"GAGE_5=\"Negative\",1,1,0,5," + std::string(70, 'S') + ",0,2x5,0,1,-3,8,0",
          {"changed: the serial number is 70 characters long; only the first 63 are kept.",
           "changed: the maximum \"2x5\" is read as 2.",
           "changed: the precision -3 is limited to 0"}},
         {"GAGE_6=\"Wide\",65537,1,256,-1,SN,0,25,0,1,3,8,0,extra",
          {"changed: the interface type and format 65537.1 are kept in 16 bits each, as 1.1.",
           "changed: the line has 14 fields; a VERSION 9 line has 13, so the rest are ignored.",
           "warning: the channel 256 is outside 0 to 255; a command sends it as one byte, 0.",
           "warning: the identifier -1 is outside 0 to 255; a command sends it as one byte, 255."}},
         {"GAGE_7=\"Unknown\",1,9,0,5,SN,0,25,0,1,3,8,0",
          {"warning: the gage format [TYPE1.9] is not in BRW_GAGE.DEF; the gage loads with"}},
         {"GAGE_8=\"Loose\"" + rest + "9",
          {"warning: the connection 9 is not configured (MUX_9 is missing), so the gage cannot"}},
         {"GAGE_9=\"RandomValue loose\"" + rest + "9", {}},  // the simulated source
         {"GAGE_10=\"clamped\"" + rest + "0",
          {"warning: the name \"clamped\" is also the name of GAGE_4; the host reaches only "
           "GAGE_4"}},
         {"GAGE_11=\"\"" + rest + "0",
          {"skipped: the gage has no name; the gage loads as a free row that the host cannot"}},
         {"GAGE_12=\"Caliper, left\",2,1,2,6,,-1.5,1e3,0.25,-1,15,0,0", {}}});
    EXPECT_EQ(check.gagesLoaded, 8);
}

TEST_F(ConfigurationFindingsTest, OlderLayoutsAndUnknownVersions) {
    const std::string gages = kBench +
                              "[GAGES]\r\nGAGE_1=\"Nine\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"
                              "GAGE_2=\"Seven\",1,1,0,5,SN,0,25,4,0\r\n";
    // The oldest layout takes the serial number's place as the connection index.
    ConfigurationCheck check = Check("[APPLICATION]\r\nNAME=ZRNGSV32\r\n" + gages);
    Expect(check, {{"GAGE_1",
                    {"changed: the connection index \"SN\" is read as 0.",
                     "13 fields; a VERSION 0 (VERSION is missing) line has 6"}},
                   {"GAGE_2", {"\"SN\" is read as 0", "10 fields"}}});
    check = Check("[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=7x\r\n" + gages);
    Expect(check, {{"VERSION", {"changed: the version \"7x\" is read as 7."}},
                   {"GAGE_1", {"13 fields", "connection 1 is not configured"}},
                   {"GAGE_2", {}}});
    check = Check("[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=10\r\n" + gages);
    Expect(check, {{"VERSION", {"warning: VERSION 10 is a layout the loader does not know (10 or"}},
                   {"GAGE_1", {"skipped: VERSION 10 is a layout the loader does not know."}}});
    EXPECT_EQ(check.gagesLoaded, 0);
    EXPECT_EQ(check.SkippedLines(), 2);
}

TEST_F(ConfigurationFindingsTest, KeysTheLoaderNeverReads) {
    const ConfigurationCheck check = Check(
        "early=1\r\n" + kHeader + "OWNER=me\r\n[INTERFACES]\r\n" +
        "MUX_64=\"Beyond\",1,3,9600,8,1,1,1,1024,0,\r\nMUX_07=\"Padded\",1,3,9600,8,1,1,1,1024,0,"
        "\r\n"
        "PORT=1\r\nMUX_1\r\n[GAGES]\r\nGAGE_0=\"Zero\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"
        "GAGE_1=\"One\",1,1,0,5,SN,0,25,0,1,3,8,0\r\ngage_1=\"Again\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"
        "GAGE_01=x\r\nGAGE=x\r\nGAGE_3=\"Three\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n"
        "[NOTES]\r\ntext=hello\r\n[Gages]\r\nGAGE_2=\"Two\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n");
    Expect(check, {{"early", {"skipped: never read; it stands before any section."}},
                   {"OWNER", {"never read; [APPLICATION] holds only NAME and VERSION."}},
                   {"MUX_64", {"never read; connections are MUX_0 to MUX_63."}},
                   {"MUX_07", {"never read; the loader asks for MUX_7, written without leading"}},
                   {"PORT", {"never read; connections are keys MUX_0 to MUX_63."}},
                   {"MUX_1", {"never read; the line has no '=', so the key reads as missing."}},
                   {"GAGE_0", {"never read; gages are numbered from GAGE_1."}},
                   {"gage_1", {"never read; the key appears earlier (line 13), and only that"}},
                   {"GAGE_01", {"the loader asks for GAGE_1, written without leading zeros."}},
                   {"GAGE", {"never read; gages are keys GAGE_1, GAGE_2 and so on."}},
                   {"GAGE_3", {"never read; the loader stops at GAGE_2, which is missing."}},
                   {"GAGE_2", {"never read; only the first [Gages] section (line 11) is read."}},
                   {"", {"never read; the loader reads only [APPLICATION], [INTERFACES] and"}}});
    EXPECT_EQ(check.gagesLoaded, 1);
    EXPECT_EQ(check.connectionsLoaded, 0);
}

TEST_F(ConfigurationFindingsTest, FindingsComeInFileOrderWithTheirLines) {
    const ConfigurationCheck check =
        Check(kHeader + "[GAGES]\r\nGAGE_2=\"Late\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n" +
              "GAGE_1=\"Short\",1\r\nGAGE_3=" + std::string(1100, 'x') + "\r\n");
    std::string order;
    for (const auto& finding : check.findings) {
        order += finding.key + ":" + std::to_string(finding.line) + " ";
    }
    EXPECT_EQ(order, "GAGE_2:5 GAGE_1:6 GAGE_3:7 GAGE_3:7 ");
    EXPECT_EQ(check.findings[2].reason,
              "the line is 1100 characters long; only the first 1023 are read.");
}

TEST_F(ConfigurationFindingsTest, WholeFileProblems) {
    ConfigurationCheck check = Check("[APPLICATION]\r\nNAME=Other\r\n[GAGES]\r\nGAGE_1=x\r\n");
    Expect(check,
           {{"NAME", {"warning: is \"Other\", not \"ZRNGSV32\": the loader refuses the whole"}}});
    EXPECT_EQ(check.findings.size(), 1u);

    check = CheckConfiguration(dir_.File("NONE.CFG"), def_, FakeResolve);
    ASSERT_EQ(check.findings.size(), 1u);
    EXPECT_THAT(check.findings[0].reason, HasSubstr("does not exist"));
    EXPECT_TRUE(check.error.empty());

    check = CheckConfiguration(dir_.File(""), def_, FakeResolve);  // the directory itself
    EXPECT_THAT(check.error, HasSubstr("is a directory"));
    EXPECT_THAT(check.findings, ::testing::IsEmpty());

    cfg_ = dir_.Write("BRW_GAGE.CFG",
                      kHeader + "[GAGES]\r\nGAGE_1=\"One\",1,1,0,5,SN,0,25,0,1,3,8,0\r\n");
    check = CheckConfiguration(cfg_, dir_.File("NONE.DEF"), FakeResolve);
    ASSERT_EQ(check.findings.size(), 2u);  // the missing file, and the connection of GAGE_1
    EXPECT_EQ(check.findings[0].file, dir_.File("NONE.DEF"));
    EXPECT_THAT(check.findings[0].reason, HasSubstr("does not exist"));
    EXPECT_THAT(check.findings[1].reason, HasSubstr("MUX_0 is missing"));
}

}  // namespace
}  // namespace gage
