#include "config/gage_line.h"

#include <algorithm>
#include <vector>

#include "config/c_number_text.h"
#include "config/connection_record.h"
#include "config/field_tokenizer.h"

namespace gage {
namespace {

constexpr GageLineLayout kLayout9{13, 4, 5, 6, 7, 8, 9, 10, 11, 12};
constexpr GageLineLayout kLayout8{12, 4, 5, 6, 7, 8, 9, -1, 10, 11};
constexpr GageLineLayout kLayout7{10, 4, 5, 6, 7, -1, -1, -1, 8, 9};
constexpr GageLineLayout kLayoutOld{6, -1, -1, -1, -1, -1, -1, -1, 4, 5};

bool NeedsQuotes(std::string_view serial) {
    return serial.find(',') != std::string_view::npos || (!serial.empty() && serial[0] == '"');
}

}  // namespace

const GageLineLayout& GageLineLayoutFor(int version) {
    if (version >= 9) {
        return kLayout9;
    }
    if (version == 8) {
        return kLayout8;
    }
    return version == 7 ? kLayout7 : kLayoutOld;
}

GageLineStatus ParseGageLine(std::string_view line, int version, GageRecord& gage) {
    if (version >= kFirstUnknownGageLineVersion) {
        return GageLineStatus::UnknownVersion;
    }
    const GageLineLayout& layout = GageLineLayoutFor(version);
    std::vector<std::string_view> fields;
    FieldScanner scanner(line);
    while (fields.size() < layout.fieldCount) {
        const auto field = scanner.NextField(',');
        if (!field) {
            return GageLineStatus::TooFewFields;
        }
        fields.push_back(*field);
    }
    const auto integer = [&](int position) {
        return position < 0 ? 0 : ReadCInteger(fields[static_cast<std::size_t>(position)]);
    };
    const auto real = [&](int position) {
        return position < 0 ? 0.0 : ReadCReal(fields[static_cast<std::size_t>(position)]);
    };
    const std::int32_t connection = integer(layout.connection);
    if (connection < 0 || connection >= kConnectionCount) {
        return GageLineStatus::ConnectionOutOfRange;
    }

    GageRecord loaded;
    loaded.Name = NameFromField(fields[0]);
    loaded.InterfaceTypeNumber = static_cast<std::uint16_t>(ReadCInteger(fields[1]));
    loaded.FormatNumber = static_cast<std::uint16_t>(ReadCInteger(fields[2]));
    loaded.ChannelNumber = ReadCInteger(fields[3]);
    loaded.GageId = integer(layout.id);
    if (layout.serial >= 0) {
        loaded.SerialNumber = fields[static_cast<std::size_t>(layout.serial)];
    }
    loaded.Minimum = real(layout.minimum);
    loaded.Maximum = real(layout.maximum);
    loaded.Zero = real(layout.zero);
    loaded.Flags = static_cast<std::uint32_t>(integer(layout.flags));
    if (layout.gain >= 0) {
        loaded.Gain = real(layout.gain);
        if (loaded.Gain == 0.0) {
            loaded.Gain = 1.0;
        }
    } else if (version == 7) {
        // Layout 7 kept the sign of the gain in a flag.
        loaded.Gain = (loaded.Flags & GAGE_FLAG_NEGATE_V7) != 0 ? -1.0 : 1.0;
    } else {
        loaded.Gain = 1.0;
    }
    loaded.Precision =
        layout.precision >= 0 ? std::clamp(integer(layout.precision), 0, kMaxGagePrecision) : 7;
    loaded.ConnectionIndex = connection;
    gage = std::move(loaded);
    return GageLineStatus::Accepted;
}

std::string FormatGageLine(const GageRecord& gage) {
    std::string serial = gage.SerialNumber.str();
    if (NeedsQuotes(serial)) {
        std::erase(serial, '"');
        serial = "\"" + serial + "\"";
    }
    const auto u = [](std::int64_t value) {
        return std::to_string(static_cast<std::uint32_t>(value));
    };
    return "\"" + gage.Name.str() + "\"," + u(gage.InterfaceTypeNumber) + "," +
           u(gage.FormatNumber) + "," + u(gage.ChannelNumber) + "," + u(gage.GageId) + "," +
           serial + "," + FormatCReal(gage.Minimum) + "," + FormatCReal(gage.Maximum) + "," +
           FormatCReal(gage.Zero) + "," + FormatCReal(gage.Gain) + "," + u(gage.Precision) + "," +
           u(gage.Flags) + "," + u(gage.ConnectionIndex);
}

}  // namespace gage
