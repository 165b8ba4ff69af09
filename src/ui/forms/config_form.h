#pragma once
// What the Gage Server Configuration dialog decides: the lines of its two lists and their item
// data, the defaults of a new gage, which line is selected after a delete, and what deleting a
// connection or a gage does to the runtime tables.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/connection_record.h"
#include "config/gage_record.h"
#include "reading/read_context.h"

namespace gage {

class Support;

// The tabs; CONFIG_TAB_NONE when the tab control reports no selection (Add, Edit and Delete
// then do nothing).
enum ConfigTab : int { CONFIG_TAB_NONE = -1, CONFIG_TAB_CONNECTIONS = 0, CONFIG_TAB_GAGES = 1 };
inline constexpr int kConfigTabCount = 2;

// The item data of a gage line: the gage's connection index in the high 16 bits, its index in
// the GageTable in the low 16 bits.
struct GageListItemData {
    int connectionIndex = 0;
    int gageIndex = 0;

    std::uint32_t Pack() const;
    static GageListItemData Unpack(std::uint32_t data);
};

// One line of a list: its text and its item data.
struct ListLine {
    std::string text;
    std::uint32_t data = 0;

    bool operator==(const ListLine&) const = default;
};

// Connection line: name, tab, source text; the item data is the row index.
ListLine ConnectionLine(Support& support, const ConnectionTable& connections, int row);
// A line for every named row, in index order.
std::vector<ListLine> ConnectionLines(Support& support, const ConnectionTable& connections);

// Gage line: name, tab, connection name, " (", source text, ")"; item data GageListItemData.
ListLine GageLine(Support& support, const ConnectionTable& connections, const GageTable& gages,
                  int gageIndex);
// A line for every named gage, in table order.
std::vector<ListLine> GageLines(Support& support, const ConnectionTable& connections,
                                const GageTable& gages);

// The first row without a name, where Add puts a new connection; none when all 64 are in use.
std::optional<int> FirstFreeConnectionRow(const ConnectionTable& connections);

// A new gage: gain 1.0, zero 0.0, precision 7, every other field 0 or empty.
GageRecord NewGage();
// Makes room for one more gage before the setup dialog opens, so that adding it after OK cannot
// fail. False (the table unchanged) when memory is short or the index would no longer fit the
// 16 bits its line's item data gives it.
bool PrepareGageRow(GageTable& gages);

// The gage a line's item data names; none when the index lies outside the table.
std::optional<int> GageIndexOfLine(const GageTable& gages, std::uint32_t data);

// The line to select once the line at removed is gone and remaining lines are left: the line
// now at the same position, or the one before it; -1 when the list is empty.
int SelectionAfterRemoval(int removed, int remaining);

// Deleting a gage: the whole record is cleared, which leaves a free row.
void ClearGage(GageTable& gages, int gageIndex);

// Deleting a connection: its channel is closed and the row cleared. Then the gage list is
// walked from its first line (lineData: the item data in list order): every gage on that row
// is cleared, and its line removed while the walk stays on the same position. Returns the
// positions to remove, in that order.
std::vector<int> RemoveConnection(ReadContext& engine, GageTable& gages, int row,
                                  const std::vector<std::uint32_t>& lineData);

}  // namespace gage
