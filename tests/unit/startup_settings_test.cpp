// Start-up's settings and paths: ZRN_SYS.INI's limits and defaults, the choice of BRW_GAGE.CFG
// and the order in which the host's utility operations are asked.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "config/c_number_text.h"
#include "config/system_settings.h"
#include "entry/startup.h"
#include "unit/config_test_files.h"

namespace gage {
namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

TEST(SystemSettingsLimits, WaitTimeKeepsItsLow16BitsAndTheTimeoutIsARealFrom0To30) {
    // (70000 and 45 are the start-up test's.)
    const std::pair<int, int> waits[] = {{20000, 10000}, {0, 0}, {10000, 10000}, {-1, 10000}};
    for (const auto& [value, expected] : waits) {
        EXPECT_EQ(LimitWaitTime(value), expected) << value;
    }
    // How the text reads as a number is the C number reader's test.
    const std::pair<const char*, double> timeouts[] = {
        {"-2", 0.0}, {"0.5", 0.5}, {"nan", 0.0}, {"inf", 30.0}};
    for (const auto& [text, expected] : timeouts) {
        EXPECT_EQ(LimitTcpConnectionTimeout(text), expected) << text;
    }
}

// Answers the utility operations as a host would and records how they were asked.
class StartupSettingsTest : public ::testing::Test {
  protected:
    ServerSettings Settle(const std::string& systemSettings) {
        dir.Write("ZRN_SYS.INI", "[GAGESERVER]\r\n" + systemSettings);
        return Settle();
    }
    ServerSettings Settle() {
        StartupQueries queries;
        queries.getPath = [this](const char* location, char* buffer, int bufferSize) {
            calls.push_back(std::string("path ") + location + " " + std::to_string(bufferSize));
            const std::string& directory = std::strcmp(location, "SHARED") == 0 ? shared : local;
            std::strncpy(buffer, directory.c_str(), static_cast<std::size_t>(bufferSize) - 1);
        };
        queries.getIdentity = [this](char* first, char* second) {
            const auto zero = [](char c) { return c == 0; };
            const bool cleared =
                std::all_of(first, first + 64, zero) && std::all_of(second, second + 64, zero);
            calls.push_back(cleared ? "identity" : "identity (buffers not cleared)");
            std::strcpy(first, "someone");
            std::strncpy(second, owner.c_str(), 63);
        };
        queries.startup = [this] {
            calls.push_back("startup");
            return startupResult;
        };
        ServerSettings settings;
        SettleServerSettings(settings, queries);
        return settings;
    }

    test::ConfigTestDirectory dir;
    test::TemporaryDirectory localDir;
    std::string shared = dir.File("");
    std::string local = localDir.with_separator();
    std::string owner = "STATION7";
    int startupResult = 0;
    std::vector<std::string> calls;
};

// The prefix, wait time and timeout, "|" each.
std::string Limits(const ServerSettings& settings) {
    return settings.ComPrefix.str() + "|" + std::to_string(settings.WaitTime) + "|" +
           FormatCReal(settings.TcpConnectionTimeout);
}

TEST_F(StartupSettingsTest, WithoutZrnSysIniTheDefaultsHoldAndTheLocalFileIsUsed) {
    const ServerSettings settings = Settle();
    EXPECT_EQ(Limits(settings), "COM|150|3");
    EXPECT_EQ(settings.SystemSettingsPath + "|" + settings.DefinitionsPath + "|" +
                  settings.LogPath + "|" + settings.ConfigurationPath,
              shared + "ZRN_SYS.INI|" + shared + "BRW_GAGE.DEF|" + local + "ZRNGSV32.LOG|" + local +
                  "BRW_GAGE.CFG");
    EXPECT_EQ(calls, (std::vector<std::string>{"path SHARED 256", "path LOCAL 256", "identity",
                                               "startup"}));
    // The keys are found without regard to case; the prefix holds 15 characters.
    EXPECT_EQ(Limits(Settle("com_prefix=/dev/ttyUSB_and_more\r\nWaitTime=70000\r\n"
                            "TCPIP_CONNECTION_TIMEOUT=45\r\n")),
              "/dev/ttyUSB_and|4464|30");
    // A directory gets its separator; a missing one is the current directory.
    shared.pop_back();
    local.clear();
    const ServerSettings bare = Settle();
    EXPECT_EQ(bare.SharedDirectory, shared + kSeparator);
    EXPECT_EQ(bare.LocalDirectory, (std::filesystem::current_path() / "").string());
}

// USE_SHARED_PATH=1, or the host's start-up answering 1, selects the owner's file in GAGE_SERVER
// (created when missing, an existing one no obstacle); anything else the local file.
TEST_F(StartupSettingsTest, TheSettingOrTheHostSelectsTheSharedFile) {
    const std::string sharedFile = shared + "GAGE_SERVER" + kSeparator + "STATION7.BRW_GAGE.CFG";
    // clang-format off
    const struct { const char* value; int startupResult; bool shared; } cases[] = {{"1", 0, true},
        {"1", 0, true}, {"2", 0, false}, {"0", 0, false}, {"", 0, false}, {"yes", 0, false},
        {"-1", 0, false}, {"2", 1, true}};
    // clang-format on
    for (const auto& c : cases) {
        startupResult = c.startupResult;
        EXPECT_EQ(Settle(std::string("USE_SHARED_PATH=") + c.value + "\r\n").ConfigurationPath,
                  c.shared ? sharedFile : local + "BRW_GAGE.CFG")
            << c.value << " " << c.startupResult;
    }
    EXPECT_TRUE(std::filesystem::is_directory(shared + "GAGE_SERVER"));
    owner = "..\\../x:y";  // cannot lead out of GAGE_SERVER
    EXPECT_EQ(Settle("USE_SHARED_PATH=1\r\n").ConfigurationPath,
              shared + "GAGE_SERVER" + kSeparator + ".._.._x_y.BRW_GAGE.CFG");
}

}  // namespace
}  // namespace gage
