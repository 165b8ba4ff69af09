#include "support/builtin_strings.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "support/fixed_string.h"

namespace gage::builtin {

namespace {

struct TableEntry {
    unsigned id;
    std::string_view text;
};

constexpr TableEntry kTable[] = {
#define GAGE_STRING(name, id, text) {id, text},
#define GAGE_STRING_NUMBERED(id, text) {id, text},
#include "support/string_table.def"
#undef GAGE_STRING_NUMBERED
#undef GAGE_STRING
};

constexpr bool IsStrictlyAscending() {
    for (std::size_t i = 1; i < std::size(kTable); ++i) {
        if (kTable[i - 1].id >= kTable[i].id) {
            return false;
        }
    }
    return true;
}
static_assert(IsStrictlyAscending(), "string_table.def: ids must be unique and in ascending order");
static_assert(kTable[std::size(kTable) - 1].id <= 65535, "string ids are 16-bit");

}  // namespace

std::string_view StripTranslationKey(std::string_view text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        ++digits;
    }
    if (digits > 0 && digits < text.size() && text[digits] == '|') {
        return text.substr(digits + 1);
    }
    return text;
}

std::optional<std::string_view> FindTableString(unsigned id) {
    const auto* end = std::end(kTable);
    const auto* found = std::lower_bound(
        std::begin(kTable), end, id, [](const TableEntry& e, unsigned key) { return e.id < key; });
    if (found == end || found->id != id) {
        return std::nullopt;
    }
    return found->text;
}

int LoadTranslatedString(void* module, unsigned id, char* buffer, int bufferSize) {
    if (buffer == nullptr || bufferSize <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    const std::optional<std::string> raw = LoadRawString(module, id);
    if (!raw) {
        return 0;
    }
    return static_cast<int>(
        CopyTruncated(buffer, static_cast<std::size_t>(bufferSize), StripTranslationKey(*raw)));
}

}  // namespace gage::builtin
