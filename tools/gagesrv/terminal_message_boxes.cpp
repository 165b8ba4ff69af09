#include "gagesrv/terminal_message_boxes.h"

#include <string>
#include <string_view>

#include "support/builtin_message_box.h"

namespace gage::gagesrv {

namespace {

// A run of line breaks becomes one space.
std::string OnOneLine(std::string_view text) {
    std::string line;
    bool inBreak = false;
    for (const char c : text) {
        const bool lineBreak = c == '\r' || c == '\n';
        if (!lineBreak) {
            line += c;
        } else if (!inBreak) {
            line += ' ';
        }
        inBreak = lineBreak;
    }
    return line;
}

}  // namespace

void AnswerMessageBoxesInTerminal(Runtime& runtime, std::ostream& err) {
    runtime.support.SetMessageBoxHook([&runtime, &err](const MessageBoxRequest& box) {
        const bool abortRetryIgnore = (box.style & 0xFu) == MB_STYLE_ABORTRETRYIGNORE;
        const int answer =
            abortRetryIgnore ? MB_RESULT_ABORT : builtin::DefaultButtonAnswer(box.style);
        err << box.caption << ": " << OnOneLine(box.text) << "\n";
        const std::string line = builtin::DescribeUnshownMessageBox(box.caption, box.text, answer);
        runtime.support.UtilLogError(runtime.support.LogPath().c_str(), kApplicationName,
                                     line.c_str());
        return answer;
    });
}

}  // namespace gage::gagesrv
