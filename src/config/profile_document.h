#pragma once
// The parsed form of one profile (INI) file. It keeps every line of the file, so that writing one
// key leaves comments, blank lines and unrelated sections as they were, and it indexes sections
// and keys by their lower-case names, so that a lookup costs one hash probe however large the
// file is.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace gage::profile::detail {

// Blanks as the profile reader counts them: tab to carriage return, space and the DOS end-of-file
// mark (^Z).
bool IsProfileSpace(char c);
std::string_view TrimProfileSpace(std::string_view text);
std::string LowerAscii(std::string_view text);

struct ProfileLine {
    std::string text;       // the line as read, without its line ending
    std::string key;        // key lines: the name as written, trimmed
    std::string value;      // key lines with '=': the value, trimmed
    bool isKey = false;     // a line that is neither blank, nor a comment, nor a header
    bool hasValue = false;  // the key line has an '=' (a key without one reads as missing)
    bool removed = false;
};

struct ProfileSection {
    std::string header;  // the header line as read or written
    std::string name;    // trimmed name between the brackets
    std::vector<ProfileLine> lines;
    std::unordered_map<std::string, std::size_t> keys;  // lower-case name -> first key line
    bool removed = false;
};

class ProfileDocument {
  public:
    // Never fails: any bytes make some document (garbage lines become keys or are skipped).
    static ProfileDocument Parse(std::string_view bytes);

    // The first key of that name in the first section of that name, or null. Names are compared
    // without regard to case and with surrounding blanks ignored.
    const ProfileLine* Find(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;

    // Each returns whether the document changed.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    bool RemoveKey(std::string_view section, std::string_view key);
    bool RemoveSection(std::string_view section);

    std::string Serialize() const;

    // Every section in file order; the first holds the lines before the first header.
    const std::vector<ProfileSection>& Sections() const { return sections_; }

  private:
    ProfileSection* FirstSection(std::string_view lowerName);
    const ProfileSection* FirstSection(std::string_view lowerName) const;
    ProfileSection& AddSection(std::string_view name);
    void IndexSection(std::size_t index);

    std::string byteOrderMark_;
    std::string newline_ = "\r\n";
    // sections_[0] holds the lines before the first header; no name reaches it.
    std::vector<ProfileSection> sections_{1};
    std::unordered_map<std::string, std::vector<std::size_t>> index_;  // lower-case name
};

}  // namespace gage::profile::detail
