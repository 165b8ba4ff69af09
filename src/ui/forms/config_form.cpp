#include "ui/forms/config_form.h"

#include <new>
#include <stdexcept>

#include "channels/channel.h"
#include "config/connection_text.h"

namespace gage {

namespace {

constexpr std::uint32_t kLowWord = 0xFFFFu;
constexpr int kMaximumGageIndex = 0xFFFF;

bool IsRow(int row) {
    return row >= 0 && row < kConnectionCount;
}

}  // namespace

std::uint32_t GageListItemData::Pack() const {
    return (static_cast<std::uint32_t>(connectionIndex) << 16) |
           (static_cast<std::uint32_t>(gageIndex) & kLowWord);
}

GageListItemData GageListItemData::Unpack(std::uint32_t data) {
    return {static_cast<int>(data >> 16), static_cast<int>(data & kLowWord)};
}

ListLine ConnectionLine(Support& support, const ConnectionTable& connections, int row) {
    if (!IsRow(row)) {
        return {};
    }
    const ConnectionRecord& connection = connections[static_cast<std::size_t>(row)];
    return {connection.Name.str() + "\t" + DescribeConnection(support, connection),
            static_cast<std::uint32_t>(row)};
}

std::vector<ListLine> ConnectionLines(Support& support, const ConnectionTable& connections) {
    std::vector<ListLine> lines;
    for (int row = 0; row < kConnectionCount; ++row) {
        if (!connections[static_cast<std::size_t>(row)].Name.empty()) {
            lines.push_back(ConnectionLine(support, connections, row));
        }
    }
    return lines;
}

ListLine GageLine(Support& support, const ConnectionTable& connections, const GageTable& gages,
                  int gageIndex) {
    if (gageIndex < 0 || static_cast<std::size_t>(gageIndex) >= gages.size()) {
        return {};
    }
    const GageRecord& gage = gages[static_cast<std::size_t>(gageIndex)];
    std::string text = gage.Name.str() + "\t";
    // A gage whose connection index names no row (a hand-edited file) shows no connection.
    if (IsRow(gage.ConnectionIndex)) {
        const ConnectionRecord& connection =
            connections[static_cast<std::size_t>(gage.ConnectionIndex)];
        text += NameAndDescription(support, connection);
    }
    return {text, GageListItemData{gage.ConnectionIndex, gageIndex}.Pack()};
}

std::vector<ListLine> GageLines(Support& support, const ConnectionTable& connections,
                                const GageTable& gages) {
    std::vector<ListLine> lines;
    for (std::size_t index = 0; index < gages.size(); ++index) {
        if (gages[index].IsNamed()) {
            lines.push_back(GageLine(support, connections, gages, static_cast<int>(index)));
        }
    }
    return lines;
}

std::optional<int> FirstFreeConnectionRow(const ConnectionTable& connections) {
    for (int row = 0; row < kConnectionCount; ++row) {
        if (connections[static_cast<std::size_t>(row)].Name.empty()) {
            return row;
        }
    }
    return std::nullopt;
}

GageRecord NewGage() {
    GageRecord gage;
    gage.Gain = 1.0;
    gage.Zero = 0.0;
    gage.Precision = 7;
    return gage;
}

bool PrepareGageRow(GageTable& gages) {
    if (gages.size() > static_cast<std::size_t>(kMaximumGageIndex)) {
        return false;
    }
    try {
        gages.reserve(gages.size() + 1);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

std::optional<int> GageIndexOfLine(const GageTable& gages, std::uint32_t data) {
    const int index = GageListItemData::Unpack(data).gageIndex;
    if (static_cast<std::size_t>(index) >= gages.size()) {
        return std::nullopt;
    }
    return index;
}

int SelectionAfterRemoval(int removed, int remaining) {
    if (remaining <= 0) {
        return -1;
    }
    return removed < remaining ? removed : remaining - 1;
}

void ClearGage(GageTable& gages, int gageIndex) {
    if (gageIndex >= 0 && static_cast<std::size_t>(gageIndex) < gages.size()) {
        gages[static_cast<std::size_t>(gageIndex)] = GageRecord{};
    }
}

std::vector<int> RemoveConnection(ReadContext& engine, GageTable& gages, int row,
                                  const std::vector<std::uint32_t>& lineData) {
    std::vector<int> removedPositions;
    if (!IsRow(row)) {
        return removedPositions;
    }
    ConnectionRecord& connection = engine.connections[static_cast<std::size_t>(row)];
    ChannelClose(engine.channels, connection);
    ClearConnection(connection);

    int position = 0;
    for (const std::uint32_t data : lineData) {
        const GageListItemData item = GageListItemData::Unpack(data);
        if (item.connectionIndex == row) {
            ClearGage(gages, item.gageIndex);
            removedPositions.push_back(position);  // the next line moves up into this place
        } else {
            ++position;
        }
    }
    return removedPositions;
}

}  // namespace gage
