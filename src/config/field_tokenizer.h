#pragma once
// Splits the comma-separated values of the configuration files into fields. A field that begins
// with a double quote runs to the next double quote and may hold separators; characters between
// that closing quote and the next separator are dropped.
//
// Each scan is its own object, so scans never interfere and the text is never written to; the
// text must outlive the scanner and the fields it returns.

#include <optional>
#include <string_view>

namespace gage {

class FieldScanner {
  public:
    // No scan under way: NextField gives nothing.
    FieldScanner() = default;
    // Starts a scan of text, which ends at its first zero character, if any.
    explicit FieldScanner(std::string_view text) { Start(text); }

    void Start(std::string_view text);

    // The next field, up to the first character of delimiters (an empty delimiters string: up to
    // the end of the text), or nothing when the text is used up. An empty field between two
    // separators is an empty view, not nothing; a separator at the very end ends the last field.
    std::optional<std::string_view> NextField(std::string_view delimiters);
    std::optional<std::string_view> NextField(char separator) {
        return NextField(std::string_view(&separator, 1));
    }
    // The rest of the text as one field (a leading quoted part without its quotes).
    std::optional<std::string_view> RestField() { return NextField(std::string_view()); }

  private:
    std::string_view text_;
    std::size_t position_ = 0;
    bool started_ = false;
};

// Removes every space and double-quote character at the beginning and at the end of text;
// characters inside are left alone.
std::string_view TrimField(std::string_view text);

// A gage or connection name field of the configuration file: taken only when the raw field is
// shorter than 32 characters (so that it fits a name whole), then trimmed; otherwise empty.
std::string_view NameFromField(std::string_view raw);

}  // namespace gage
