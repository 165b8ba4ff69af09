#include "support/builtin_message_box.h"

#include <array>
#include <cstdlib>
#include <span>

#include "support/support.h"

namespace gage::builtin {

namespace {

constexpr int kResultTryAgain = 10;
constexpr int kResultContinue = 11;

constexpr unsigned kButtonSetMask = 0xF;
constexpr unsigned kDefaultButtonMask = 0xF00;
constexpr unsigned kDefaultButtonShift = 8;

std::span<const int> ButtonSet(unsigned style) {
    static constexpr std::array kOk = {MB_RESULT_OK};
    static constexpr std::array kOkCancel = {MB_RESULT_OK, MB_RESULT_CANCEL};
    static constexpr std::array kAbortRetryIgnore = {MB_RESULT_ABORT, MB_RESULT_RETRY,
                                                     MB_RESULT_IGNORE};
    static constexpr std::array kYesNoCancel = {MB_RESULT_YES, MB_RESULT_NO, MB_RESULT_CANCEL};
    static constexpr std::array kYesNo = {MB_RESULT_YES, MB_RESULT_NO};
    static constexpr std::array kRetryCancel = {MB_RESULT_RETRY, MB_RESULT_CANCEL};
    static constexpr std::array kCancelTryContinue = {MB_RESULT_CANCEL, kResultTryAgain,
                                                      kResultContinue};
    switch (style & kButtonSetMask) {
        case MB_STYLE_OKCANCEL:
            return kOkCancel;
        case MB_STYLE_ABORTRETRYIGNORE:
            return kAbortRetryIgnore;
        case MB_STYLE_YESNOCANCEL:
            return kYesNoCancel;
        case MB_STYLE_YESNO:
            return kYesNo;
        case MB_STYLE_RETRYCANCEL:
            return kRetryCancel;
        case 0x6:
            return kCancelTryContinue;
        default:
            return kOk;
    }
}

// Line breaks would split the one log line; each run of them becomes a single space.
std::string OneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    bool inBreak = false;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            if (!inBreak) {
                line.push_back(' ');
            }
            inBreak = true;
            continue;
        }
        inBreak = false;
        line.push_back(c);
    }
    return line;
}

}  // namespace

int DefaultButtonAnswer(unsigned style) {
    const std::span<const int> buttons = ButtonSet(style);
    const std::size_t index = (style & kDefaultButtonMask) >> kDefaultButtonShift;
    return index < buttons.size() ? buttons[index] : buttons[0];
}

std::string ButtonName(int answer) {
    switch (answer) {
        case MB_RESULT_OK:
            return "OK";
        case MB_RESULT_CANCEL:
            return "Cancel";
        case MB_RESULT_ABORT:
            return "Abort";
        case MB_RESULT_RETRY:
            return "Retry";
        case MB_RESULT_IGNORE:
            return "Ignore";
        case MB_RESULT_YES:
            return "Yes";
        case MB_RESULT_NO:
            return "No";
        case kResultTryAgain:
            return "Try Again";
        case kResultContinue:
            return "Continue";
        default:
            return "button " + std::to_string(answer);
    }
}

std::string DescribeUnshownMessageBox(std::string_view caption, std::string_view text, int answer) {
    return "message box \"" + OneLine(caption) + "\": " + OneLine(text) + " [answered " +
           ButtonName(answer) + "]";
}

bool MessageBoxesSuppressed() {
    return std::getenv(kNoMessageBoxesVariable) != nullptr;
}

}  // namespace gage::builtin
