// The profile functions: lookups through the cache, every change as one atomic file replacement.

#include "config/profile.h"

#include <functional>
#include <utility>
#include <vector>

#include "config/profile_document.h"
#include "config/profile_store.h"
#include "config/profile_values.h"

namespace gage::profile {

namespace {

using detail::ProfileDocument;
using Change = std::function<bool(ProfileDocument&)>;

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Names that would not read back as written, or would break the file's lines, are refused.
bool IsWritableSection(std::string_view section) {
    return !detail::TrimProfileSpace(section).empty() && !HasLineBreakOrNul(section);
}

bool IsWritableKey(std::string_view key) {
    const std::string_view trimmed = detail::TrimProfileSpace(key);
    return !trimmed.empty() && !HasLineBreakOrNul(key) &&
           trimmed.find('=') == std::string_view::npos && trimmed.front() != ';' &&
           trimmed.front() != '[';
}

bool IsWritableValue(std::string_view value) {
    return !HasLineBreakOrNul(value);
}

// The text a reader gets before it is cut to the buffer; it stays valid while document lives.
std::string_view Lookup(const ProfileDocument& document, std::string_view section,
                        std::string_view key, std::string_view defaultValue) {
    if (detail::TrimProfileSpace(key).empty()) {
        return detail::VisibleDefault(defaultValue);
    }
    const detail::ProfileLine* line = document.Find(section, key);
    if (line == nullptr || !line->hasValue) {
        return detail::VisibleDefault(defaultValue);
    }
    return detail::VisibleValue(line->value);
}

}  // namespace

std::size_t GetString(const std::string& path, std::string_view section, std::string_view key,
                      std::string_view defaultValue, char* buffer, std::size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) {
        return 0;
    }
    const auto document = CurrentStore().Current(path);
    return detail::CopyToBuffer(Lookup(*document, section, key, defaultValue), buffer, bufferSize);
}

std::string GetString(const std::string& path, std::string_view section, std::string_view key,
                      std::string_view defaultValue, std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    const auto document = CurrentStore().Current(path);
    return std::string(Lookup(*document, section, key, defaultValue).substr(0, bufferSize - 1));
}

int GetInt(const std::string& path, std::string_view section, std::string_view key,
           int defaultValue) {
    const std::string text = GetString(path, section, key, {}, detail::kIntegerBufferSize);
    // A missing key and an empty value both give the default.
    return text.empty() ? defaultValue : detail::ParseProfileInt(text);
}

bool WriteString(const std::string& path, std::string_view section, std::string_view key,
                 std::string_view value) {
    if (path.empty() || !IsWritableSection(section) || !IsWritableKey(key) ||
        !IsWritableValue(value)) {
        return false;
    }
    return CurrentStore().Edit(
        path, [&](ProfileDocument& document) { return document.Set(section, key, value); }, false);
}

bool DeleteKey(const std::string& path, std::string_view section, std::string_view key) {
    if (path.empty()) {
        return false;
    }
    return CurrentStore().Edit(
        path, [&](ProfileDocument& document) { return document.RemoveKey(section, key); }, false);
}

bool DeleteSection(const std::string& path, std::string_view section) {
    if (path.empty()) {
        return false;
    }
    return CurrentStore().Edit(
        path, [&](ProfileDocument& document) { return document.RemoveSection(section); }, false);
}

struct Batch::State {
    std::vector<Change> changes;
    bool refused = false;
};

Batch::Batch(std::string path) : path_(std::move(path)), state_(std::make_unique<State>()) {}

Batch::~Batch() = default;

void Batch::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsWritableSection(section) || !IsWritableKey(key) || !IsWritableValue(value)) {
        state_->refused = true;
        return;
    }
    state_->changes.emplace_back([section = std::string(section), key = std::string(key),
                                  value = std::string(value)](ProfileDocument& document) {
        return document.Set(section, key, value);
    });
}

void Batch::DeleteKey(std::string_view section, std::string_view key) {
    state_->changes.emplace_back(
        [section = std::string(section), key = std::string(key)](ProfileDocument& document) {
            return document.RemoveKey(section, key);
        });
}

void Batch::DeleteSection(std::string_view section) {
    state_->changes.emplace_back([section = std::string(section)](ProfileDocument& document) {
        return document.RemoveSection(section);
    });
}

bool Batch::Commit(bool keepBackup) {
    const bool refused = std::exchange(state_->refused, false);
    const std::vector<Change> changes = std::exchange(state_->changes, {});
    if (path_.empty()) {
        return false;
    }
    const bool written = CurrentStore().Edit(
        path_,
        [&changes](ProfileDocument& document) {
            bool changed = false;
            for (const Change& change : changes) {
                changed = change(document) || changed;
            }
            return changed;
        },
        keepBackup);
    return written && !refused;
}

}  // namespace gage::profile
