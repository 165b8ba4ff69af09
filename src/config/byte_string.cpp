#include "config/byte_string.h"

#include "config/c_number_text.h"

namespace gage {

std::uint16_t EncodeByteString(std::string_view text, ByteString& destination) {
    destination.fill(0);
    text = text.substr(0, text.find('\0'));
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < text.size() && count < destination.size()) {
        if (text[i] != '<') {
            destination[count++] = static_cast<std::uint8_t>(text[i]);
            ++i;
            continue;
        }
        // At least one character must lie between the brackets.
        const std::size_t close =
            i + 2 < text.size() ? text.find('>', i + 2) : std::string_view::npos;
        if (close == std::string_view::npos) {
            ++i;  // the "<" alone is dropped
            continue;
        }
        destination[count++] = static_cast<std::uint8_t>(ReadCInteger(text.substr(i + 1)) & 0xFF);
        i = close + 1;
    }
    return static_cast<std::uint16_t>(count);
}

}  // namespace gage

namespace gage {

std::string_view ByteStringText(const ByteString& field) {
    const auto* chars = reinterpret_cast<const char*>(field.data());
    std::size_t length = 0;
    while (length + 1 < field.size() && chars[length] != '\0') {
        ++length;
    }
    return {chars, length};
}

void SetByteStringText(ByteString& field, std::string_view text) {
    field.fill(0);
    text = text.substr(0, text.find('\0')).substr(0, field.size() - 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        field[i] = static_cast<std::uint8_t>(text[i]);
    }
}

}  // namespace gage
