#include "ui/forms/ascii_picker_form.h"

#include <array>

#include "support/string_ids.h"
#include "support/support.h"

namespace gage {

std::vector<std::string> AsciiPickerRows(Support& support) {
    const std::string undefined = support.LoadString(IDS_UNDEFINED_PORT);
    std::vector<std::string> rows;
    rows.reserve(kByteValueCount);
    for (int value = 0; value < kByteValueCount; ++value) {
        std::array<char, kByteNameRoom + 1> name{};
        const int length = support.LangLoadString(
            support.Module(), IDS_BYTE_NAME_FIRST + static_cast<unsigned>(value), name.data(),
            static_cast<int>(name.size()));
        rows.push_back("<" + std::to_string(value) + ">\t" +
                       (length > 0 ? std::string(name.data()) : undefined));
    }
    return rows;
}

std::string RowToken(std::string_view row) {
    return std::string(row.substr(0, row.find('\t')));
}

std::string PickerStartLine(std::string_view target) {
    return std::string(target.substr(0, kPickerLineRoom));
}

std::optional<std::string> PickerResult(std::string_view working) {
    if (working.empty()) {
        return std::nullopt;
    }
    return std::string(working);
}

}  // namespace gage
