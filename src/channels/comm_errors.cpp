#include "channels/comm_errors.h"

#include <array>
#include <cstdio>
#include <string>

#include "channels/user_signals.h"
#include "support/string_ids.h"

namespace gage {
namespace {

constexpr unsigned kUndefinedCommErrorId = 18;
constexpr unsigned kUndefinedGageErrorId = 105;
constexpr int kTitleSize = 128;
constexpr int kMessageSize = 256;

std::string LoadText(ChannelContext& context, unsigned id, int capacity) {
    std::string buffer(static_cast<std::size_t>(capacity), '\0');
    context.support.LangLoadString(context.support.Module(), id, buffer.data(), capacity);
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

bool HasText(const char* text) {
    return text != nullptr && text[0] != '\0';
}

}  // namespace

int SetCommErrorReporting(ChannelContext& context, int mode) {
    const int previous = context.commErrorReporting;
    context.commErrorReporting = mode;
    return previous;
}

unsigned CommErrorMessageId(int code) {
    if (code < 0) {
        switch (code) {
            case COMM_ERR_BAD_ID:
                return 1;
            case COMM_ERR_OPEN:
                return 8;
            case COMM_ERR_NOT_OPEN:
                return 7;
            case COMM_ERR_MEMORY:
                return 6;
            case COMM_ERR_DEFAULT:
                return 4;
            case COMM_ERR_HARDWARE:
                return 5;
            case COMM_ERR_BYTE_SIZE:
                return 3;
            case COMM_ERR_BAUD_RATE:
                return 2;
            default:
                return kUndefinedCommErrorId;
        }
    }
    // The first flag set decides, in this order of precedence.
    struct FlagMessage {
        int flag;
        unsigned id;
    };
    static constexpr std::array<FlagMessage, 7> kOrder{{{COMM_ERR_MODE, 9},
                                                        {COMM_ERR_BREAK, 10},
                                                        {COMM_ERR_FRAME, 13},
                                                        {COMM_ERR_OVERRUN, 20},
                                                        {COMM_ERR_RXOVER, 15},
                                                        {COMM_ERR_RXPARITY, 16},
                                                        {COMM_ERR_TXFULL, 17}}};
    for (const FlagMessage& entry : kOrder) {
        if ((code & entry.flag) != 0) {
            return entry.id;
        }
    }
    return kUndefinedCommErrorId;
}

unsigned GageErrorMessageId(int code) {
    switch (code) {
        case GAGE_ERR_PORT_NUMBER:
            return 101;
        case GAGE_ERR_PORT_HANDLE:
            return 102;
        case GAGE_ERR_UNIT_NUMBER:
            return 111;
        case GAGE_ERR_FUNCTION:
            return 103;
        case GAGE_ERR_MEMORY:
            return 104;
        case GAGE_ERR_TIMEOUT:
            return 106;
        case GAGE_ERR_OPEN_PORT:
            return 107;
        case GAGE_ERR_NO_PORT:
            return 108;
        case GAGE_ERR_READ:
            return 109;
        case GAGE_ERR_DESCRIPTION:
            return 112;
        default:
            return kUndefinedGageErrorId;
    }
}

int ReportCommError(ChannelContext& context, WindowHandle owner, int code, const char* extra,
                    unsigned style) {
    if (code == 0) {
        return 0;
    }
    const int mode = context.commErrorReporting;
    if ((code < 0 && (mode & COMM_REPORT_OPEN_ERRORS) == 0) ||
        (code > 0 && (mode & COMM_REPORT_LINE_ERRORS) == 0)) {
        return code;
    }
    const std::string title = LoadText(context, IDS_COMM_ERROR_TITLE, kTitleSize);
    std::string message = LoadText(context, CommErrorMessageId(code), kMessageSize);
    if (message.empty()) {
        message = LoadText(context, kUndefinedCommErrorId, kMessageSize);
    }
    std::array<char, 64> codeText{};
    std::snprintf(codeText.data(), codeText.size(), "\n\nError Code: %d (%X)", code,
                  static_cast<unsigned>(code));
    std::string text = message + codeText.data();
    if (HasText(extra)) {
        text += "\n\n";
        text += extra;
    }
    ExclamationBeep();
    return context.support.GenMessageBox(owner, text.c_str(), title.c_str(),
                                         style | MB_STYLE_ICONERROR, kGenMessageBoxConstant, 0, 0,
                                         0);
}

int ReportGageError(ChannelContext& context, WindowHandle owner, int code, const char* leading,
                    const char* trailing, unsigned style) {
    if (context.commErrorReporting == 0) {
        return code;
    }
    const std::string title = LoadText(context, IDS_GAGE_ERROR_TITLE, kTitleSize);
    std::string message = LoadText(context, GageErrorMessageId(code), kMessageSize);
    if (message.empty()) {
        message = LoadText(context, kUndefinedGageErrorId, kMessageSize);
    }
    std::string text;
    if (HasText(leading)) {
        text += leading;
        text += "\n\n";
    }
    text += message;
    if (HasText(trailing)) {
        text += "\n\n";
        text += trailing;
    }
    ExclamationBeep();
    return context.support.GenMessageBox(owner, text.c_str(), title.c_str(), style,
                                         kGenMessageBoxConstant, 0, 0, 0);
}

}  // namespace gage
