#include "config/field_tokenizer.h"

namespace gage {

void FieldScanner::Start(std::string_view text) {
    text_ = text.substr(0, text.find('\0'));
    position_ = 0;
    started_ = true;
}

std::optional<std::string_view> FieldScanner::NextField(std::string_view delimiters) {
    if (!started_ || position_ >= text_.size()) {
        return std::nullopt;
    }
    std::size_t fieldStart = position_;
    std::size_t fieldEnd = std::string_view::npos;
    if (text_[position_] == '"') {
        fieldStart = position_ + 1;
        const std::size_t closingQuote = text_.find('"', fieldStart);
        if (closingQuote == std::string_view::npos) {
            // Without its closing quote the field runs to the end of the text.
            position_ = text_.size();
            return text_.substr(fieldStart);
        }
        fieldEnd = closingQuote;
        position_ = closingQuote + 1;
        if (position_ >= text_.size()) {
            return text_.substr(fieldStart, fieldEnd - fieldStart);
        }
    }
    const std::size_t separator =
        delimiters.empty() ? std::string_view::npos : text_.find(delimiters.front(), position_);
    const std::size_t stop = separator == std::string_view::npos ? text_.size() : separator;
    if (fieldEnd == std::string_view::npos) {
        fieldEnd = stop;
    }
    position_ = separator == std::string_view::npos ? text_.size() : separator + 1;
    return text_.substr(fieldStart, fieldEnd - fieldStart);
}

std::string_view TrimField(std::string_view text) {
    const auto isTrimmed = [](char c) { return c == ' ' || c == '"'; };
    while (!text.empty() && isTrimmed(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isTrimmed(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view NameFromField(std::string_view raw) {
    constexpr std::size_t kNameFieldLimit = 32;
    return raw.size() < kNameFieldLimit ? TrimField(raw) : std::string_view();
}

}  // namespace gage
