#pragma once
// What the Format Definition dialog and its Advanced dialog decide, apart from their windows:
// the texts of their lists, the control texts of a format being edited, which controls a data
// type enables, saving and the scratch copy, the test gage and its reads, and how the raw bytes
// of a read are shown.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/gage_format_file.h"
#include "config/gage_record.h"
#include "reading/reading_result.h"
#include "support/window_handle.h"
#include "ui/forms/gage_setup_form.h"
#include "ui/forms/ui_context.h"

namespace gage {

class Support;

inline constexpr int kOperatorRoom = 8;            // characters an operator's list text may have
inline constexpr std::size_t kRawTextLimit = 256;  // the raw display stays below this
inline constexpr std::size_t kRawCopySize = 16384;
inline constexpr std::size_t kCommandEditRoom = 63;

// The Type list: the data types whose names load, ASCII first; item data is the data type.
std::vector<ComboLine> DataTypeLines(Support& support);
// An operator list: an empty item, then EQ to GE.
std::vector<std::string> OperatorLines(Support& support);
// The combination list, "Value A" to "Sum (A + B)".
std::vector<std::string> CombinationLines(Support& support);

// What the controls show for a format being edited: description as read again from the file,
// numbers empty when 0, resolution and full scale only for the types other than 0 and 3, each
// row's condition split into operator and literal, the combination choice from option bits 4 to
// 7 (less one, so none for 0).
FormatDialogInput FormatControlTexts(const std::string& description, const GageFormat& form);

// Which controls a chosen data type enables.
struct TypeEnabling {
    bool resolutionAndFullScale = true;
    bool decimalSeparator = true;
};
// With no type chosen yet every one of them stays enabled.
TypeEnabling EnablingForType(std::optional<int> dataType);

// The last read's bytes as the dialog shows them: for the ASCII types printable bytes as
// themselves and the rest as <n>, for the binary types every byte as <n>; the text stops before
// the piece that would make it 256 characters or longer.
std::string RawBytesText(const std::uint8_t* bytes, std::size_t count, int dataType);

// The Advanced dialog's controls.
struct AdvancedControls {
    std::array<std::string, 9> commands;  // GAGEINIT, MEAS_INIT ... SGRPEND in the dialog's order
    std::string delay;
    std::string timeout;
    bool clearBefore = false;
    bool clearAfter = false;
};
AdvancedControls AdvancedControlTexts(const GageFormat& form);
// OK of the Advanced dialog: texts cut to 63 characters, numbers in 16 bits (0 for text that is
// not a number), option bits 0 and 1 set from the check boxes, the other bits kept.
void StoreAdvanced(const AdvancedControls& controls, GageFormat& form);

enum class FormatSaveOutcome { Saved, DescriptionRefused, WriteFailed };

// The values shown in the Sample column after a read.
struct SampleTexts {
    std::string channel;
    std::string code;
    std::string literal;
    std::string reading;
    std::string valueA;
    std::string valueB;
};

struct FormatRead {
    int result = 0;  // 1 for a valid reading
    std::uint16_t copyLength = 0;
    std::string rawText;                 // RawBytesText of the copy
    std::optional<SampleTexts> samples;  // after a valid reading
};

// One opening of the Format Definition dialog for format f of interface type t (0: new).
class FormatDefinitionForm {
  public:
    // editingForm outlives the form: it carries Advanced settings from one opening to the next.
    FormatDefinitionForm(UiContext& context, const GageRecord& caller, int type, int format,
                         GageFormat& editingForm);

    int Type() const { return type_; }
    int Format() const { return format_; }
    bool IsNew() const { return format_ == 0; }
    GageFormat& EditingForm() { return editingForm_; }
    const GageRecord& TestGage() const { return testGage_; }

    // Loads the test gage with the saved definition and sends its initialisation.
    void PrepareTestGage(WindowHandle owner);
    // Edit mode: the editing form from the file and the control texts from it. New mode: none.
    std::optional<FormatDialogInput> LoadForEditing();

    // Saves the controls under f, or under the lowest unused number for a new format or Save as
    // New; on success the scratch copy is removed. A refused description has been reported.
    FormatSaveOutcome Save(WindowHandle owner, const FormatDialogInput& input, bool asNew);
    // Cancel: the scratch copy goes.
    void Cancel();

    // Writes the controls to the scratch copy (t, 0), loads it into the test gage, sends its
    // initialisation and empties the receive buffer. Initialize Port opens the connection first.
    void InitializeGage(WindowHandle owner, const FormatDialogInput& input);
    void InitializePort(WindowHandle owner, const FormatDialogInput& input);

    // One read of the test gage (options: none, or READ_OPT_POLL from the timer).
    FormatRead Read(WindowHandle owner, unsigned options);

  private:
    UiContext& context_;
    GageRecord testGage_;
    int type_;
    int format_;
    GageFormat& editingForm_;
};

}  // namespace gage
