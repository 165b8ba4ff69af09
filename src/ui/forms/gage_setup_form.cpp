#include "ui/forms/gage_setup_form.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "channels/comm_errors.h"
#include "config/c_number_text.h"
#include "config/connection_text.h"
#include "config/gage_format_file.h"
#include "reading/connection_opening.h"
#include "reading/read_cycle.h"
#include "support/builtin_math.h"
#include "support/support.h"
#include "ui/forms/reading_number_text.h"

namespace gage {

namespace {

// Entries typed with either decimal mark; a half-typed number ("-", "1e") reads as far as it goes.
double ReadEntry(std::string_view text) {
    if (const auto parsed = builtin::ParseDecimal(text)) {
        return *parsed;
    }
    return ReadCReal(text);
}

}  // namespace

std::int32_t FormatItemData(int type, int format) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(type & 0xFFFF) << 16) |
                                     static_cast<std::uint32_t>(format & 0xFFFF));
}

int FormatItemType(std::int32_t data) {
    return static_cast<int>((static_cast<std::uint32_t>(data) >> 16) & 0xFFFF);
}

int FormatItemNumber(std::int32_t data) {
    return static_cast<int>(static_cast<std::uint32_t>(data) & 0xFFFF);
}

std::vector<ComboLine> InterfaceComboLines(Support& support, const ConnectionTable& connections) {
    std::vector<ComboLine> lines;
    for (int index = 0; index < kConnectionCount; ++index) {
        const ConnectionRecord& connection = connections[static_cast<std::size_t>(index)];
        if (connection.Name.empty()) {
            continue;
        }
        lines.push_back({NameAndDescription(support, connection), index});
    }
    return lines;
}

std::vector<ComboLine> FormatComboLines(const std::string& definitionsPath, int type) {
    std::vector<ComboLine> lines;
    for (DefinitionEntry& format : ListGageFormats(definitionsPath, type)) {
        format.description.resize(std::min(format.description.size(), kShownFormatDescription));
        lines.push_back({std::move(format.description), FormatItemData(type, format.number)});
    }
    return lines;
}

bool HasEnteredRange(const GageRecord& gage) {
    return gage.Format.DataType == DATATYPE_ASCII || gage.Format.DataType == DATATYPE_ASCII16;
}

std::uint32_t UnsignedEntry(std::string_view text) {
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 0xFFFFFFFFu) {
            return 0xFFFFFFFFu;
        }
    }
    return static_cast<std::uint32_t>(value);
}

int CappedEntry(std::string_view text) {
    const auto lowBits = static_cast<std::uint32_t>(ReadCInteger(text)) & 0xFFFFu;
    return static_cast<int>(std::min<std::uint32_t>(lowBits, kCappedEntryMaximum));
}

std::string ChannelText(int channel) {
    return channel > 0 ? std::to_string(channel) : std::string();
}

double ZeroEntry(std::string_view text) {
    return text.empty() ? 0.0 : ReadEntry(text);
}

double GainEntry(std::string_view text) {
    return text.empty() ? 1.0 : ReadEntry(text);
}

PrecisionEntry PrecisionFromText(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const std::int32_t parsed = ReadCInteger(text);
    const int clamped = std::clamp(parsed, 0, kMaximumPrecision);
    return {clamped, clamped != parsed};
}

std::optional<double> RangeEntry(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    return ReadEntry(text);
}

GageRange ComputeRange(const GageRecord& gage) {
    if (HasEnteredRange(gage)) {
        return {gage.Minimum, gage.Maximum};
    }
    // 0.0 - zero, so that a zero of 0 shows as +0 rather than -0.
    GageRange range{0.0 - gage.Zero, gage.Format.FullScale * gage.Gain - gage.Zero};
    if ((gage.Flags & GAGE_FLAG_ABSOLUTE) != 0) {
        range = {std::fabs(range.minimum), std::fabs(range.maximum)};
        if (range.minimum > range.maximum) {
            std::swap(range.minimum, range.maximum);
        }
    }
    return range;
}

BarState ReadingBar(double value, GageRange range) {
    if (range.maximum == range.minimum) {
        return {kBarColourGrey, std::nullopt};
    }
    const double percent = (value - range.minimum) / (range.maximum - range.minimum) * 100.0 + 0.5;
    // Far-off values (or NaN) must not overflow the conversion; the control clamps anyway.
    constexpr double kLowest = std::numeric_limits<int>::min();
    constexpr double kHighest = std::numeric_limits<int>::max();
    const double bounded = std::isnan(percent) ? 0.0 : std::clamp(percent, kLowest, kHighest);
    return {kBarColourBlue, static_cast<int>(bounded)};
}

bool IsGageNameAccepted(const GageTable& gages, int gageIndex, std::string_view name) {
    if (name.empty()) {
        return false;
    }
    for (std::size_t row = 0; row < gages.size(); ++row) {
        if (static_cast<int>(row) != gageIndex && gages[row].IsNamed() &&
            gages[row].Name.EqualsIgnoreCase(name)) {
            return false;
        }
    }
    return true;
}

void StoreEntries(const GageSetupEntries& entries, GageRecord& gage) {
    gage.ChannelNumber = CappedEntry(entries.channel);
    gage.GageId = CappedEntry(entries.identifier);
    gage.SerialNumber = entries.serialNumber;
    gage.Maximum = ZeroEntry(entries.maximum);
    gage.Minimum = ZeroEntry(entries.minimum);
    gage.Zero = ZeroEntry(entries.zero);
    gage.Gain = GainEntry(entries.gain);
    gage.Precision = PrecisionFromText(entries.precision).value;
    const auto setFlag = [&gage](std::uint32_t flag, bool on) {
        gage.Flags = on ? (gage.Flags | flag) : (gage.Flags & ~flag);
    };
    setFlag(GAGE_FLAG_NO_READ_CMD, entries.noReadCommand);
    setFlag(GAGE_FLAG_ABSOLUTE, entries.absolute);
}

GageSetupForm::GageSetupForm(UiContext& context, const GageRecord& gage, int gageIndex)
    : context_(context), working_(gage), gageIndex_(gageIndex) {}

std::vector<ComboLine> GageSetupForm::InterfaceLines() const {
    return InterfaceComboLines(context_.engine.support, context_.engine.connections);
}

std::optional<int> GageSetupForm::InterfaceTypeOf(std::optional<std::int32_t> interfaceData) const {
    const ConnectionRecord* connection =
        interfaceData ? GageConnection(context_.engine, *interfaceData) : nullptr;
    if (connection == nullptr) {
        return std::nullopt;
    }
    return connection->InterfaceType;
}

std::vector<ComboLine> GageSetupForm::FormatLines(std::optional<std::int32_t> interfaceData) const {
    const std::optional<int> type = InterfaceTypeOf(interfaceData);
    if (!type) {
        return {};
    }
    return FormatComboLines(context_.engine.settings.DefinitionsPath, *type);
}

std::int32_t GageSetupForm::WorkingFormatData() const {
    return FormatItemData(working_.InterfaceTypeNumber, working_.FormatNumber);
}

bool GageSetupForm::ApplyFormat(WindowHandle owner, std::optional<std::int32_t> interfaceData,
                                std::optional<std::int32_t> formatData) {
    working_.Format = GageFormat{};
    formatApplied_ = false;
    if (!interfaceData) {
        return false;
    }
    working_.ConnectionIndex = *interfaceData;
    if (!formatData) {
        return false;
    }
    const std::string& definitions = context_.engine.settings.DefinitionsPath;
    const int type = FormatItemType(*formatData);
    const int number = FormatItemNumber(*formatData);
    if (ReadGageFormatDescription(definitions, type, number).empty()) {
        return false;
    }
    working_.InterfaceTypeNumber = static_cast<std::uint16_t>(type);
    working_.FormatNumber = static_cast<std::uint16_t>(number);
    LoadGageFormat(definitions, working_);
    SendGageInit(context_.engine, owner, working_);
    NormaliseGainAndPrecision();
    RefreshRange();
    formatApplied_ = true;
    return true;
}

std::string GageSetupForm::Number(double value) const {
    return ReadingNumberText(context_.engine, value);
}

GageRange GageSetupForm::RefreshRange() {
    const GageRange range = ComputeRange(working_);
    working_.Minimum = range.minimum;
    working_.Maximum = range.maximum;
    return range;
}

void GageSetupForm::NormaliseGainAndPrecision() {
    if (working_.Gain == 0.0) {
        working_.Gain = 1.0;
    }
    working_.Precision = std::clamp(working_.Precision, 0, kMaximumPrecision);
}

void GageSetupForm::InitializeGage(WindowHandle owner) {
    SendGageInit(context_.engine, owner, working_);
    if (ConnectionRecord* connection = GageConnection(context_.engine, working_.ConnectionIndex)) {
        EmptyReceiveBuffer(*connection);
    }
}

void GageSetupForm::InitializePort(WindowHandle owner) {
    OpenGageConnection(context_.engine, owner, working_.ConnectionIndex);
    InitializeGage(owner);
}

int GageSetupForm::Read(WindowHandle owner, unsigned options, ReadingResult& result) {
    ParseOutput output{result};
    return ReadGage(context_.engine, owner, working_, output, options);
}

bool GageSetupForm::IsNameAccepted(std::string_view name) const {
    return IsGageNameAccepted(context_.gages, gageIndex_, name);
}

void GageSetupForm::ReportNameRefused(WindowHandle owner) {
    ReportGageError(context_.engine.channels, owner, GAGE_ERR_DESCRIPTION, nullptr, nullptr,
                    MB_STYLE_OK | MB_STYLE_ICONERROR);
}

bool GageSetupForm::RemoveFormat(std::int32_t formatData) const {
    return RemoveGageFormat(context_.engine.settings.DefinitionsPath, FormatItemType(formatData),
                            FormatItemNumber(formatData));
}

void CommitGage(UiContext& context, WindowHandle owner, const GageRecord& working,
                GageRecord& gage) {
    gage = working;
    OpenGageConnection(context.engine, owner, gage.ConnectionIndex);
    SendGageInit(context.engine, owner, gage);
}

}  // namespace gage
