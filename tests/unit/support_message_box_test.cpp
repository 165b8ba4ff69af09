#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "helpers/scoped_environment.h"
#include "helpers/temporary_directory.h"
#include "support/builtin_message_box.h"
#include "support/support.h"

namespace gage {
namespace {

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(MessageBoxDefaultTest, TheDefaultButtonOfEachButtonSet) {
    using builtin::DefaultButtonAnswer;
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_OK), MB_RESULT_OK);
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_OK | MB_STYLE_ICONERROR), MB_RESULT_OK);
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_OKCANCEL), MB_RESULT_OK);
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_OKCANCEL | MB_STYLE_DEFBUTTON2), MB_RESULT_CANCEL);
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_ABORTRETRYIGNORE), MB_RESULT_ABORT);
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_ABORTRETRYIGNORE | MB_STYLE_DEFBUTTON2),
              MB_RESULT_RETRY);
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_ABORTRETRYIGNORE | MB_STYLE_DEFBUTTON3),
              MB_RESULT_IGNORE);
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_YESNOCANCEL | MB_STYLE_DEFBUTTON3), MB_RESULT_CANCEL);
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_YESNO), MB_RESULT_YES);
    // The confirmations of the dialogs: Yes/No, stop icon, No as default.
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_YESNO | MB_STYLE_ICONERROR | MB_STYLE_DEFBUTTON2),
              MB_RESULT_NO);
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_RETRYCANCEL | MB_STYLE_DEFBUTTON2), MB_RESULT_CANCEL);
    // A default beyond the set falls back to the first button.
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_YESNO | MB_STYLE_DEFBUTTON3), MB_RESULT_YES);
    EXPECT_EQ(DefaultButtonAnswer(MB_STYLE_OK | 0x300), MB_RESULT_OK);
    EXPECT_EQ(DefaultButtonAnswer(0xF), MB_RESULT_OK);
}

class SupportMessageBoxTest : public ::testing::Test {
  protected:
    SupportMessageBoxTest() {
        support.UseBuiltInsOnly(true);
        support.SetLogPath((directory.path() / "ZRNGSV32.LOG").string());
    }
    test::TemporaryDirectory directory;
    test::ScopedEnvironment noBoxes{builtin::kNoMessageBoxesVariable, "1"};
    Support support;
};

TEST_F(SupportMessageBoxTest, TheHookAnswersAndSeesTheRequest) {
    std::vector<MessageBoxRequest> seen;
    support.SetMessageBoxHook([&](const MessageBoxRequest& request) {
        seen.push_back(request);
        return MB_RESULT_RETRY;
    });
    EXPECT_EQ(support.GenMessageBox(nullptr, "text", "caption", MB_STYLE_ABORTRETRYIGNORE),
              MB_RESULT_RETRY);
    EXPECT_EQ(support.GenMessageBox(nullptr, nullptr, nullptr, MB_STYLE_OK), MB_RESULT_RETRY);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "text");
    EXPECT_EQ(seen[0].caption, "caption");
    EXPECT_EQ(seen[0].style, MB_STYLE_ABORTRETRYIGNORE);
    EXPECT_EQ(seen[1].text, "");
    // A hook answers without logging anything.
    EXPECT_TRUE(ReadLines(directory.path() / "ZRNGSV32.LOG").empty());

    support.SetMessageBoxHook({});  // removed: the default button answers again
    EXPECT_EQ(support.GenMessageBox(nullptr, "t", "c", MB_STYLE_YESNO | MB_STYLE_DEFBUTTON2),
              MB_RESULT_NO);
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(SupportMessageBoxTest, AnUnshownBoxIsLoggedAndAnsweredByItsDefault) {
    EXPECT_EQ(support.GenMessageBox(nullptr, "DELETE GAGE!\r\n\r\nDELETE GAGE?", "Warning",
                                    MB_STYLE_YESNO | MB_STYLE_ICONERROR | MB_STYLE_DEFBUTTON2),
              MB_RESULT_NO);
    EXPECT_EQ(support.GenMessageBox(nullptr, "Invalid device ID.", "COMMUNICATION ERROR",
                                    MB_STYLE_ABORTRETRYIGNORE | MB_STYLE_ICONERROR),
              MB_RESULT_ABORT);
    const auto lines = ReadLines(directory.path() / "ZRNGSV32.LOG");
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
