#pragma once
// What the Gage Bar Columns display decides: which of its 20 rows show a gage, which rows a
// timer tick polls, and what a read puts in a row. Rows are bound to positions of the gage table.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "config/gage_record.h"
#include "reading/reading_result.h"
#include "support/window_handle.h"
#include "ui/forms/gage_setup_form.h"
#include "ui/forms/ui_context.h"

namespace gage {

inline constexpr int kBarRowCount = 20;

// Row row shows a gage: it lies below both the gage count and 20 and its record is named.
bool IsBarRowShown(const GageTable& gages, int row);
// The rows a tick reads, in order: every row below the gage count and 20 whose own box or the
// "Set All" box is checked.
std::vector<int> PolledBarRows(const GageTable& gages, bool allPolled,
                               const std::array<bool, kBarRowCount>& rowPolled);

// What a valid read shows in its row.
struct BarRowReading {
    std::string valueText;
    BarState bar;
};

class GageBarForm {
  public:
    explicit GageBarForm(UiContext& context) : context_(context) {}

    // Sends each shown row's gage initialisation and returns the name of every row (empty for a
    // blank row).
    std::array<std::string, kBarRowCount> OpenRows(WindowHandle owner);
    // Reads the row's gage with options; none when the row has no gage or the read failed, and
    // the row then keeps what it shows.
    std::optional<BarRowReading> ReadRow(WindowHandle owner, int row, unsigned options);

  private:
    UiContext& context_;
    ReadingResult result_{};
};

}  // namespace gage
