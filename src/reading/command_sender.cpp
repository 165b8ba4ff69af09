#include "reading/command_sender.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "channels/channel.h"
#include "config/c_number_text.h"

namespace gage {

namespace {

// The character at index, or the terminator a C string would show past its end.
char CharAt(std::string_view text, std::size_t index) {
    return index < text.size() ? text[index] : '\0';
}

int WriteBytes(ReadContext& context, WindowHandle owner, ConnectionRecord& record,
               const void* bytes, std::size_t length) {
    if (length == 0) {
        return 0;
    }
    ChannelWrite(context.channels, owner, record, static_cast<const std::uint8_t*>(bytes),
                 static_cast<int>(length));
    return static_cast<int>(length);
}

int WriteByte(ReadContext& context, WindowHandle owner, ConnectionRecord& record,
              std::uint8_t byte) {
    return WriteBytes(context, owner, record, &byte, 1);
}

// One <token>: returns the bytes handed over.
int SendAngleToken(ReadContext& context, WindowHandle owner, const GageRecord* gage,
                   ConnectionRecord& record, std::string_view token) {
    if (token.starts_with("PAUSE")) {
        ChannelSignal(context.channels, record, SIGNAL_PAUSE);
        return 0;
    }
    if (token.starts_with("START")) {
        ChannelSignal(context.channels, record, SIGNAL_START);
        return 0;
    }
    const char first = CharAt(token, 0);
    if (first == 'd' || first == 's') {
        const int digit = static_cast<unsigned char>(CharAt(token, 1)) - '0';
        DelayMilliseconds(context, digit * (first == 'd' ? 100 : 1000));
        return 0;
    }
    if (token.starts_with("ID")) {
        return gage ? WriteByte(context, owner, record, static_cast<std::uint8_t>(gage->GageId))
                    : 0;
    }
    if (token.starts_with("CH") || token.starts_with("ch")) {
        return gage ? WriteByte(context, owner, record,
                                static_cast<std::uint8_t>(gage->ChannelNumber))
                    : 0;
    }
    // Read like atoi; the byte is its low 8 bits.
    return WriteByte(context, owner, record, static_cast<std::uint8_t>(ReadCInteger(token)));
}

// One [token]: returns the bytes handed over.
int SendSquareToken(ReadContext& context, WindowHandle owner, const GageRecord* gage,
                    ConnectionRecord& record, std::string_view token, std::string_view whole) {
    const std::string_view head = token.substr(0, 2);
    char number[16];
    if (head == "SN") {
        return gage ? WriteBytes(context, owner, record, gage->SerialNumber.data(),
                                 gage->SerialNumber.size())
                    : 0;
    }
    if (head == "ID" || head == "CH" || head == "ch") {
        if (!gage) {
            return 0;
        }
        const int written = head == "ID" ? std::snprintf(number, sizeof number, "%i", gage->GageId)
                            : head == "CH"
                                ? std::snprintf(number, sizeof number, "%02i", gage->ChannelNumber)
                                : std::snprintf(number, sizeof number, "%i", gage->ChannelNumber);
        return written > 0
                   ? WriteBytes(context, owner, record, number, static_cast<std::size_t>(written))
                   : 0;
    }
    return WriteBytes(context, owner, record, whole.data(), whole.size());
}

}  // namespace

int SendGageCommand(ReadContext& context, WindowHandle owner, const GageRecord* gage,
                    ConnectionRecord& record, std::string_view text) {
    // A command text ends at its terminator, as it does in its fixed field.
    text = text.substr(0, text.find('\0'));
    int count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '<' && c != '[') {
            count += WriteByte(context, owner, record, static_cast<std::uint8_t>(c));
            ++i;
            continue;
        }
        // The closing bracket is looked for from the second character after the opening one,
        // so a token has at least one character.
        const char closing = c == '<' ? '>' : ']';
        if (i + 2 > text.size()) {
            break;
        }
        const std::size_t close = text.find(closing, i + 2);
        if (close == std::string_view::npos) {
            break;
        }
        const std::string_view token = text.substr(i + 1, close - i - 1);
        count += c == '<' ? SendAngleToken(context, owner, gage, record, token)
                          : SendSquareToken(context, owner, gage, record, token,
                                            text.substr(i, close - i + 1));
        i = close + 1;
    }
    return count;
}

int DelayMilliseconds(ReadContext& context, int milliseconds) {
    EngineClock& clock = context.clock;
    const std::uint32_t start = clock.Now();
    for (;;) {
        const std::uint32_t elapsed = TicksElapsed(start, clock.Now());
        if (milliseconds <= 0 || elapsed >= static_cast<std::uint32_t>(milliseconds)) {
            return static_cast<int>(elapsed);
        }
        clock.Sleep(static_cast<std::uint32_t>(milliseconds) - elapsed);
    }
}

}  // namespace gage
