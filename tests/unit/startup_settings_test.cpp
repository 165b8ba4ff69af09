// Start-up's settings and paths: ZRN_SYS.INI's limits and defaults, the choice of BRW_GAGE.CFG
// and the order in which the host's utility operations are asked.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "config/system_settings.h"
#include "entry/startup.h"
#include "unit/profile_test_support.h"

namespace gage {
namespace {

using profile_cases::TemporaryDirectory;
using profile_cases::WriteFileBytes;

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

TEST(SystemSettingsLimits, WaitTimeKeepsItsLow16BitsAndAtMost10000) {
    EXPECT_EQ(LimitWaitTime(20000), 10000);
    EXPECT_EQ(LimitWaitTime(70000), 4464);
    EXPECT_EQ(LimitWaitTime(0), 0);
    EXPECT_EQ(LimitWaitTime(10000), 10000);
    EXPECT_EQ(LimitWaitTime(65536 + 150), 150);
    EXPECT_EQ(LimitWaitTime(-1), 10000);  // 65535
}

TEST(SystemSettingsLimits, ConnectionTimeoutIsARealFrom0To30) {
    EXPECT_EQ(LimitTcpConnectionTimeout("45"), 30.0);
    EXPECT_EQ(LimitTcpConnectionTimeout("-2"), 0.0);
    EXPECT_EQ(LimitTcpConnectionTimeout("0.5"), 0.5);
    EXPECT_EQ(LimitTcpConnectionTimeout("text"), 0.0);
    EXPECT_EQ(LimitTcpConnectionTimeout(""), 0.0);
    EXPECT_EQ(LimitTcpConnectionTimeout("2,5"), 2.0);  // "C" rules: the comma ends the number
    EXPECT_EQ(LimitTcpConnectionTimeout("nan"), 0.0);
    EXPECT_EQ(LimitTcpConnectionTimeout("inf"), 30.0);
    EXPECT_EQ(LimitTcpConnectionTimeout(" 7.25s"), 7.25);
}

// Answers the utility operations as a host would and records how they were asked.
struct FakeHost {
    std::string shared;
    std::string local;
    std::string owner = "STATION7";
    int startupResult = 0;
    std::vector<std::string> calls;

    StartupQueries Queries() {
        StartupQueries queries;
        queries.getPath = [this](const char* location, char* buffer, int bufferSize) {
            calls.push_back(std::string("path ") + location + " " + std::to_string(bufferSize));
            const std::string& directory = std::strcmp(location, "SHARED") == 0 ? shared : local;
            std::strncpy(buffer, directory.c_str(), static_cast<std::size_t>(bufferSize) - 1);
        };
        queries.getIdentity = [this](char* first, char* second) {
            const bool cleared = std::all_of(first, first + 64, [](char c) { return c == 0; }) &&
                                 std::all_of(second, second + 64, [](char c) { return c == 0; });
            calls.push_back(cleared ? "identity" : "identity (buffers not cleared)");
            std::strcpy(first, "someone");
            std::strncpy(second, owner.c_str(), 63);
        };
        queries.startup = [this] {
            calls.push_back("startup");
            return startupResult;
        };
        return queries;
    }
};

class StartupSettingsTest : public ::testing::Test {
  protected:
    StartupSettingsTest() {
        host.shared = sharedDir.path().string() + kSeparator;
        host.local = localDir.path().string() + kSeparator;
    }
    void WriteSystemSettings(const std::string& body) {
        WriteFileBytes(host.shared + "ZRN_SYS.INI", "[GAGESERVER]\r\n" + body);
    }
    ServerSettings Settle() {
        ServerSettings settings;
        SettleServerSettings(settings, host.Queries());
        return settings;
    }

    TemporaryDirectory sharedDir;
    TemporaryDirectory localDir;
    FakeHost host;
};

TEST_F(StartupSettingsTest, WithoutZrnSysIniTheDefaultsHoldAndTheLocalFileIsUsed) {
    const ServerSettings settings = Settle();
    EXPECT_EQ(settings.ComPrefix, "COM");
    EXPECT_EQ(settings.WaitTime, 150);
    EXPECT_EQ(settings.TcpConnectionTimeout, 3.0);
    EXPECT_EQ(settings.SystemSettingsPath, host.shared + "ZRN_SYS.INI");
    EXPECT_EQ(settings.DefinitionsPath, host.shared + "BRW_GAGE.DEF");
    EXPECT_EQ(settings.LogPath, host.local + "ZRNGSV32.LOG");
    EXPECT_EQ(settings.ConfigurationPath, host.local + "BRW_GAGE.CFG");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"path SHARED 256", "path LOCAL 256", "identity",
                                                    "startup"}));
}

TEST_F(StartupSettingsTest, SettingsAreReadAndLimited) {
    WriteSystemSettings(
        "com_prefix=/dev/ttyUSB_and_more\r\nWaitTime=70000\r\nTCPIP_CONNECTION_TIMEOUT=45\r\n");
    ServerSettings settings = Settle();
    EXPECT_EQ(settings.ComPrefix, "/dev/ttyUSB_and");  // 15 characters
    EXPECT_EQ(settings.WaitTime, 4464);
    EXPECT_EQ(settings.TcpConnectionTimeout, 30.0);

    WriteSystemSettings("WAITTIME=20000\r\nTCPIP_CONNECTION_TIMEOUT=0.5\r\n");
    settings = Settle();
    EXPECT_EQ(settings.WaitTime, 10000);
    EXPECT_EQ(settings.TcpConnectionTimeout, 0.5);

    WriteSystemSettings("WAITTIME=0\r\nTCPIP_CONNECTION_TIMEOUT=soon\r\n");
    settings = Settle();
    EXPECT_EQ(settings.WaitTime, 0);
    EXPECT_EQ(settings.TcpConnectionTimeout, 0.0);
}

TEST_F(StartupSettingsTest, UseSharedPathOneSelectsTheOwnersFileInGageServer) {
    WriteSystemSettings("USE_SHARED_PATH=1\r\n");
    const ServerSettings settings = Settle();
    EXPECT_EQ(settings.ConfigurationPath,
              host.shared + "GAGE_SERVER" + kSeparator + "STATION7.BRW_GAGE.CFG");
    EXPECT_TRUE(std::filesystem::is_directory(host.shared + "GAGE_SERVER"));
    // An existing directory is no obstacle.
    EXPECT_EQ(Settle().ConfigurationPath, settings.ConfigurationPath);
}

TEST_F(StartupSettingsTest, OtherUseSharedPathValuesSelectTheLocalFile) {
    for (const char* value : {"2", "0", "", "yes", "-1"}) {
        WriteSystemSettings(std::string("USE_SHARED_PATH=") + value + "\r\n");
        EXPECT_EQ(Settle().ConfigurationPath, host.local + "BRW_GAGE.CFG") << value;
    }
}

TEST_F(StartupSettingsTest, TheHostCanChooseTheSharedFileWhateverTheSetting) {
    WriteSystemSettings("USE_SHARED_PATH=2\r\n");
    host.startupResult = 1;
    EXPECT_EQ(Settle().ConfigurationPath,
              host.shared + "GAGE_SERVER" + kSeparator + "STATION7.BRW_GAGE.CFG");
}

TEST_F(StartupSettingsTest, AnOwnerNameCannotLeadOutOfGageServer) {
    WriteSystemSettings("USE_SHARED_PATH=1\r\n");
    host.owner = "..\\../x:y";
    EXPECT_EQ(Settle().ConfigurationPath,
              host.shared + "GAGE_SERVER" + kSeparator + ".._.._x_y.BRW_GAGE.CFG");
}

TEST_F(StartupSettingsTest, DirectoriesGetTheirSeparatorAndAMissingOneIsTheCurrentDirectory) {
    host.shared = sharedDir.path().string();  // no separator at the end
    host.local.clear();
    const ServerSettings settings = Settle();
    EXPECT_EQ(settings.SharedDirectory, sharedDir.path().string() + kSeparator);
    const std::filesystem::path local(settings.LocalDirectory);
    EXPECT_TRUE(local.is_absolute());
    // The directory text ends in a separator; compare it without one.
    EXPECT_EQ(local.parent_path().lexically_normal(),
              std::filesystem::current_path().lexically_normal());
    EXPECT_EQ(settings.LocalDirectory.back(), kSeparator);
}

}  // namespace
}  // namespace gage
