#pragma once
// What the Gaging Device Setup dialog decides, apart from its window: the lines of its two combo
// boxes, applying a format to the working copy, the rules of its edits, the range it shows and
// the bar drawn against it, the name check and what OK stores. The Win32 dialog only moves texts
// between its controls and these functions.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/gage_record.h"
#include "reading/reading_result.h"
#include "support/window_handle.h"
#include "ui/forms/ui_context.h"

namespace gage {

class Support;

// One line of a combo box and its item data.
struct ComboLine {
    std::string text;
    std::int32_t data = 0;
};

inline constexpr int kCappedEntryMaximum = 255;  // channel and identifier
inline constexpr int kDefaultPrecision = 7;
inline constexpr int kMaximumPrecision = 15;
inline constexpr std::size_t kShownFormatDescription = 30;
inline constexpr unsigned kBarColourGrey = 0xC0C0C0;  // colour values as Windows writes them
inline constexpr unsigned kBarColourBlue = 0xFF0000;

// Item data of a format line: interface type in the high 16 bits, format number in the low 16.
std::int32_t FormatItemData(int type, int format);
int FormatItemType(std::int32_t data);
int FormatItemNumber(std::int32_t data);

// "name (source)" for each named connection, with its index as item data, in index order.
std::vector<ComboLine> InterfaceComboLines(Support& support, const ConnectionTable& connections);
// The described formats 1 to 100 of type, descriptions cut to 30 characters.
std::vector<ComboLine> FormatComboLines(const std::string& definitionsPath, int type);

// The ASCII data types take their range from the user; the binary ones compute it.
bool HasEnteredRange(const GageRecord& gage);

// An edit's number the way a dialog reads an unsigned one: its leading digits (at most all ones),
// 0 without any.
std::uint32_t UnsignedEntry(std::string_view text);
// Channel and identifier entries: an unsigned number, its low 16 bits, at most 255.
int CappedEntry(std::string_view text);
// What the channel edit shows for a stored channel: nothing for 0.
std::string ChannelText(int channel);
// Zero and gain entries; empty means 0.0 and 1.0.
double ZeroEntry(std::string_view text);
double GainEntry(std::string_view text);

struct PrecisionEntry {
    int value = kDefaultPrecision;
    bool rewrite = false;  // the edit must show value instead of what was typed
};
// Empty means 7 (edit left alone); a number outside 0..15 is clamped and the edit rewritten.
PrecisionEntry PrecisionFromText(std::string_view text);
// Minimum and maximum entries: none for an empty edit, which leaves the stored value.
std::optional<double> RangeEntry(std::string_view text);

struct GageRange {
    double minimum = 0.0;
    double maximum = 0.0;
};
// The range shown for the gage: for a binary format full scale x gain - zero down to -zero (made
// absolute and put in order with the absolute option), else the entered one.
GageRange ComputeRange(const GageRecord& gage);

struct BarState {
    unsigned colour = kBarColourBlue;
    std::optional<int> position;  // none: the bar keeps its position
};
// The bar for a read value: grey and unmoved over an empty range, else its percentage (below 0
// for a value under the minimum; the control clamps).
BarState ReadingBar(double value, GageRange range);

// A name is accepted when it is not empty and no other named row has it (case ignored).
bool IsGageNameAccepted(const GageTable& gages, int gageIndex, std::string_view name);

// The control texts that OK stores.
struct GageSetupEntries {
    std::string channel;
    std::string identifier;
    std::string serialNumber;
    std::string maximum;
    std::string minimum;
    std::string zero;
    std::string gain;
    std::string precision;
    bool noReadCommand = false;
    bool absolute = false;
};
void StoreEntries(const GageSetupEntries& entries, GageRecord& gage);

// The working copy of one gage and the operations of the dialog on it.
class GageSetupForm {
  public:
    GageSetupForm(UiContext& context, const GageRecord& gage, int gageIndex);

    GageRecord& Working() { return working_; }
    const GageRecord& Working() const { return working_; }
    bool FormatApplied() const { return formatApplied_; }

    std::vector<ComboLine> InterfaceLines() const;
    // The formats of the selected connection's interface type (none without a selection).
    std::vector<ComboLine> FormatLines(std::optional<std::int32_t> interfaceData) const;
    // The interface type of the selected connection (none without a selection).
    std::optional<int> InterfaceTypeOf(std::optional<std::int32_t> interfaceData) const;
    // The item data the format combo selects for the working copy.
    std::int32_t WorkingFormatData() const;

    // Clears the format block, takes the connection and, when the format has a description,
    // loads it, sends the gage's initialisation and normalises gain and precision. Returns
    // whether the format counts as applied.
    bool ApplyFormat(WindowHandle owner, std::optional<std::int32_t> interfaceData,
                     std::optional<std::int32_t> formatData);

    // ReadingNumberText of value.
    std::string Number(double value) const;
    // Stores a computed range in the working copy and returns the range shown.
    GageRange RefreshRange();
    // Gain 0.0 becomes 1.0 and precision is clamped to 0..15.
    void NormaliseGainAndPrecision();

    void InitializeGage(WindowHandle owner);
    void InitializePort(WindowHandle owner);
    // One read of the working copy into result; 1 for a valid reading.
    int Read(WindowHandle owner, unsigned options, ReadingResult& result);

    bool IsNameAccepted(std::string_view name) const;
    // The gage error report of a refused name.
    void ReportNameRefused(WindowHandle owner);
    // Deletes the format's section from BRW_GAGE.DEF at once.
    bool RemoveFormat(std::int32_t formatData) const;

  private:
    UiContext& context_;
    GageRecord working_;
    int gageIndex_;
    bool formatApplied_ = false;
};

// After OK: the working copy replaces gage, whose connection is opened and which is initialised.
void CommitGage(UiContext& context, WindowHandle owner, const GageRecord& working,
                GageRecord& gage);

}  // namespace gage
