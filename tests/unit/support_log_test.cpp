// The built-in log, trace, help and message boxes: what reaches the log file and how an unshown
// box is answered.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <utility>

#include "helpers/message_box_recorder.h"
#include "helpers/scoped_environment.h"
#include "helpers/temporary_directory.h"
#include "helpers/text_lines.h"
#include "support/builtin_log.h"
#include "support/builtin_message_box.h"
#include "support/support.h"

namespace gage {
namespace {

class SupportLogTest : public ::testing::Test {
  protected:
    SupportLogTest() { support.UseBuiltInsOnly(true); }
    std::vector<std::string> Lines() const { return test::ReadLines(log); }

    test::TemporaryDirectory directory;
    std::filesystem::path log = directory.path() / "ZRNGSV32.LOG";
    test::ScopedEnvironment noBoxes{builtin::kNoMessageBoxesVariable, "1"};
    Support support;
};

TEST(LogLineTest, TimeStampApplicationAndTextOnOneLine) {
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mday = 5;
    time.tm_hour = 7;
    time.tm_min = 8;
    time.tm_sec = 9;
    EXPECT_EQ(builtin::FormatLogLine(time, "ZRNGSV32", "WSAETIMEDOUT: Connection timed out"),
              "2024-01-05 07:08:09 ZRNGSV32: WSAETIMEDOUT: Connection timed out");
    EXPECT_EQ(builtin::FormatLogLine(time, "", "a\r\n\r\nb\nc"), "2024-01-05 07:08:09 : a b c");
}

TEST_F(SupportLogTest, AppendsOneTimeStampedLinePerCallToTheGivenOrTheSetPath) {
    ASSERT_FALSE(std::filesystem::exists(log));
    support.UtilLogError(log.string().c_str(), "ZRNGSV32", "WSAETIMEDOUT: Connection timed out");
    support.SetLogPath(log.string());
    EXPECT_EQ(support.LogPath(), log.string());
    support.UtilLogError(nullptr, "ZRNGSV32", "second");
    support.UtilLogError("", nullptr, nullptr);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    const std::regex form(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} ZRNGSV32: (.*))");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[0], match, form)) << lines[0];
    EXPECT_EQ(match[1], "WSAETIMEDOUT: Connection timed out");
    ASSERT_TRUE(std::regex_match(lines[1], match, form)) << lines[1];
    EXPECT_EQ(match[1], "second");
}

TEST_F(SupportLogTest, TheDefaultLogIsInTheLocalDirectory) {
    const test::ScopedEnvironment local("ZRNGSV_LOCAL_DIR", directory.str());
    Support fresh;
    fresh.UseBuiltInsOnly(true);
    EXPECT_EQ(std::filesystem::path(fresh.LogPath()), log);
    fresh.UtilLogError(nullptr, "ZRNGSV32", "to the default log");
    EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(SupportLogTest, AnUnwritableLogIsSkippedQuietly) {
    // A directory in the file's place, and a file under a directory that does not exist.
    support.UtilLogError(directory.str().c_str(), "ZRNGSV32", "lost");
    const auto missing = directory.path() / "no-such-directory" / "ZRNGSV32.LOG";
    support.UtilLogError(missing.string().c_str(), "ZRNGSV32", "lost");
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_FALSE(builtin::AppendLogLine(missing.string(), "ZRNGSV32", "lost"));
    EXPECT_FALSE(builtin::AppendLogLine("", "ZRNGSV32", "lost"));
    EXPECT_TRUE(builtin::AppendLogLine(log.string(), "ZRNGSV32", "kept"));
    EXPECT_EQ(Lines().size(), 1u);
}

// Tracing is switched on by a non-empty value other than 0 when the Support is made; help
// without a help file is logged.
TEST_F(SupportLogTest, EntryCallsAreTracedOnlyWhenAskedForAtConstruction) {
    support.SetLogPath(log.string());
    support.UtilTraceEntry(kApplicationName, kEntryPointName);
    EXPECT_TRUE(Lines().empty());
    const std::pair<std::optional<std::string>, bool> switches[] = {
        {"0", false}, {std::nullopt, false}, {"yes", true}};
    for (const auto& [value, traced] : switches) {
        const test::ScopedEnvironment trace(builtin::kTraceVariable, value);
        Support tracing;
        tracing.UseBuiltInsOnly(true);
        tracing.SetLogPath(log.string());
        EXPECT_EQ(tracing.TraceEnabled(), traced) << value.value_or("unset");
        tracing.UtilTraceEntry(kApplicationName, kEntryPointName);
    }
    support.HelpShow(nullptr, 1405);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("ZRNGSV32: entry ZRNGSV_INTERFACE"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("ZRNGSV32: help topic 1405 requested"), std::string::npos);
}

// The default button of each button set; a default beyond the set falls back to the first.
TEST(MessageBoxDefaultTest, TheDefaultButtonOfEachButtonSet) {
    const std::pair<unsigned, std::array<int, 3>> sets[] = {
        {MB_STYLE_OK, {MB_RESULT_OK, MB_RESULT_OK, MB_RESULT_OK}},
        {MB_STYLE_OKCANCEL, {MB_RESULT_OK, MB_RESULT_CANCEL, MB_RESULT_OK}},
        {MB_STYLE_ABORTRETRYIGNORE, {MB_RESULT_ABORT, MB_RESULT_RETRY, MB_RESULT_IGNORE}},
        {MB_STYLE_YESNOCANCEL, {MB_RESULT_YES, MB_RESULT_NO, MB_RESULT_CANCEL}},
        {MB_STYLE_YESNO, {MB_RESULT_YES, MB_RESULT_NO, MB_RESULT_YES}},
        {MB_STYLE_RETRYCANCEL, {MB_RESULT_RETRY, MB_RESULT_CANCEL, MB_RESULT_RETRY}}};
    for (const auto& [buttons, answers] : sets) {
        for (unsigned button = 0; button < 3; ++button) {
            for (const unsigned icon : {0u, MB_STYLE_ICONERROR}) {
                EXPECT_EQ(builtin::DefaultButtonAnswer(buttons | icon | button << 8),
                          answers[button])
                    << buttons << " default " << button + 1;
            }
        }
    }
    EXPECT_EQ(builtin::DefaultButtonAnswer(MB_STYLE_OK | 0x300), MB_RESULT_OK);
    EXPECT_EQ(builtin::DefaultButtonAnswer(0xF), MB_RESULT_OK);
}

TEST_F(SupportLogTest, AHookAnswersBoxesUnloggedAndWithoutOneTheDefaultAnswersLogged) {
    support.SetLogPath(log.string());
    {
        test::MessageBoxRecorder recorder(support, MB_RESULT_RETRY);
        EXPECT_EQ(support.GenMessageBox(nullptr, "text", "caption", MB_STYLE_ABORTRETRYIGNORE),
                  MB_RESULT_RETRY);
        EXPECT_EQ(support.GenMessageBox(nullptr, nullptr, nullptr, MB_STYLE_OK), MB_RESULT_RETRY);
        ASSERT_EQ(recorder.boxes.size(), 2u);
        EXPECT_EQ(recorder.boxes[0].text, "text");
        EXPECT_EQ(recorder.boxes[0].caption, "caption");
        EXPECT_EQ(recorder.boxes[0].style, MB_STYLE_ABORTRETRYIGNORE);
        EXPECT_EQ(recorder.boxes[1].text, "");
        EXPECT_TRUE(Lines().empty());
        support.SetMessageBoxHook({});
    }
    EXPECT_EQ(support.GenMessageBox(nullptr, "DELETE GAGE!\r\n\r\nDELETE GAGE?", "Warning",
                                    MB_STYLE_YESNO | MB_STYLE_ICONERROR | MB_STYLE_DEFBUTTON2),
              MB_RESULT_NO);
    EXPECT_EQ(support.GenMessageBox(nullptr, "Invalid device ID.", "COMMUNICATION ERROR",
                                    MB_STYLE_ABORTRETRYIGNORE | MB_STYLE_ICONERROR),
              MB_RESULT_ABORT);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("ZRNGSV32: message box \"Warning\": DELETE GAGE! DELETE GAGE? "
                            "[answered No]"),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find("\"COMMUNICATION ERROR\": Invalid device ID. [answered Abort]"),
              std::string::npos)
        << lines[1];
}

}  // namespace
}  // namespace gage
