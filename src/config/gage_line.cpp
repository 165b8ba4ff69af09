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

GageLineStatus ParseGageLine(std::string_view line, int version, GageRecord& gage,
                             LineReport* report) {
    const LineNotes notes(report);
    if (version >= kFirstUnknownGageLineVersion) {
        notes.Skip(LineNote(LineNoteKind::UnknownVersion, std::to_string(version)));
        return GageLineStatus::UnknownVersion;
    }
    const GageLineLayout& layout = GageLineLayoutFor(version);
    std::vector<std::string_view> fields;
    FieldScanner scanner(line);
    while (fields.size() < layout.fieldCount) {
        const auto field = scanner.NextField(',');
        if (!field) {
            notes.Skip(
                LineNote::Counted(LineNoteKind::TooFewFields, fields.size(), layout.fieldCount));
            return GageLineStatus::TooFewFields;
        }
        fields.push_back(*field);
    }
    const auto integer = [&](int position, std::string_view name) {
        return position < 0 ? 0 : notes.Integer(fields[static_cast<std::size_t>(position)], name);
    };
    const auto real = [&](int position, std::string_view name) {
        return position < 0 ? 0.0 : notes.Real(fields[static_cast<std::size_t>(position)], name);
    };

    // Read in the order of the fields, so that the notes come in that order.
    GageRecord loaded;
    loaded.Name = notes.Name(fields[0]);
    const std::int32_t type = integer(1, "interface type");
    const std::int32_t format = integer(2, "format");
    loaded.InterfaceTypeNumber = static_cast<std::uint16_t>(type);
    loaded.FormatNumber = static_cast<std::uint16_t>(format);
    if (loaded.InterfaceTypeNumber != type || loaded.FormatNumber != format) {
        notes.Change(LineNote(
            LineNoteKind::KeptIn16Bits, std::to_string(type) + "." + std::to_string(format),
            std::to_string(loaded.InterfaceTypeNumber) + "." + std::to_string(loaded.FormatNumber),
            "interface type and format"));
    }
    loaded.ChannelNumber = integer(3, "channel");
    loaded.GageId = integer(layout.id, "identifier");
    if (layout.serial >= 0) {
        const std::string_view serial = fields[static_cast<std::size_t>(layout.serial)];
        loaded.SerialNumber = serial;
        if (serial.size() > loaded.SerialNumber.size()) {
            notes.Change(LineNote::Counted(LineNoteKind::SerialNumberCut, serial.size(),
                                           loaded.SerialNumber.size()));
        }
    }
    loaded.Minimum = real(layout.minimum, "minimum");
    loaded.Maximum = real(layout.maximum, "maximum");
    loaded.Zero = real(layout.zero, "zero");
    const double gain = real(layout.gain, "gain");
    const std::int32_t precision = integer(layout.precision, "precision");
    loaded.Flags = static_cast<std::uint32_t>(integer(layout.flags, "flags"));
    const std::int32_t connection = integer(layout.connection, "connection index");
    if (connection < 0 || connection >= kConnectionCount) {
        notes.Skip(LineNote(LineNoteKind::ConnectionOutOfRange, std::to_string(connection)));
        return GageLineStatus::ConnectionOutOfRange;
    }

    if (layout.gain >= 0) {
        loaded.Gain = gain;
        if (loaded.Gain == 0.0) {
            loaded.Gain = 1.0;
            notes.Change(LineNote(LineNoteKind::GainZero));
        }
    } else if (version == 7) {
        // Layout 7 kept the sign of the gain in a flag.
        loaded.Gain = (loaded.Flags & GAGE_FLAG_NEGATE_V7) != 0 ? -1.0 : 1.0;
    } else {
        loaded.Gain = 1.0;
    }
    loaded.Precision = layout.precision >= 0 ? std::clamp(precision, 0, kMaxGagePrecision) : 7;
    if (layout.precision >= 0 && loaded.Precision != precision) {
        notes.Change(LineNote(LineNoteKind::PrecisionLimited, std::to_string(precision),
                              std::to_string(loaded.Precision)));
    }
    loaded.ConnectionIndex = connection;
    if (notes.wanted()) {
        std::size_t count = fields.size();
        while (scanner.NextField(',')) {
            ++count;
        }
        if (count > layout.fieldCount) {
            notes.Change(LineNote::Counted(LineNoteKind::FieldsIgnored, count, layout.fieldCount));
        }
    }
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
