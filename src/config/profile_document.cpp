// Lookups and edits of a parsed profile file, and writing it back out.

#include <algorithm>
#include <string>

#include "config/profile_document.h"

namespace gage::profile::detail {

namespace {

std::string KeyLineText(std::string_view key, std::string_view value) {
    std::string text;
    text.reserve(key.size() + 1 + value.size());
    text.append(key).append("=").append(value);
    return text;
}

bool IsBlank(const ProfileLine& line) {
    return TrimProfileSpace(line.text).empty();
}

}  // namespace

void ProfileDocument::IndexSection(std::size_t index) {
    index_[LowerAscii(sections_[index].name)].push_back(index);
}

ProfileSection* ProfileDocument::FirstSection(std::string_view lowerName) {
    const auto found = index_.find(std::string(lowerName));
    return found == index_.end() ? nullptr : &sections_[found->second.front()];
}

const ProfileSection* ProfileDocument::FirstSection(std::string_view lowerName) const {
    const auto found = index_.find(std::string(lowerName));
    return found == index_.end() ? nullptr : &sections_[found->second.front()];
}

ProfileSection& ProfileDocument::AddSection(std::string_view name) {
    ProfileSection section;
    section.name = std::string(name);
    section.header = "[" + section.name + "]";
    sections_.push_back(std::move(section));
    IndexSection(sections_.size() - 1);
    return sections_.back();
}

const ProfileLine* ProfileDocument::Find(std::string_view section, std::string_view key) const {
    const ProfileSection* found = FirstSection(LowerAscii(TrimProfileSpace(section)));
    if (found == nullptr) {
        return nullptr;
    }
    const auto line = found->keys.find(LowerAscii(TrimProfileSpace(key)));
    return line == found->keys.end() ? nullptr : &found->lines[line->second];
}

bool ProfileDocument::HasSection(std::string_view section) const {
    return FirstSection(LowerAscii(TrimProfileSpace(section))) != nullptr;
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sectionName = TrimProfileSpace(section);
    const std::string_view keyName = TrimProfileSpace(key);
    // Leading blanks would not survive a read; they are not written.
    while (!value.empty() && IsProfileSpace(value.front())) {
        value.remove_prefix(1);
    }
    ProfileSection* target = FirstSection(LowerAscii(sectionName));
    if (target == nullptr) {
        target = &AddSection(sectionName);
    }
    const std::string lowerKey = LowerAscii(keyName);
    const auto existing = target->keys.find(lowerKey);
    if (existing != target->keys.end()) {
        ProfileLine& line = target->lines[existing->second];
        if (line.hasValue && line.value == value) {
            return false;
        }
        line.value = std::string(value);
        line.hasValue = true;
        line.text = KeyLineText(line.key, line.value);  // the name keeps its spelling
        return true;
    }
    // A new key goes after the section's last line with content, ahead of the blank lines that
    // separate it from the next section. Only blank or removed lines move, and none is indexed.
    const auto lastContent =
        std::find_if(target->lines.rbegin(), target->lines.rend(),
                     [](const ProfileLine& line) { return !line.removed && !IsBlank(line); });
    const auto position = lastContent.base();
    ProfileLine line;
    line.key = std::string(keyName);
    line.value = std::string(value);
    line.text = KeyLineText(line.key, line.value);
    line.isKey = true;
    line.hasValue = true;
    const auto inserted = target->lines.insert(position, std::move(line));
    target->keys.emplace(lowerKey, static_cast<std::size_t>(inserted - target->lines.begin()));
    return true;
}

bool ProfileDocument::RemoveKey(std::string_view section, std::string_view key) {
    ProfileSection* target = FirstSection(LowerAscii(TrimProfileSpace(section)));
    if (target == nullptr) {
        return false;
    }
    const std::string lowerKey = LowerAscii(TrimProfileSpace(key));
    if (target->keys.erase(lowerKey) == 0) {
        return false;
    }
    // Hidden duplicates go too, so that a deleted key does not come back with an older value.
    for (ProfileLine& line : target->lines) {
        if (line.isKey && !line.removed && LowerAscii(line.key) == lowerKey) {
            line.removed = true;
        }
    }
    return true;
}

bool ProfileDocument::RemoveSection(std::string_view section) {
    const auto found = index_.find(LowerAscii(TrimProfileSpace(section)));
    if (found == index_.end()) {
        return false;
    }
    // Every section of that name goes, so that none of its stale keys survives a rewrite.
    for (const std::size_t index : found->second) {
        sections_[index].removed = true;
        sections_[index].lines.clear();
        sections_[index].keys.clear();
    }
    index_.erase(found);
    return true;
}

std::string ProfileDocument::Serialize() const {
    std::size_t size = byteOrderMark_.size();
    for (const ProfileSection& section : sections_) {
        size += section.header.size() + newline_.size();
        for (const ProfileLine& line : section.lines) {
            size += line.text.size() + newline_.size();
        }
    }
    std::string out;
    out.reserve(size);
    out += byteOrderMark_;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const ProfileSection& section = sections_[i];
        if (section.removed) {
            continue;
        }
        if (i > 0) {
            out.append(section.header).append(newline_);
        }
        for (const ProfileLine& line : section.lines) {
            if (!line.removed) {
                out.append(line.text).append(newline_);
            }
        }
    }
    return out;
}

}  // namespace gage::profile::detail
