// The host binding: a library that the process has loaded under the host library's name (on
// Windows its module name, the string function found by ordinal; elsewhere its soname) is used.
// Without it, or when told to use built-ins only, the built-in support operations answer:
// rounding and digits, paths and identity, strings, and the log, trace, help and message boxes.

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "helpers/loaded_module.h"
#include "helpers/message_box_recorder.h"
#include "helpers/scoped_environment.h"
#include "helpers/temporary_directory.h"
#include "helpers/text_lines.h"
#include "support/builtin_log.h"
#include "support/builtin_math.h"
#include "support/builtin_message_box.h"
#include "support/builtin_paths.h"
#include "support/builtin_strings.h"
#include "support/support.h"

namespace gage {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

class SupportTest : public ::testing::Test {
  protected:
    SupportTest() { support.UseBuiltInsOnly(true); }
    std::vector<std::string> Lines() const { return test::ReadLines(log); }
    std::string Path(const char* location, int size = 256) {
        std::array<char, 512> buffer{};
        buffer.fill('x');
        support.UtilGetPath(0, location, buffer.data(), size);
        return buffer.data();
    }
    static bool Has(const std::string& line, const char* part) {
        return line.find(part) != std::string::npos;
    }

    test::TemporaryDirectory directory;
    std::filesystem::path log = directory.path() / "ZRNGSV32.LOG";
    test::ScopedEnvironment noBoxes{builtin::kNoMessageBoxesVariable, "1"};
    Support support;
};

// Rounding works on the decimal value: binary values just below a decimal half (2.675, 1.005)
// still round away from zero, and the result is the double nearest the rounded decimal (12.35,
// not 1235 * 0.01). Values with nothing to round away stay as they are, tiny ones become positive
// zero, negative places round to tens, and an out-of-range result leaves the value alone.
TEST_F(SupportTest, MathRoundRoundsTheDecimalValueHalfAwayFromZero) {
    const double big = 123456789012345678.0, third = 1.0 / 3.0;
    const double denormal = std::numeric_limits<double>::denorm_min();
    // clang-format off
    const struct { double value; int places; double rounded; } cases[] = {
        {2.675, 2, 2.68}, {1.005, 2, 1.01}, {0.285, 2, 0.29}, {1.45, 1, 1.5}, {-2.675, 2, -2.68},
        {2.5, 0, 3.0}, {-2.5, 0, -3.0}, {0.5, 0, 1.0}, {-0.5, 0, -1.0}, {9.995, 2, 10.0},
        {99.96, 1, 100.0}, {2.674999, 2, 2.67}, {-2.4, 0, -2.0}, {1.23456789, 4, 1.2346},
        {0.1 + 0.2, 2, 0.3}, {12.345, 2, 12.35}, {1250.0, -2, 1300.0}, {-1249.0, -2, -1200.0},
        {49.0, -2, 0.0}, {50.0, -2, 100.0}, {1234567.891, 2, 1234567.89},
        {0.000123456, 7, 0.0001235}, {1.25, 7, 1.25}, {42.0, 0, 42.0}, {1e300, 2, 1e300},
        {big, 3, big}, {0.1, 15, 0.1}, {third, 20, third}, {1e-38, 7, 0.0}, {-0.001, 2, 0.0},
        {0.0, 3, 0.0}, {denormal, 15, 0.0}, {kInf, 2, kInf}, {kMax, 0, kMax}, {kMax, -308, kMax},
        {kMax, -400, 0.0}, {3.5, kIntMax, 3.5}, {3.5, kIntMin, 0.0}};
    // clang-format on
    for (const auto& c : cases) {
        const double rounded = support.MathRound(c.value, c.places);
        EXPECT_EQ(rounded, c.rounded) << c.value << " at " << c.places;
        EXPECT_EQ(std::signbit(rounded), std::signbit(c.rounded)) << c.value << " at " << c.places;
    }
    EXPECT_TRUE(std::isnan(support.MathRound(std::nan(""), 2)));
}

// The digit count is the fewest with which "%+.*g" shows what "%+.15g" shows: 12000 is 5, not the
// 1.2e+04 of two digits.
TEST_F(SupportTest, SignificantDigitsAreTheFewestThatShowTheValue) {
    const auto printed = [](double value, int digits) {
        char text[400];
        std::snprintf(text, sizeof text, "%+.*g", digits, value);
        return std::string(text);
    };
    for (const double value :
         {0.1, 0.0, 1.0 / 3.0, 1e-38, -2.675, 123456789012345678.0, 0.1 + 0.2, 12000.0, 100.0,
          1.5e-5, -99.999, 6.02214076e23, 0.000123, 7.0, 1e15, 1e16, -1e-300, 2.5, 65535.0}) {
        const int digits = support.DbSignificantDigits(value);
        ASSERT_TRUE(digits >= 1 && digits <= 15) << value;
        EXPECT_EQ(printed(value, digits), printed(value, 15)) << value;
        if (digits > 1) {
            EXPECT_NE(printed(value, digits - 1), printed(value, 15)) << value;
        }
    }
    for (const double value : {std::nan(""), kInf, -kInf}) {
        EXPECT_EQ(support.DbSignificantDigits(value), 1) << value;
    }
    // clang-format off
    const std::pair<const char*, std::optional<double>> numbers[] = {{"12.5", 12.5},
        {" 3,25 ", 3.25}, {"-7", -7.0}, {"+7", 7.0}, {"1e-3", 0.001}, {"", std::nullopt},
        {"-", std::nullopt}, {"12abc", std::nullopt}, {"++1", std::nullopt}, {"1.2.3", std::nullopt}};
    // clang-format on
    for (const auto& [text, number] : numbers) {
        EXPECT_EQ(builtin::ParseDecimal(text), number) << text;
    }
}

// The location name is not case-sensitive; the directories are made and end in a separator, and
// one that cannot be made (a file in its place) is still the answer. Unset, they are the
// program's own; other names give nothing, and a long path is cut to the buffer.
TEST_F(SupportTest, PathsAreCreatedEndInASeparatorAndAreCutToTheBuffer) {
    const auto shared = directory.path() / "shared" / "deeper";
    const auto local = (directory.path() / "local" / "").string();
    {
        const test::ScopedEnvironment s(builtin::kSharedDirectoryVariable, shared.string());
        const test::ScopedEnvironment l(builtin::kLocalDirectoryVariable, local);
        EXPECT_EQ(Path("SHARED"), shared.string() + builtin::PathSeparator());
        EXPECT_EQ(Path("local"), local);
        EXPECT_TRUE(std::filesystem::is_directory(shared) && std::filesystem::is_directory(local));
        EXPECT_EQ(Path("LOCAL", 9), local.substr(0, 8));
        support.UtilGetPath(0, "LOCAL", nullptr, 256);  // no buffer: nothing happens
        std::array<char, 4> untouched{'a', 'b', 'c', '\0'};
        support.UtilGetPath(0, "LOCAL", untouched.data(), 0);
        EXPECT_STREQ(untouched.data(), "abc");
        directory.Write("file", "x");
        const test::ScopedEnvironment blocked(builtin::kLocalDirectoryVariable,
                                              (directory.path() / "file" / "sub").string());
        EXPECT_EQ(Path("LOCAL"), (directory.path() / "file" / "sub" / "").string());
    }
    const test::ScopedEnvironment s(builtin::kSharedDirectoryVariable, std::nullopt);
    const test::ScopedEnvironment l(builtin::kLocalDirectoryVariable, std::nullopt);
    for (const char* location : {"SHARED", "LOCAL"}) {
        std::string path = Path(location);
        ASSERT_FALSE(path.empty()) << location;
        EXPECT_TRUE(builtin::IsPathSeparator(path.back())) << path;
        for (char& c : path) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        EXPECT_TRUE(Has(path, "gageserver")) << path;
    }
    for (const char* other : {"TEMP", "", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(Path(other), "");
    }
    std::array<char, 64> first{}, second{};
    support.UtilGetIdentity(first.data(), second.data());
    EXPECT_GT(std::strlen(second.data()), 0u) << "station name";
    EXPECT_EQ(std::string(second.data()), builtin::StationName().substr(0, 63));
    EXPECT_EQ(std::string(first.data()), builtin::LoginName().substr(0, 63));
    support.UtilGetIdentity(nullptr, nullptr);
    EXPECT_EQ(support.UtilStartup(), 0);
}

// Only leading digits followed by a bar are a key; the text is cut to the buffer after its key is
// removed, and a missing id (3127: byte values above 126 have no name) gives 0 and an empty
// buffer.
TEST_F(SupportTest, StringsLoseTheirKeyAndAreCutToTheBuffer) {
    // clang-format off
    const std::pair<const char*, const char*> keys[] = {{"3421|COMM", "COMM"},
        {"0|RTS=off", "RTS=off"}, {"3124||", "|"}, {"3049|1", "1"}, {"123|", ""},
        {"|text", "|text"}, {"1234", "1234"}, {"12a|text", "12a|text"}, {"WSA: x", "WSA: x"},
        {"", ""}};
    const struct { unsigned id; int size; const char* text; } loads[] = {{100, 8, "COMMUNI"},
        {100, 1, ""}, {1100, 8, "EQ"}, {1105, 8, "GE"}, {99, 32, ""}, {3127, 32, ""}};
    // clang-format on
    for (const auto& [text, stripped] : keys) {
        EXPECT_EQ(builtin::StripTranslationKey(text), stripped) << text;
    }
    for (const auto& c : loads) {
        std::string buffer(64, 'x');
        EXPECT_EQ(support.LangLoadString(nullptr, c.id, buffer.data(), c.size),
                  static_cast<int>(std::strlen(c.text)))
            << c.id;
        EXPECT_STREQ(buffer.c_str(), c.text) << c.id;
    }
    EXPECT_EQ(support.LangLoadString(nullptr, 100, nullptr, 8), 0);
    char untouched[] = "abc";
    EXPECT_EQ(support.LangLoadString(nullptr, 100, untouched, 0), 0);
    EXPECT_STREQ(untouched, "abc");
    EXPECT_EQ(support.LoadString(65535), "");
    // Every byte value up to 126 and every sockets error the channel can meet has a text.
    for (unsigned value = 33; value <= 126; ++value) {
        EXPECT_EQ(support.LoadString(3000 + value), std::string(1, static_cast<char>(value)));
    }
    std::vector<unsigned> codes = {10004, 10009, 10013, 10014, 10022, 10024, 10091,
                                   10092, 10093, 10101, 11001, 11002, 11003, 11004};
    for (unsigned code = 10035; code <= 10071; ++code) {
        codes.push_back(code);
    }
    for (const unsigned code : codes) {
        const std::string text = support.LoadString(code);
        EXPECT_TRUE(text.rfind("WSA", 0) == 0 && Has(text, ": ")) << code << ": " << text;
    }
    // Dialog operations accept a null window.
    support.LangTranslateDialog(nullptr);
    support.LangBanner(nullptr);
    support.GenEditFilter(nullptr, 3, 3, 0, 1.0, 255.0, 5, 1);
}

TEST_F(SupportTest, TheLogGetsOneTimeStampedLinePerCallAndAnUnwritableOneIsSkipped) {
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mday = 5;
    time.tm_hour = 7;
    time.tm_min = 8;
    time.tm_sec = 9;
    EXPECT_EQ(builtin::FormatLogLine(time, "ZRNGSV32", "WSAETIMEDOUT: Connection timed out"),
              "2024-01-05 07:08:09 ZRNGSV32: WSAETIMEDOUT: Connection timed out");
    EXPECT_EQ(builtin::FormatLogLine(time, "", "a\r\n\r\nb\nc"), "2024-01-05 07:08:09 : a b c");

    // To the given path, else the set one, else the default in the local directory.
    {
        const test::ScopedEnvironment local("ZRNGSV_LOCAL_DIR", directory.str());
        Support fresh;
        fresh.UseBuiltInsOnly(true);
        fresh.UtilLogError(nullptr, "ZRNGSV32", "first");
    }
    support.UtilLogError(log.string().c_str(), "ZRNGSV32", "second");
    support.SetLogPath(log.string());
    support.UtilLogError(nullptr, "ZRNGSV32", "third");
    support.UtilLogError("", nullptr, nullptr);
    // A directory in the file's place, and a file under a directory that does not exist.
    support.UtilLogError(directory.str().c_str(), "ZRNGSV32", "lost");
    const auto missing = directory.path() / "no-such-directory" / "ZRNGSV32.LOG";
    EXPECT_FALSE(builtin::AppendLogLine(missing.string(), "ZRNGSV32", "lost"));
    EXPECT_FALSE(builtin::AppendLogLine("", "ZRNGSV32", "lost"));
    std::vector<std::string> texts;
    for (const std::string& line : Lines()) {
        texts.push_back(line.substr(19));
    }
    EXPECT_EQ(texts, (std::vector<std::string>{" ZRNGSV32: first", " ZRNGSV32: second",
                                               " ZRNGSV32: third", " : "}));
}

// Tracing is switched on by a non-empty value other than 0 when the Support is made; help
// without a help file is logged.
TEST_F(SupportTest, EntryCallsAreTracedOnlyWhenAskedForAtConstruction) {
    support.SetLogPath(log.string());
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
    EXPECT_TRUE(Has(lines[0], "ZRNGSV32: entry ZRNGSV_INTERFACE")) << lines[0];
    EXPECT_TRUE(Has(lines[1], "ZRNGSV32: help topic 1405 requested")) << lines[1];
}

// The default button of each button set answers an unshown box (a default beyond the set falls
// back to the first), and is logged; a hook answers instead, unlogged.
TEST_F(SupportTest, AHookAnswersBoxesUnloggedAndWithoutOneTheDefaultAnswersLogged) {
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
    EXPECT_EQ(builtin::DefaultButtonAnswer(0xF), MB_RESULT_OK);

    support.SetLogPath(log.string());
    {
        test::MessageBoxRecorder recorder(support, MB_RESULT_RETRY);
        EXPECT_EQ(support.GenMessageBox(nullptr, "text", "caption", MB_STYLE_ABORTRETRYIGNORE),
                  MB_RESULT_RETRY);
        EXPECT_EQ(support.GenMessageBox(nullptr, nullptr, nullptr, MB_STYLE_OK), MB_RESULT_RETRY);
        ASSERT_EQ(recorder.boxes.size(), 2u);
        const MessageBoxRequest& first = recorder.boxes[0];
        EXPECT_EQ(std::tie(first.text, first.caption, first.style, recorder.boxes[1].text),
                  std::tuple("text", "caption", MB_STYLE_ABORTRETRYIGNORE, ""));
        support.SetMessageBoxHook({});
    }
    EXPECT_EQ(support.GenMessageBox(nullptr, "DELETE GAGE!\r\n\r\nDELETE GAGE?", "Warning",
                                    MB_STYLE_YESNO | MB_STYLE_ICONERROR | MB_STYLE_DEFBUTTON2),
              MB_RESULT_NO);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(
        Has(lines[0], "ZRNGSV32: message box \"Warning\": DELETE GAGE! DELETE GAGE? [answered No]"))
        << lines[0];
}

#ifdef _WIN32
// Beside the test program, exporting LangLoadString by ordinal only.
constexpr const char* kFakeHostLanguage = "tqxLanguage.dll";
#else
constexpr const char* kFakeHostLanguage = GAGE_FAKE_HOST_LANGUAGE;
#endif

std::string Loaded(Support& support, unsigned id) {
    std::array<char, 64> buffer{};
    support.LangLoadString(nullptr, id, buffer.data(), buffer.size());
    return buffer.data();
}

TEST(SupportHostBindingTest, TheLoadedHostLibraryIsUsed) {
    {
        Support unbound;
        EXPECT_EQ(Loaded(unbound, 115), "Warning");
    }
    const test::LoadedModule fake(kFakeHostLanguage);
    ASSERT_NE(fake.get(), nullptr) << fake.error();
#ifdef _WIN32
    ASSERT_EQ(fake.Find<void (*)()>("LangLoadString"), nullptr) << "exported by name";
#endif
    const auto calls = fake.Find<int (*)()>("FakeHostCalls");
    ASSERT_NE(calls, nullptr);
    const int before = calls();
    Support support;  // released before the library is closed
    EXPECT_EQ(Loaded(support, 115), "host string 115");
    EXPECT_EQ(support.LoadString(120), "host string 120");
    EXPECT_EQ(calls(), before + 2);
    // Operations of libraries the host has not loaded stay built in.
    EXPECT_EQ(support.MathRound(2.675, 2), 2.68);
    support.UseBuiltInsOnly(true);
    EXPECT_EQ(Loaded(support, 115), "Warning");
    EXPECT_EQ(calls(), before + 2);
    support.UseBuiltInsOnly(false);
    EXPECT_EQ(Loaded(support, 1), "host string 1");
}

}  // namespace
}  // namespace gage
