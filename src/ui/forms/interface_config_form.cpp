#include "ui/forms/interface_config_form.h"

#include <algorithm>

#include "config/interface_type_file.h"
#include "config/profile.h"
#include "ui/forms/gage_setup_form.h"

namespace gage {

namespace {

std::string NumberPrefix(int number) {
    return std::to_string(number) + ".\t";
}

bool IsRow(const std::vector<std::string>& rows, int position) {
    return position >= 0 && static_cast<std::size_t>(position) < rows.size();
}

std::string Renumbered(std::string_view row, int number) {
    const std::size_t tab = row.find('\t');
    return NumberPrefix(number) +
           std::string(tab == std::string_view::npos ? std::string_view() : row.substr(tab + 1));
}

}  // namespace

std::string EmptyInitRow(int number) {
    return NumberPrefix(number) + "\t";
}

std::string InitRow(int number, std::uint32_t delay, std::string_view text) {
    return NumberPrefix(number) + std::to_string(delay) + "\t" + std::string(text);
}

InitRowParts SplitInitRow(std::string_view row) {
    InitRowParts parts;
    const std::size_t first = row.find('\t');
    parts.number = std::string(row.substr(0, first));
    if (first == std::string_view::npos) {
        return parts;
    }
    const std::string_view rest = row.substr(first + 1);
    const std::size_t second = rest.find('\t');
    parts.delay = std::string(rest.substr(0, second));
    if (second != std::string_view::npos) {
        parts.text = std::string(rest.substr(second + 1));
    }
    return parts;
}

std::vector<std::string> NewInitRows() {
    std::vector<std::string> rows;
    for (int number = 1; number <= kInitRowCount; ++number) {
        rows.push_back(EmptyInitRow(number));
    }
    return rows;
}

LoadedInterfaceType LoadInterfaceType(const std::string& definitionsPath, int type) {
    LoadedInterfaceType loaded;
    loaded.description =
        ReadInterfaceTypeDescription(definitionsPath, type).substr(0, kInitEditRoom);
    if (loaded.description.empty()) {
        return loaded;
    }
    const std::string section = InterfaceTypeSection(type);
    for (int number = 1; number <= kInitRowCount; ++number) {
        std::string value =
            profile::GetString(definitionsPath, section, "INIT" + std::to_string(number));
        if (const std::size_t comma = value.find(','); comma != std::string::npos) {
            value[comma] = '\t';
        }
        loaded.rows.push_back(NumberPrefix(number) + value);
    }
    return loaded;
}

void CommitInitRow(std::vector<std::string>& rows, int position, std::string_view delayText,
                   std::string_view text) {
    if (!IsRow(rows, position)) {
        return;
    }
    rows[static_cast<std::size_t>(position)] =
        InitRow(position + 1, UnsignedEntry(delayText), text.substr(0, kInitEditRoom));
}

int MoveInitRow(std::vector<std::string>& rows, int position, int step) {
    const int target = position + step;
    if (!IsRow(rows, position) || !IsRow(rows, target)) {
        return position;
    }
    auto& moved = rows[static_cast<std::size_t>(position)];
    auto& neighbour = rows[static_cast<std::size_t>(target)];
    std::swap(moved, neighbour);
    moved = Renumbered(moved, position + 1);
    neighbour = Renumbered(neighbour, target + 1);
    return target;
}

void ClearInitRow(std::vector<std::string>& rows, int position) {
    if (IsRow(rows, position)) {
        rows[static_cast<std::size_t>(position)] = EmptyInitRow(position + 1);
    }
}

int SaveInterfaceType(const std::string& definitionsPath, int type, std::string_view description,
                      const std::vector<std::string>& rows) {
    if (type == kNewInterfaceType) {
        type = LowestUnusedInterfaceTypeNumber(definitionsPath);
    }
    std::vector<InitString> strings;
    for (const std::string& row : rows) {
        InitRowParts parts = SplitInitRow(row);
        strings.push_back({static_cast<int>(UnsignedEntry(parts.delay)), std::move(parts.text)});
    }
    const bool written =
        WriteInterfaceType(definitionsPath, type, description.substr(0, kInitEditRoom), strings);
    return written ? type : 0;
}

}  // namespace gage
