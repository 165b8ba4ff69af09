#pragma once
// Zero-terminated text in a fixed-size field, as the configuration records and the host ABI
// require. Assignment cuts the text to fit (size - 1 characters) and never overflows.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace gage {

// ASCII case-insensitive equality, the comparison used for every gage, connection, format and
// interface-type name.
inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// Copies text into a buffer of capacity bytes, cut to capacity - 1 and zero-terminated.
// Returns the number of characters copied.
inline std::size_t CopyTruncated(char* buffer, std::size_t capacity, std::string_view text) {
    if (buffer == nullptr || capacity == 0) {
        return 0;
    }
    const std::size_t n = std::min(text.size(), capacity - 1);
    if (n > 0) {
        std::memcpy(buffer, text.data(), n);
    }
    buffer[n] = '\0';
    return n;
}

template <std::size_t N>
class FixedString {
    static_assert(N >= 1);

  public:
    FixedString() { chars_.fill('\0'); }
    FixedString(std::string_view text) { assign(text); }  // NOLINT: implicit by design

    FixedString& operator=(std::string_view text) {
        assign(text);
        return *this;
    }

    void assign(std::string_view text) {
        chars_.fill('\0');
        CopyTruncated(chars_.data(), N, text);
    }
    void clear() { chars_.fill('\0'); }

    static constexpr std::size_t capacity() { return N; }
    static constexpr std::size_t max_length() { return N - 1; }

    const char* c_str() const { return chars_.data(); }
    char* data() { return chars_.data(); }
    const char* data() const { return chars_.data(); }
    std::size_t size() const { return ::strnlen(chars_.data(), N); }
    bool empty() const { return chars_[0] == '\0'; }
    std::string_view view() const { return {chars_.data(), size()}; }
    std::string str() const { return std::string(view()); }
    operator std::string_view() const { return view(); }  // NOLINT

    bool EqualsIgnoreCase(std::string_view other) const {
        return gage::EqualsIgnoreCase(view(), other);
    }
    friend bool operator==(const FixedString& a, const FixedString& b) {
        return a.view() == b.view();
    }
    friend bool operator==(const FixedString& a, std::string_view b) { return a.view() == b; }

  private:
    std::array<char, N> chars_{};
};

}  // namespace gage
