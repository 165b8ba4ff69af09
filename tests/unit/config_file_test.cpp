#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>
#include <vector>

#include "config/configuration_file.h"
#include "config/ipv4_address.h"
#include "config_test_files.h"
#include "helpers/decimal_comma_locale.h"

namespace gage {
namespace {

using test::ConfigTestDirectory;

constexpr std::string_view kDefinitions =
    "[TYPE3]\nDESCRIPTION=Mux\n"
    "[TYPE3.2]\nDESCRIPTION=Caliper\nRECSTART=<2>\nRECEND=<13><10>\nRECLENGTH=12\n"
    "VALUE1=1,1,0\nMEASTIMEOUT=500\n";

class ConfigurationFileTest : public ::testing::Test {
  protected:
    int Load(const std::string& path, const ConfigurationHooks& hooks = {}) {
        return LoadConfiguration({gages, connections}, nullptr, path, definitions, hooks);
    }
    int LoadText(std::string_view text, const ConfigurationHooks& hooks = {}) {
        return Load(dir.Write("BRW_GAGE.CFG", text), hooks);
    }
    int Save(const std::string& path) { return SaveConfiguration(gages, connections, path); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const GageRecord& gage : gages) {
            names.push_back(gage.Name.str());
        }
        return names;
    }
    const ConnectionRecord& Row(int index) const {
        return connections[static_cast<std::size_t>(index)];
    }

    ConfigTestDirectory dir;
    std::string definitions = dir.Write("BRW_GAGE.DEF", kDefinitions);
    GageTable gages;
    ConnectionTable connections;
};

using Strings = std::vector<std::string>;

// ---- Accepting or refusing a file ----

TEST_F(ConfigurationFileTest, RefusedFilesLeaveTheTablesAsTheyWere) {
    gages.resize(1);
    gages[0].Name = "Earlier";
    connections[4].Name = "Earlier port";
    connections[4].PortNumber = 2;
    int hookCalls = 0;
    ConfigurationHooks hooks;
    hooks.openConnection = [&](WindowHandle, int) { return ++hookCalls; };
    hooks.sendGageInit = [&](WindowHandle, GageRecord&) { ++hookCalls; };

    EXPECT_EQ(Load("", hooks), 0);
    EXPECT_EQ(Load(dir.File("missing.cfg"), hooks), 0);
    EXPECT_EQ(LoadText("[APPLICATION]\nNAME=OTHER\nVERSION=9\n[INTERFACES]\n"
                       "MUX_0=\"A\",1,1,9600,8,1,1,1,0,0,\n",
                       hooks),
              0);
    EXPECT_EQ(LoadText("\x7f\x45\x4c\x46\x02\x01\x01\0\0\0garbage\xff\xfe", hooks), 0);
    EXPECT_EQ(Names(), Strings{"Earlier"});
    EXPECT_EQ(Row(4).Name.view(), "Earlier port");
    EXPECT_EQ(Row(0).Name.view(), "");
    EXPECT_EQ(hookCalls, 0);
}

TEST_F(ConfigurationFileTest, ApplicationNameIsComparedWithoutCase) {
    EXPECT_EQ(LoadText("[application]\nname=zrngsv32\n"), 1);
    EXPECT_EQ(LoadText("[APPLICATION]\r\nNAME=ZrnGsv32\r\nVERSION=9\r\n[GAGES]\r\n"
                       "GAGE_1=\"G\",1,1,0,0,,0,0,0,1,3,0,0\r\n"),
              1);
    EXPECT_EQ(Names(), Strings{"G"});
}

// ---- Connections ----

TEST_F(ConfigurationFileTest, ConnectionRowsKeepTheirIndexAcrossGaps) {
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\n"
                       "MUX_5=\"Bench, left\",3,2,9600,8,1,1,1,4096,0,\n"),
              1);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(Row(i).Name.empty()) << i;
        EXPECT_EQ(Row(i).PortNumber, 0) << i;
    }
    EXPECT_EQ(Row(5).Name.view(), "Bench, left");
    EXPECT_EQ(Row(5).BufferSize, 1024);

    const std::string saved = dir.File("saved.cfg");
    ASSERT_EQ(Save(saved), 1);
    const std::string text = ConfigTestDirectory::Read(saved);
    EXPECT_NE(text.find("MUX_5=\"Bench, left\",3,2,9600,8,1,1,1,1024,0,"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("MUX_0"), std::string::npos);
}

TEST_F(ConfigurationFileTest, ReloadForgetsEarlierConnections) {
    connections[10].Name = "Old";
    connections[10].PortNumber = 3;
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\n[INTERFACES]\n"
                       "MUX_1=\"A\",1,1,9600,8,1,1,1,0\nMUX_2=\"B\",1,1,9600\n"
                       "MUX_3=\"C\",1,99,9600,8,1,1,1,0,0,\n"),
              1);
    EXPECT_TRUE(Row(10).Name.empty());
    EXPECT_EQ(Row(10).PortNumber, 0);
    EXPECT_EQ(Row(1).Name.view(), "A");
    EXPECT_TRUE(Row(2).Name.empty());  // too few fields
    EXPECT_TRUE(Row(3).Name.empty());  // port above 64
}

TEST_F(ConfigurationFileTest, LongConnectionNameIsOpenedButNotSavedAgain) {
    std::vector<int> opened;
    ConfigurationHooks hooks;
    hooks.openConnection = [&](WindowHandle, int index) {
        if (connections[static_cast<std::size_t>(index)].PortNumber > 0) {
            opened.push_back(index);
        }
        return 1;
    };
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\n[INTERFACES]\nMUX_2=\"" +
                           std::string(32, 'L') + "\",1,7,9600,8,1,1,1,0,0,\n",
                       hooks),
              1);
    EXPECT_TRUE(Row(2).Name.empty());
    EXPECT_EQ(Row(2).PortNumber, 7);
    EXPECT_EQ(opened, std::vector<int>{2});
    const std::string saved = dir.File("saved.cfg");
    ASSERT_EQ(Save(saved), 1);
    EXPECT_EQ(ConfigTestDirectory::Read(saved).find("MUX_2"), std::string::npos);
}

TEST_F(ConfigurationFileTest, TcpRowsResolveThroughTheHook) {
    ConfigurationHooks hooks;
    hooks.resolveHost = [](const char* host) {
        const std::string_view name(host);
        return name == "hub" || name.size() == 253 ? NetworkOrderAddress(127, 0, 0, 1)
                                                   : kInaddrNone;
    };
    const std::string longHost(253, 'h');
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\n[INTERFACES]\n"
                       "MUX_0=\"Octets\",1,4001,192,168,0,10,1,0,1,\n"
                       "MUX_1=\"Named\",1,4002,0,0,0,0,1,0,1,hub\n"
                       "MUX_2=\"Unknown\",1,4003,0,0,0,0,1,0,1,nowhere\n"
                       "MUX_3=\"Broadcast\",1,4004,255,255,255,255,1,0,1,\n"
                       "MUX_4=\"Long\",1,4005,10,0,0,1,1,0,1," +
                           longHost + "\n",
                       hooks),
              1);
    EXPECT_EQ(Row(0).IpAddress, NetworkOrderAddress(192, 168, 0, 10));
    EXPECT_EQ(Row(0).TcpPort, 4001);
    EXPECT_EQ(Row(1).IpAddress, NetworkOrderAddress(127, 0, 0, 1));
    EXPECT_TRUE(Row(2).Name.empty());
    EXPECT_TRUE(Row(3).Name.empty());
    // Longer than the 255 characters of a plain profile read: the whole host name arrives.
    EXPECT_EQ(Row(4).Name.view(), "Long");
    EXPECT_EQ(Row(4).HostName.view(), longHost);
}

// ---- Gages ----

TEST_F(ConfigurationFileTest, ReadingStopsAtTheFirstMissingGageNumber) {
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[GAGES]\n"
                       "GAGE_1=\"One\",3,2,0,5,SN,0,25,0,1,3,8,0\n"
                       "GAGE_3=\"Three\",3,2,0,5,SN,0,25,0,1,3,8,0\n"),
              1);
    EXPECT_EQ(Names(), Strings{"One"});
}

TEST_F(ConfigurationFileTest, BadGageLinesAreSkippedAndLaterOnesStillRead) {
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[GAGES]\n"
                       "GAGE_1=\"Short\",3,2,0\n"
                       "GAGE_2=\"Stray\",3,2,0,5,SN,0,25,0,1,3,8,64\n"
                       "GAGE_3=\"Twice\",3,2,0,5,SN,0,25,0,1,3,8,0\n"
                       "GAGE_4=\"Twice\",3,2,0,5,SN,0,25,0,1,3,8,1\n"
                       "GAGE_5=\"" +
                       std::string(35, 'x') +
                       "\",3,2,0,5,SN,0,25,0,1,3,8,1\n"
                       "GAGE_6=\n"
                       "GAGE_7=\"After an empty value\",3,2,0,5,SN,0,25,0,1,3,8,1\n"),
              1);
    EXPECT_EQ(Names(), (Strings{"Twice", "Twice", ""}));
    EXPECT_EQ(gages[1].ConnectionIndex, 1);
}

TEST_F(ConfigurationFileTest, VersionTenOrMoreLoadsConnectionsButNoGage) {
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\nVERSION=10\n[INTERFACES]\n"
                       "MUX_0=\"A\",1,1,9600,8,1,1,1,0,0,\n[GAGES]\n"
                       "GAGE_1=\"G\",3,2,0,5,SN,0,25,0,1,3,8,0\n"),
              1);
    EXPECT_TRUE(gages.empty());
    EXPECT_EQ(Row(0).Name.view(), "A");
}

TEST_F(ConfigurationFileTest, EachGageGetsItsFormatFromTheDefinitions) {
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[GAGES]\n"
                       "GAGE_1=\"A\",3,2,0,5,SN,0,25,0,1,3,8,0\n"
                       "GAGE_2=\"B\",3,9,0,5,SN,0,25,0,1,3,8,0\n"
                       "GAGE_3=\"C\",3,2,0,5,SN,0,25,0,1,3,8,0\n"),
              1);
    ASSERT_EQ(gages.size(), 3u);
    EXPECT_EQ(gages[0].Format.BodyLength, 9);
    EXPECT_EQ(gages[0].Format.ReadTimeout, 500);
    EXPECT_EQ(gages[0].Format.ValueAField.Defined, 1);
    EXPECT_EQ(gages[1].Format.BodyLength, 0);  // no such format: every field at its default
    EXPECT_EQ(gages[1].Format.DecimalSeparator[0], '.');
    EXPECT_EQ(gages[2].Format.RecordEndLength, 2);
}

TEST_F(ConfigurationFileTest, HooksRunInOrderConnectionsFirst) {
    std::vector<std::string> events;
    ConfigurationHooks hooks;
    hooks.resolveHost = [&](const char* host) {
        events.push_back(std::string("resolve ") + host);
        return NetworkOrderAddress(127, 0, 0, 1);
    };
    hooks.openConnection = [&](WindowHandle, int index) {
        events.push_back("open " + std::to_string(index));
        return 1;
    };
    hooks.sendGageInit = [&](WindowHandle, GageRecord& gage) {
        // The gage is already in the table with its format when it is initialised.
        EXPECT_EQ(&gage, &gages.back());
        EXPECT_EQ(gage.Format.ReadTimeout, 500);
        events.push_back("init " + gage.Name.str());
    };
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\n"
                       "MUX_9=\"T\",1,4001,0,0,0,0,1,0,1,hub\n[GAGES]\n"
                       "GAGE_1=\"B\",3,2,0,5,SN,0,25,0,1,3,8,0\n"
                       "GAGE_2=\"A\",3,2,0,5,SN,0,25,0,1,3,8,9\n",
                       hooks),
              1);
    std::vector<std::string> expected{"resolve hub"};
    for (int i = 0; i < kConnectionCount; ++i) {
        expected.push_back("open " + std::to_string(i));
    }
    expected.push_back("init B");
    expected.push_back("init A");
    EXPECT_EQ(events, expected);
}

// ---- Saving ----

constexpr std::string_view kFullConfiguration =
    "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\n"
    "MUX_0=\"Bench, left\",3,1,9600,8,1,1,1,1024,0,\n"
    "MUX_7=\"Hub\",3,4001,127,0,0,1,1,0,1,\n"
    "MUX_63=\"Last\",4,64,19200,7,2,3,2,512,0,\n"
    "[GAGES]\n"
    "GAGE_1=\"Caliper 1\",3,2,0,5,SN-1234,0,25,0,1,3,8,0\n"
    "GAGE_2=\"Micrometer, fine\",3,2,4,6,\"SN,9\",-0.001,0.001,1.5e-07,-2.5,15,2,7\n"
    "GAGE_3=\"Indicator\",4,1,255,255,,-1e+10,123456.7,0,1,0,0,63\n";

void ExpectSameTables(const GageTable& a, const ConnectionTable& ca, const GageTable& b,
                      const ConnectionTable& cb) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE("gage " + std::to_string(i));
        EXPECT_EQ(a[i].Name, b[i].Name);
        EXPECT_EQ(a[i].SerialNumber, b[i].SerialNumber);
        EXPECT_EQ(a[i].InterfaceTypeNumber, b[i].InterfaceTypeNumber);
        EXPECT_EQ(a[i].FormatNumber, b[i].FormatNumber);
        EXPECT_EQ(a[i].ChannelNumber, b[i].ChannelNumber);
        EXPECT_EQ(a[i].GageId, b[i].GageId);
        EXPECT_EQ(a[i].Minimum, b[i].Minimum);
        EXPECT_EQ(a[i].Maximum, b[i].Maximum);
        EXPECT_EQ(a[i].Zero, b[i].Zero);
        EXPECT_EQ(a[i].Gain, b[i].Gain);
        EXPECT_EQ(a[i].Precision, b[i].Precision);
        EXPECT_EQ(a[i].Flags, b[i].Flags);
        EXPECT_EQ(a[i].ConnectionIndex, b[i].ConnectionIndex);
    }
    for (std::size_t i = 0; i < ca.size(); ++i) {
        SCOPED_TRACE("connection " + std::to_string(i));
        EXPECT_EQ(ca[i].Name, cb[i].Name);
        EXPECT_EQ(ca[i].Kind, cb[i].Kind);
        EXPECT_EQ(ca[i].InterfaceType, cb[i].InterfaceType);
        EXPECT_EQ(ca[i].PortNumber, cb[i].PortNumber);
        EXPECT_EQ(ca[i].BaudRate, cb[i].BaudRate);
        EXPECT_EQ(ca[i].DataBits, cb[i].DataBits);
        EXPECT_EQ(ca[i].StopBits, cb[i].StopBits);
        EXPECT_EQ(ca[i].Parity, cb[i].Parity);
        EXPECT_EQ(ca[i].FlowControl, cb[i].FlowControl);
        EXPECT_EQ(ca[i].BufferSize, cb[i].BufferSize);
        EXPECT_EQ(ca[i].HostName, cb[i].HostName);
        EXPECT_EQ(ca[i].IpAddress, cb[i].IpAddress);
        EXPECT_EQ(ca[i].TcpPort, cb[i].TcpPort);
    }
}

TEST_F(ConfigurationFileTest, SaveAndLoadRoundTrip) {
    ASSERT_EQ(LoadText(kFullConfiguration), 1);
    ASSERT_EQ(gages.size(), 3u);
    EXPECT_EQ(gages[1].SerialNumber.view(), "SN,9");

    const std::string first = dir.File("first.cfg");
    ASSERT_EQ(Save(first), 1);
    GageTable gagesAgain;
    ConnectionTable connectionsAgain;
    ASSERT_EQ(LoadConfiguration({gagesAgain, connectionsAgain}, nullptr, first, definitions, {}),
              1);
    ExpectSameTables(gages, connections, gagesAgain, connectionsAgain);

    const std::string second = dir.File("second.cfg");
    ASSERT_EQ(SaveConfiguration(gagesAgain, connectionsAgain, second), 1);
    EXPECT_EQ(ConfigTestDirectory::Read(first), ConfigTestDirectory::Read(second));
}

TEST_F(ConfigurationFileTest, SavingFromVersion7WritesVersion9WithTheGainFromTheFlag) {
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\nVERSION=7\n[GAGES]\n"
                       "GAGE_1=\"Neg\",3,2,0,5,SN,0,25,4,0\n"
                       "GAGE_2=\"Pos\",3,2,0,5,SN,0,25,0,0\n"),
              1);
    const std::string path = dir.File("upgraded.cfg");
    ASSERT_EQ(Save(path), 1);
    const std::string text = ConfigTestDirectory::Read(path);
    EXPECT_NE(text.find("VERSION=9"), std::string::npos) << text;
    EXPECT_NE(text.find("GAGE_1=\"Neg\",3,2,0,5,SN,0,25,0,-1,7,4,0"), std::string::npos) << text;
    EXPECT_NE(text.find("GAGE_2=\"Pos\",3,2,0,5,SN,0,25,0,1,7,0,0"), std::string::npos) << text;
    ASSERT_EQ(Load(path), 1);
    EXPECT_EQ(gages[0].Gain, -1.0);
    EXPECT_EQ(gages[0].Flags, 4u);
}

TEST_F(ConfigurationFileTest, SavingFromOldLayoutsFillsTheDefaults) {
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\nVERSION=8\n[GAGES]\n"
                       "GAGE_1=\"Eight\",3,2,1,5,SN,0,25,0.5,2,8,3\n"),
              1);
    std::string path = dir.File("from8.cfg");
    ASSERT_EQ(Save(path), 1);
    EXPECT_NE(ConfigTestDirectory::Read(path).find("GAGE_1=\"Eight\",3,2,1,5,SN,0,25,0.5,2,7,8,3"),
              std::string::npos);
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZRNGSV32\n[GAGES]\nGAGE_1=\"Old\",3,2,1,4,3\n"), 1);
    path = dir.File("from0.cfg");
    ASSERT_EQ(Save(path), 1);
    EXPECT_NE(ConfigTestDirectory::Read(path).find("GAGE_1=\"Old\",3,2,1,0,,0,0,0,1,7,4,3"),
              std::string::npos);
}

TEST_F(ConfigurationFileTest, SaveSkipsFreeRowsAndDropsStaleKeys) {
    const std::string path =
        dir.Write("BRW_GAGE.CFG",
                  "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=7\nEXTRA=1\n[INTERFACES]\n"
                  "MUX_1=\"Gone\",1,1,9600,8,1,1,1,0,0,\n[GAGES]\nGAGE_9=\"Stale\",1,1,0,0\n"
                  "[OTHER]\nKEEP=yes\n");
    gages.resize(3);
    gages[0].Name = "First";
    gages[2].Name = "Third";
    connections[3].Name = "Port";
    connections[3].PortNumber = 2;
    ASSERT_EQ(Save(path), 1);
    const std::string text = ConfigTestDirectory::Read(path);
    EXPECT_NE(text.find("GAGE_1=\"First\""), std::string::npos) << text;
    EXPECT_NE(text.find("GAGE_2=\"Third\""), std::string::npos) << text;
    EXPECT_EQ(text.find("GAGE_3"), std::string::npos) << text;
    EXPECT_EQ(text.find("GAGE_9"), std::string::npos) << text;
    EXPECT_EQ(text.find("MUX_1"), std::string::npos) << text;
    EXPECT_EQ(text.find("EXTRA"), std::string::npos) << text;
    EXPECT_NE(text.find("MUX_3=\"Port\",0,2,"), std::string::npos) << text;
    EXPECT_NE(text.find("KEEP=yes"), std::string::npos) << text;
}

TEST_F(ConfigurationFileTest, SaveKeepsThePreviousFileAsBackup) {
    const std::string before =
        "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[GAGES]\nGAGE_1=\"Old\",1,1,0,0,,0,0,0,1,3,0,0\n";
    const std::string path = dir.Write("BRW_GAGE.CFG", before);
    gages.resize(1);
    gages[0].Name = "New";
    ASSERT_EQ(Save(path), 1);
    EXPECT_EQ(ConfigTestDirectory::Read(path + ".bak"), before);
    EXPECT_NE(ConfigTestDirectory::Read(path).find("\"New\""), std::string::npos);
}

TEST_F(ConfigurationFileTest, SaveWithoutPathWritesNothing) {
    gages.resize(1);
    gages[0].Name = "G";
    EXPECT_EQ(Save(""), 0);
}

TEST_F(ConfigurationFileTest, SaveWritesPeriodsUnderADecimalCommaLocale) {
    std::optional<test::DecimalCommaLocale> comma(std::in_place);
    if (!comma->active()) {
        GTEST_SKIP() << "no decimal-comma locale installed";
    }
    gages.resize(1);
    gages[0].Name = "G";
    gages[0].Minimum = 0.001;
    gages[0].Maximum = 2.5;
    const std::string path = dir.File("comma.cfg");
    const int result = Save(path);
    GageTable reloaded;
    ConnectionTable reloadedConnections;
    const int loaded =
        LoadConfiguration({reloaded, reloadedConnections}, nullptr, path, definitions, {});
    comma.reset();
    ASSERT_EQ(result, 1);
    ASSERT_EQ(loaded, 1);
    EXPECT_NE(ConfigTestDirectory::Read(path).find(",0.001,2.5,0,1,"), std::string::npos);
    ASSERT_EQ(reloaded.size(), 1u);
    EXPECT_EQ(reloaded[0].Minimum, 0.001);
}

}  // namespace
}  // namespace gage
