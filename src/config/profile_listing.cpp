#include "config/profile_listing.h"

#include "config/profile_document.h"

namespace gage::profile {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The next line and what follows it; lines end at CR LF, LF or a lone CR.
std::string_view NextLine(std::string_view& rest) {
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
    rest.remove_prefix(end + endingLength);
    return line;
}

ListedKey KeyOf(std::string_view trimmed, int lineNumber) {
    ListedKey key;
    key.line = lineNumber;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        key.name = std::string(trimmed);
        return key;
    }
    key.name = std::string(detail::TrimProfileSpace(trimmed.substr(0, equals)));
    key.value = std::string(detail::TrimProfileSpace(trimmed.substr(equals + 1)));
    key.hasValue = true;
    return key;
}

}  // namespace

ProfileListing ListProfile(std::string_view bytes) {
    ProfileListing listing;
    if (bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    int lineNumber = 0;
    while (!bytes.empty()) {
        const std::string_view trimmed = detail::TrimProfileSpace(NextLine(bytes));
        ++lineNumber;
        if (trimmed.empty() || trimmed.front() == ';') {
            continue;
        }
        const std::size_t close = trimmed.rfind(']');
        if (trimmed.front() == '[' && close != std::string_view::npos && close > 0) {
            ListedSection section;
            section.name = std::string(detail::TrimProfileSpace(trimmed.substr(1, close - 1)));
            section.line = lineNumber;
            listing.sections.push_back(std::move(section));
            continue;
        }
        auto& keys = listing.sections.empty() ? listing.keysBeforeFirstSection
                                              : listing.sections.back().keys;
        keys.push_back(KeyOf(trimmed, lineNumber));
    }
    return listing;
}

}  // namespace gage::profile
