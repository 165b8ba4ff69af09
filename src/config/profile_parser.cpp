// Turns the bytes of a profile file into a ProfileDocument in one pass. Lines end at CR LF, LF or
// a lone CR; a UTF-8 byte order mark is kept aside; nothing in the input can make parsing fail or
// take more than linear time.

#include <string_view>

#include "config/profile_document.h"

namespace gage::profile::detail {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsProfileSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsProfileSpace(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

// Splits off the next line; sets newline to the ending found (empty at the end of the input).
std::string_view NextLine(std::string_view& rest, std::string_view& newline) {
    std::size_t end = 0;
    while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r') {
        ++end;
    }
    const std::string_view line = rest.substr(0, end);
    std::size_t endingLength = 0;
    if (end < rest.size()) {
        endingLength =
            (rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n') ? 2 : 1;
    }
    newline = rest.substr(end, endingLength);
    rest.remove_prefix(end + endingLength);
    return line;
}

ProfileLine ParseBodyLine(std::string_view raw) {
    ProfileLine line;
    line.text = std::string(raw);
    const std::string_view trimmed = TrimProfileSpace(raw);
    if (trimmed.empty() || trimmed.front() == ';') {
        return line;  // blank line or comment
    }
    line.isKey = true;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        line.key = std::string(trimmed);
        return line;
    }
    line.key = std::string(TrimRight(trimmed.substr(0, equals)));
    line.value = std::string(TrimLeft(trimmed.substr(equals + 1)));
    line.hasValue = true;
    return line;
}

}  // namespace

bool IsProfileSpace(char c) {
    return (c >= '\t' && c <= '\r') || c == ' ' || c == '\x1a';
}

std::string_view TrimProfileSpace(std::string_view text) {
    return TrimLeft(TrimRight(text));
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
    ProfileDocument document;
    if (bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
        document.byteOrderMark_ = std::string(kUtf8ByteOrderMark);
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    bool newlineKnown = false;
    std::string_view rest = bytes;
    while (!rest.empty()) {
        std::string_view newline;
        const std::string_view raw = NextLine(rest, newline);
        if (!newlineKnown && !newline.empty()) {
            document.newline_ = std::string(newline);  // later lines are written the same way
            newlineKnown = true;
        }
        const std::string_view trimmed = TrimProfileSpace(raw);
        // A header runs from '[' to the last ']' of the line; without one it is an ordinary line.
        const std::size_t close = trimmed.empty() ? 0 : trimmed.rfind(']');
        if (!trimmed.empty() && trimmed.front() == '[' && close != std::string_view::npos &&
            close > 0) {
            ProfileSection section;
            section.header = std::string(raw);
            section.name = std::string(TrimProfileSpace(trimmed.substr(1, close - 1)));
            document.sections_.push_back(std::move(section));
            document.IndexSection(document.sections_.size() - 1);
            continue;
        }
        ProfileSection& current = document.sections_.back();
        current.lines.push_back(ParseBodyLine(raw));
        const ProfileLine& line = current.lines.back();
        if (line.isKey && document.sections_.size() > 1) {
            // The first key of a name wins; later duplicates stay in the file but are not seen.
            current.keys.emplace(LowerAscii(line.key), current.lines.size() - 1);
        }
    }
    return document;
}

}  // namespace gage::profile::detail
