// BRW_GAGE.CFG: which files are accepted, how connection and gage rows reach the tables (and the
// hooks, in order), and what a save writes back.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/configuration_file.h"
#include "config/ipv4_address.h"
#include "config_test_files.h"

namespace gage {
namespace {

using test::ConfigTestDirectory;
using Strings = std::vector<std::string>;

const std::string kLongHost(253, 'h');

class ConfigurationFileTest : public ::testing::Test {
  protected:
    int LoadText(std::string_view text, const ConfigurationHooks& hooks = {}) {
        return Load(dir.Write("BRW_GAGE.CFG", text), hooks);
    }
    int Load(const std::string& path, const ConfigurationHooks& hooks = {}) {
        return LoadConfiguration({gages, connections}, nullptr, path, definitions, hooks);
    }
    // Saves the tables and returns the file written (empty when the save failed).
    std::string Saved(const std::string& name = "saved.cfg") {
        const std::string path = dir.File(name);
        return SaveConfiguration(gages, connections, path) == 1 ? ConfigTestDirectory::Read(path)
                                                                : std::string();
    }
    Strings Names() const {
        Strings names;
        for (const GageRecord& gage : gages) {
            names.push_back(gage.Name.str());
        }
        return names;
    }
    const ConnectionRecord& Row(int index) const {
        return connections[static_cast<std::size_t>(index)];
    }

    ConfigTestDirectory dir;
    std::string definitions =
        dir.Write("BRW_GAGE.DEF",
                  "[TYPE3]\nDESCRIPTION=Mux\n[TYPE3.2]\nDESCRIPTION=Caliper\nMEASTIMEOUT=500\n");
    GageTable gages;
    ConnectionTable connections;
};

TEST_F(ConfigurationFileTest, RefusedFilesLeaveTheTablesAsTheyWere) {
    gages.resize(1);
    gages[0].Name = "Earlier";
    connections[4].Name = "Earlier port";
    int hookCalls = 0;
    ConfigurationHooks hooks;
    hooks.openConnection = [&](WindowHandle, int) { return ++hookCalls; };
    hooks.sendGageInit = [&](WindowHandle, GageRecord&) { ++hookCalls; };
    EXPECT_EQ(Load("", hooks), 0);
    EXPECT_EQ(LoadText("[APPLICATION]\nNAME=OTHER\nVERSION=9\n[INTERFACES]\n"
                       "MUX_0=\"A\",1,1,9600,8,1,1,1,0,0,\n",
                       hooks),
              0);
    EXPECT_EQ(Names(), Strings{"Earlier"});
    EXPECT_EQ(Row(4).Name.view(), "Earlier port");
    EXPECT_EQ(hookCalls, 0);
}

// Which lines the loader skips, and that it goes on after them, is the configuration check's part
// (config_findings_test.cpp): its counts are the loader's. Here: the name without regard to case;
// rows keep their index across gaps; connections are offered to the hook once all are loaded, then
// each gage is initialised once it is in the table with the format the definitions give it (its
// read timeout shows which; 0 where there is no such format). A gage name too long is cut to
// nothing, a free row; a line too long for its room is cut, so it loses its later fields. A
// connection name too long for the table is opened but not saved again, buffer sizes are limited,
// and a host name longer than a plain profile read arrives whole. Every other field of every row
// is saved as read, and a reload replaces the rows rather than adding to them.
TEST_F(ConfigurationFileTest, RowsReachTheTablesAndTheHooksInOrderAndSaveBackAsRead) {
    connections[10].Name = "Old";
    connections[10].PortNumber = 3;
    Strings events;
    ConfigurationHooks hooks;
    hooks.resolveHost = [&](const char* host) {
        events.push_back(std::string("resolve ") + host);
        return NetworkOrderAddress(127, 0, 0, 1);
    };
    hooks.openConnection = [&](WindowHandle, int index) {
        events.push_back("open " + std::to_string(index) + (Row(index).PortNumber > 0 ? "+" : ""));
        return 1;
    };
    hooks.sendGageInit = [&](WindowHandle, GageRecord& gage) {
        EXPECT_EQ(&gage, &gages.back());
        events.push_back("init " + gage.Name.str() + " " + std::to_string(gage.Format.ReadTimeout));
    };
    // The rows that are saved as read, each followed by its line end.
    const std::string hub = "MUX_7=\"Hub\",3,4001,127,0,0,1,1,0,1,";
    const std::string net = "MUX_9=\"T\",1,4001,0,0,0,0,1,0,1," + kLongHost;
    const std::string last = "MUX_63=\"Last\",4,64,19200,7,2,3,2,512,0,";
    const std::string micrometer =
        "=\"Micrometer, fine\",3,2,4,6,\"SN,9\",-0.001,0.001,1.5e-07,-2.5,15,2,7";
    const std::string indicator = "=\"Indicator\",4,1,255,255,,-1e+10,123456.7,0,1,0,0,63";
    ASSERT_EQ(LoadText("[APPLICATION]\nNAME=ZrnGsv32\nVERSION=9\n[INTERFACES]\n"
                       "MUX_1=\"A\",1,1,9600,8,1,1,1,0\n"
                       "MUX_5=\"Bench, left\",3,2,9600,8,1,1,1,4096,0,\nMUX_6=\"" +
                           std::string(32, 'L') + "\",1,7,9600,8,1,1,1,0,0,\n" + hub + "\n" + net +
                           "\n" + last + "\n[GAGES]\nGAGE_1=\"" + std::string(35, 'x') +
                           "\",3,2,0,5,SN,0,25,0,1,3,8,0\nGAGE_2=\"G\",1,1,0,0," +
                           std::string(100000, 'x') + ",0,0,0,1,3,0,0\nGAGE_3" + micrometer +
                           "\nGAGE_4" + indicator + "\n",
                       hooks),
              1);
    Strings expected{"resolve " + kLongHost};
    for (int i = 0; i < kConnectionCount; ++i) {
        const bool configured = i == 1 || i == 5 || i == 6 || i == 7 || i == 9 || i == 63;
        expected.push_back("open " + std::to_string(i) + (configured ? "+" : ""));
    }
    expected.insert(expected.end(), {"init  500", "init Micrometer, fine 500", "init Indicator 0"});
    EXPECT_EQ(events, expected);
    EXPECT_EQ(Names(), (Strings{"", "Micrometer, fine", "Indicator"}));
    const std::string saved = Saved();
    EXPECT_EQ(saved,
              "[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n[INTERFACES]\r\n"
              "MUX_1=\"A\",1,1,9600,8,1,1,1,0,0,\r\n"
              "MUX_5=\"Bench, left\",3,2,9600,8,1,1,1,1024,0,\r\n" +
                  hub + "\r\n" + net + "\r\n" + last + "\r\n[GAGES]\r\nGAGE_1" + micrometer +
                  "\r\nGAGE_2" + indicator + "\r\n");
    ASSERT_EQ(Load(dir.File("saved.cfg"), hooks), 1);
    EXPECT_EQ(Saved("again.cfg"), saved);
}

TEST_F(ConfigurationFileTest, SaveSkipsFreeRowsDropsStaleKeysAndKeepsTheBackup) {
    const std::string before =
        "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=7\nEXTRA=1\n[INTERFACES]\n"
        "MUX_1=\"Gone\",1,1,9600,8,1,1,1,0,0,\n[GAGES]\nGAGE_9=\"Stale\",1,1,0,0\n[OTHER]\nKEEP="
        "yes\n";
    const std::string path = dir.Write("BRW_GAGE.CFG", before);
    gages.resize(3);
    gages[0].Name = "First";
    gages[2].Name = "Third";
    connections[3].Name = "Port";
    connections[3].PortNumber = 2;
    ASSERT_EQ(SaveConfiguration(gages, connections, path), 1);
    EXPECT_EQ(ConfigTestDirectory::Read(path + ".bak"), before);
    EXPECT_EQ(ConfigTestDirectory::Read(path),
              "[OTHER]\nKEEP=yes\n[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n"
              "[INTERFACES]\nMUX_3=\"Port\",0,2,0,0,0,0,0,0,0,\n[GAGES]\n"
              "GAGE_1=\"First\",0,0,0,0,,0,0,0,1,7,0,0\nGAGE_2=\"Third\",0,0,0,0,,0,0,0,1,7,0,0\n");
    EXPECT_EQ(SaveConfiguration(gages, connections, ""), 0);
}

}  // namespace
}  // namespace gage
