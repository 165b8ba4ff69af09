#pragma once
// Every section and key of a profile (INI) file in file order, with line numbers, for tools that
// explain a file rather than read values from it. Lines are taken apart by the same rules as the
// profile reader's: a header runs from '[' to the last ']' of its line, a key line is any other
// line that is neither blank nor a ';' comment, and the key ends at its first '='.

#include <string>
#include <string_view>
#include <vector>

namespace gage::profile {

struct ListedKey {
    std::string name;       // as written, trimmed
    std::string value;      // trimmed; empty without '='
    bool hasValue = false;  // false: no '=' on the line, so the key reads as missing
    int line = 0;           // from 1
};

struct ListedSection {
    std::string name;  // between the brackets, trimmed
    int line = 0;
    std::vector<ListedKey> keys;
};

struct ProfileListing {
    std::vector<ListedKey> keysBeforeFirstSection;  // no lookup ever reaches these
    std::vector<ListedSection> sections;
};

ProfileListing ListProfile(std::string_view bytes);

}  // namespace gage::profile
