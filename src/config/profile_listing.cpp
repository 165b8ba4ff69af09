#include "config/profile_listing.h"

#include "config/profile_document.h"

namespace gage::profile {

namespace {

ListedKey KeyOf(const detail::ProfileLine& line, int lineNumber) {
    ListedKey key;
    key.name = line.key;
    key.value = line.value;
    key.hasValue = line.hasValue;
    key.line = lineNumber;
    return key;
}

}  // namespace

ProfileListing ListProfile(std::string_view bytes) {
    // The reader's own parse, so that the listing cannot take a line apart differently.
    const detail::ProfileDocument document = detail::ProfileDocument::Parse(bytes);
    ProfileListing listing;
    int lineNumber = 0;
    bool beforeFirstHeader = true;
    for (const detail::ProfileSection& section : document.Sections()) {
        std::vector<ListedKey>* keys = &listing.keysBeforeFirstSection;
        if (!beforeFirstHeader) {
            ListedSection listed;
            listed.name = section.name;
            listed.line = ++lineNumber;
            listing.sections.push_back(std::move(listed));
            keys = &listing.sections.back().keys;
        }
        beforeFirstHeader = false;
        for (const detail::ProfileLine& line : section.lines) {
            ++lineNumber;
            if (line.isKey) {
                keys->push_back(KeyOf(line, lineNumber));
            }
        }
    }
    return listing;
}

}  // namespace gage::profile
