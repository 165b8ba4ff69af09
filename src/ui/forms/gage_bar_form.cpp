#include "ui/forms/gage_bar_form.h"

#include "reading/connection_opening.h"
#include "reading/read_cycle.h"
#include "ui/forms/reading_number_text.h"

namespace gage {

namespace {

bool IsBarRow(const GageTable& gages, int row) {
    return row >= 0 && row < kBarRowCount && static_cast<std::size_t>(row) < gages.size();
}

}  // namespace

bool IsBarRowShown(const GageTable& gages, int row) {
    return IsBarRow(gages, row) && gages[static_cast<std::size_t>(row)].IsNamed();
}

std::vector<int> PolledBarRows(const GageTable& gages, bool allPolled,
                               const std::array<bool, kBarRowCount>& rowPolled) {
    std::vector<int> rows;
    for (int row = 0; IsBarRow(gages, row); ++row) {
        if (allPolled || rowPolled[static_cast<std::size_t>(row)]) {
            rows.push_back(row);
        }
    }
    return rows;
}

std::array<std::string, kBarRowCount> GageBarForm::OpenRows(WindowHandle owner) {
    std::array<std::string, kBarRowCount> names;
    for (int row = 0; row < kBarRowCount; ++row) {
        if (IsBarRowShown(context_.gages, row)) {
            const GageRecord& gage = context_.gages[static_cast<std::size_t>(row)];
            SendGageInit(context_.engine, owner, gage);
            names[static_cast<std::size_t>(row)] = gage.Name.c_str();
        }
    }
    return names;
}

std::optional<BarRowReading> GageBarForm::ReadRow(WindowHandle owner, int row, unsigned options) {
    if (!IsBarRow(context_.gages, row)) {
        return std::nullopt;
    }
    GageRecord& gage = context_.gages[static_cast<std::size_t>(row)];
    result_ = ReadingResult{};
    ParseOutput output{result_};
    if (ReadGage(context_.engine, owner, gage, output, options) == 0) {
        return std::nullopt;
    }
    const double value = result_.Value;
    return BarRowReading{ReadingNumberText(context_.engine, value),
                         ReadingBar(value, {gage.Minimum, gage.Maximum})};
}

}  // namespace gage
