#pragma once
// What the Interface Configuration dialog decides: the 20 rows of initialisation strings as the
// list shows them ("N.<tab>delay<tab>string"), loading them from BRW_GAGE.DEF, moving, clearing
// and committing rows, and what OK writes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gage {

inline constexpr int kNewInterfaceType = 65535;  // a new type has no number until OK
inline constexpr int kInitRowCount = 20;
inline constexpr std::size_t kInitEditRoom = 127;  // description and string edits

std::string EmptyInitRow(int number);
std::string InitRow(int number, std::uint32_t delay, std::string_view text);

struct InitRowParts {
    std::string number;
    std::string delay;
    std::string text;  // everything after the second tab
};
InitRowParts SplitInitRow(std::string_view row);

// The rows of a new type: 20 empty ones.
std::vector<std::string> NewInitRows();

struct LoadedInterfaceType {
    std::string description;
    std::vector<std::string> rows;  // empty when the type has no description
};
// An existing type: its description and its INIT1 to INIT20, each first comma shown as a tab.
LoadedInterfaceType LoadInterfaceType(const std::string& definitionsPath, int type);

// The row at position rewritten from the delay and string edits (0 for no number; the string
// cut to 127 characters), keeping its number.
void CommitInitRow(std::vector<std::string>& rows, int position, std::string_view delayText,
                   std::string_view text);
// Up (position above 0) and Down (position below the last) swap the row with its neighbour and
// renumber both; the position the moved row now has, or position when nothing moved.
int MoveInitRow(std::vector<std::string>& rows, int position, int step);
void ClearInitRow(std::vector<std::string>& rows, int position);

// OK: for a new type the lowest number without a description; the section rewritten with the
// description and the rows that have a string, keyed without gaps. The number saved, or 0 when
// the file could not be written.
int SaveInterfaceType(const std::string& definitionsPath, int type, std::string_view description,
                      const std::vector<std::string>& rows);

}  // namespace gage
