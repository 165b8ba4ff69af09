#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "helpers/scoped_environment.h"
#include "helpers/temporary_directory.h"
#include "helpers/text_lines.h"
#include "support/builtin_log.h"
#include "support/support.h"

namespace gage {
namespace {

using test::ReadLines;

class SupportLogTest : public ::testing::Test {
  protected:
    SupportLogTest() { support.UseBuiltInsOnly(true); }
    test::TemporaryDirectory directory;
    std::filesystem::path log = directory.path() / "ZRNGSV32.LOG";
    Support support;
};

TEST(LogLineTest, TimeStampApplicationAndTextOnOneLine) {
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 0;
    time.tm_mday = 5;
    time.tm_hour = 7;
    time.tm_min = 8;
    time.tm_sec = 9;
    EXPECT_EQ(builtin::FormatLogLine(time, "ZRNGSV32", "WSAETIMEDOUT: Connection timed out"),
              "2024-01-05 07:08:09 ZRNGSV32: WSAETIMEDOUT: Connection timed out");
    EXPECT_EQ(builtin::FormatLogLine(time, "", "a\r\n\r\nb\nc"), "2024-01-05 07:08:09 : a b c");
}

TEST_F(SupportLogTest, AppendsOneTimeStampedLinePerCallAndCreatesTheFile) {
    ASSERT_FALSE(std::filesystem::exists(log));
    support.UtilLogError(log.string().c_str(), "ZRNGSV32", "WSAETIMEDOUT: Connection timed out");
    support.UtilLogError(log.string().c_str(), "ZRNGSV32",
                         "WSAENETUNREACH: Network is unreachable");
    const auto lines = ReadLines(log);
    ASSERT_EQ(lines.size(), 2u);
    const std::regex form(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} ZRNGSV32: (.*))");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[0], match, form)) << lines[0];
    EXPECT_EQ(match[1], "WSAETIMEDOUT: Connection timed out");
    ASSERT_TRUE(std::regex_match(lines[1], match, form)) << lines[1];
    EXPECT_EQ(match[1], "WSAENETUNREACH: Network is unreachable");
}

TEST_F(SupportLogTest, WithoutAPathTheLogPathIsUsed) {
    support.SetLogPath(log.string());
    EXPECT_EQ(support.LogPath(), log.string());
    support.UtilLogError(nullptr, "ZRNGSV32", "first");
    support.UtilLogError("", nullptr, nullptr);
    const auto lines = ReadLines(log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find(" ZRNGSV32: first"), std::string::npos);
}

TEST_F(SupportLogTest, TheDefaultLogIsInTheLocalDirectory) {
    const test::ScopedEnvironment local("ZRNGSV_LOCAL_DIR", directory.str());
    Support fresh;
    fresh.UseBuiltInsOnly(true);
    EXPECT_EQ(std::filesystem::path(fresh.LogPath()), log);
    fresh.UtilLogError(nullptr, "ZRNGSV32", "to the default log");
    EXPECT_EQ(ReadLines(log).size(), 1u);
}

TEST_F(SupportLogTest, AnUnwritableLogIsSkippedQuietly) {
    // A directory in the file's place, and a file under a directory that does not exist.
    support.UtilLogError(directory.str().c_str(), "ZRNGSV32", "lost");
    const auto missing = directory.path() / "no-such-directory" / "ZRNGSV32.LOG";
    support.UtilLogError(missing.string().c_str(), "ZRNGSV32", "lost");
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_FALSE(builtin::AppendLogLine(missing.string(), "ZRNGSV32", "lost"));
    EXPECT_FALSE(builtin::AppendLogLine("", "ZRNGSV32", "lost"));
    // The log still works afterwards.
    EXPECT_TRUE(builtin::AppendLogLine(log.string(), "ZRNGSV32", "kept"));
    EXPECT_EQ(ReadLines(log).size(), 1u);
}

TEST_F(SupportLogTest, EntryCallsAreTracedOnlyWhenAskedForAtConstruction) {
    support.SetLogPath(log.string());
    support.UtilTraceEntry(kApplicationName, kEntryPointName);
    EXPECT_FALSE(support.TraceEnabled());
    EXPECT_TRUE(ReadLines(log).empty());

    const test::ScopedEnvironment trace(builtin::kTraceVariable, "1");
    Support traced;
    traced.UseBuiltInsOnly(true);
    traced.SetLogPath(log.string());
    EXPECT_TRUE(traced.TraceEnabled());
    traced.UtilTraceEntry(kApplicationName, kEntryPointName);
    traced.UtilTraceEntry(kApplicationName, kEntryPointName);
    const auto lines = ReadLines(log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("ZRNGSV32: entry ZRNGSV_INTERFACE"), std::string::npos) << lines[0];
}

TEST(TraceSwitchTest, EmptyOrZeroMeansOff) {
    {
        const test::ScopedEnvironment trace(builtin::kTraceVariable, "0");
        EXPECT_FALSE(Support().TraceEnabled());
    }
    {
        const test::ScopedEnvironment trace(builtin::kTraceVariable, std::nullopt);
        EXPECT_FALSE(Support().TraceEnabled());
    }
    const test::ScopedEnvironment trace(builtin::kTraceVariable, "yes");
    EXPECT_TRUE(Support().TraceEnabled());
}

TEST_F(SupportLogTest, HelpWithoutAHelpFileIsLogged) {
    support.SetLogPath(log.string());
    support.HelpShow(nullptr, 1405);
    const auto lines = ReadLines(log);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("ZRNGSV32: help topic 1405 requested"), std::string::npos);
}

}  // namespace
}  // namespace gage
