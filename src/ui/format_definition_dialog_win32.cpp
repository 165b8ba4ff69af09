// The Format Definition dialog on Win32: moves texts between its controls and the format
// definition form, which saves, initializes and reads; the Advanced dialog edits the form's
// commands, delays and buffer options.

#include "ui/format_definition_dialog.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "support/support.h"
#include "ui/ascii_picker_dialog.h"
#include "ui/dialog_base.h"
#include "ui/dialog_controls.h"
#include "ui/format_advanced_dialog.h"
#include "ui/forms/format_definition_form.h"
#include "ui/resources/resource.h"

namespace gage {

namespace {

constexpr UINT kPollPeriodMs = 100;
constexpr int kByteStringEditLimit = 63;

// The six field rows: first control, sample static and the input they fill.
struct FieldRow {
    int base;
    int sample;
    FieldRowInput FormatDialogInput::*input;
};
constexpr FieldRow kRows[] = {
    {IDC_FORMAT_ROW_CHANNEL, IDC_FORMAT_SAMPLE_CHANNEL, &FormatDialogInput::channel},
    {IDC_FORMAT_ROW_CODE, IDC_FORMAT_SAMPLE_CODE, &FormatDialogInput::code},
    {IDC_FORMAT_ROW_LITERAL, IDC_FORMAT_SAMPLE_LITERAL, &FormatDialogInput::literal},
    {IDC_FORMAT_ROW_READING, IDC_FORMAT_SAMPLE_READING, &FormatDialogInput::reading},
    {IDC_FORMAT_ROW_VALUE_A, IDC_FORMAT_SAMPLE_VALUE_A, &FormatDialogInput::valueA},
    {IDC_FORMAT_ROW_VALUE_B, IDC_FORMAT_SAMPLE_VALUE_B, &FormatDialogInput::valueB},
};

constexpr int kPickButtons[] = {IDC_FORMAT_RECORD_START_PICK, IDC_FORMAT_RECORD_END_PICK,
                                IDC_FORMAT_SEPARATOR_PICK};

class FormatDefinitionDialog final : public DialogBase {
  public:
    FormatDefinitionDialog(UiContext& context, const GageRecord& gage, int type, int format,
                           GageFormat& editingForm)
        : context_(context), form_(context, gage, type, format, editingForm) {}

  protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR timerId) override;
    void OnDestroy() override { ::KillTimer(Window(), IDT_POLL); }

  private:
    Support& support() { return context_.engine.support; }

    void FillLists();
    void FilterEdits();
    void ShowTexts(const FormatDialogInput& texts);
    FormatDialogInput Input() const;
    void ApplyTypeEnabling();
    void OnSave(bool asNew);
    void ReadTestGage(unsigned options);
    void Finish(INT_PTR result) {
        ::KillTimer(Window(), IDT_POLL);
        End(result);
    }

    UiContext& context_;
    FormatDefinitionForm form_;
    std::vector<std::string> operators_;
};

bool FormatDefinitionDialog::OnInit() {
    HWND window = Window();
    support().LangTranslateDialog(window);
    support().LangBanner(Control(IDC_BANNER));
    if (form_.IsNew()) {
        Enable(IDC_FORMAT_SAVE, false);  // a new format can only be saved as new
    }
    form_.PrepareTestGage(window);
    FillLists();
    FilterEdits();
    for (const int id : {IDC_FORMAT_RECORD_START, IDC_FORMAT_RECORD_END}) {
        ::SendMessageA(Control(id), EM_LIMITTEXT, kByteStringEditLimit, 0);
    }
    ::SetTimer(window, IDT_POLL, kPollPeriodMs, nullptr);
    if (const std::optional<FormatDialogInput> texts = form_.LoadForEditing()) {
        ShowTexts(*texts);
    }
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_FORMAT_TYPE, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(Control(IDC_FORMAT_TYPE)));
    return true;
}

void FormatDefinitionDialog::FillLists() {
    operators_ = OperatorLines(support());
    for (const FieldRow& row : kRows) {
        for (const std::string& op : operators_) {
            ComboAddItem(Window(), row.base + IDC_FORMAT_ROW_OPERATOR, op, 0);
        }
    }
    for (const ComboLine& line : DataTypeLines(support())) {
        ComboAddItem(Window(), IDC_FORMAT_TYPE, line.text, line.data);
    }
    for (const std::string& choice : CombinationLines(support())) {
        ComboAddItem(Window(), IDC_FORMAT_COMBINATION, choice, 0);
    }
}

void FormatDefinitionDialog::FilterEdits() {
    const auto filter = [this](int id, int kind, int characters, int length, double minimum,
                               double maximum, int options) {
        support().GenEditFilter(Control(id), kind, characters, length, minimum, maximum, options,
                                1);
    };
    filter(IDC_FORMAT_DESCRIPTION, 2, 0, 31, 0.0, 0.0, 1);
    for (const FieldRow& row : kRows) {
        for (const int offset : {0, IDC_FORMAT_ROW_START, IDC_FORMAT_ROW_LENGTH}) {
            filter(row.base + offset, 3, 3, 0, 0.0, 0.0, 0);
        }
    }
    filter(IDC_FORMAT_RECORD_LENGTH, 3, 3, 0, 0.0, 0.0, 0);
    filter(IDC_FORMAT_RESOLUTION, 3, 5, 0, 1.0, 32.0, 7);
    filter(IDC_FORMAT_FULL_SCALE, 3, 12, 12, 0.0, 0.0, 0);
    filter(IDC_FORMAT_DECIMAL_SEPARATOR, 2, 0, 1, 0.0, 0.0, 1);
}

void FormatDefinitionDialog::ShowTexts(const FormatDialogInput& texts) {
    SetText(IDC_FORMAT_DESCRIPTION, texts.description);
    SelectComboByData(Window(), IDC_FORMAT_TYPE, texts.dataType);
    SetText(IDC_FORMAT_RESOLUTION, texts.bits);
    SetText(IDC_FORMAT_FULL_SCALE, texts.fullScale);
    SetText(IDC_FORMAT_DECIMAL_SEPARATOR, texts.decimalSeparator);
    SetText(IDC_FORMAT_SEPARATOR, texts.separator);
    SetText(IDC_FORMAT_RECORD_START, texts.recordStart);
    SetText(IDC_FORMAT_RECORD_END, texts.recordEnd);
    SetText(IDC_FORMAT_RECORD_LENGTH, texts.recordLength);
    for (const FieldRow& row : kRows) {
        const FieldRowInput& input = texts.*row.input;
        SetText(row.base, input.fieldNumber);
        SetText(row.base + IDC_FORMAT_ROW_START, input.startPosition);
        SetText(row.base + IDC_FORMAT_ROW_LENGTH, input.length);
        for (std::size_t item = 1; item < operators_.size(); ++item) {
            if (operators_[item] == input.op) {
                ComboSelect(Window(), row.base + IDC_FORMAT_ROW_OPERATOR, static_cast<int>(item));
                break;
            }
        }
        SetText(row.base + IDC_FORMAT_ROW_LITERAL_TEXT, input.literal);
    }
    ComboSelect(Window(), IDC_FORMAT_COMBINATION, texts.combinationChoice);
}

FormatDialogInput FormatDefinitionDialog::Input() const {
    FormatDialogInput input;
    input.description = Text(IDC_FORMAT_DESCRIPTION);
    const std::optional<LPARAM> dataType = ComboSelectedData(Window(), IDC_FORMAT_TYPE);
    input.dataType = dataType ? static_cast<int>(*dataType) : -1;
    input.fullScale = Text(IDC_FORMAT_FULL_SCALE);
    input.bits = Text(IDC_FORMAT_RESOLUTION);
    input.decimalSeparator = Text(IDC_FORMAT_DECIMAL_SEPARATOR);
    input.separator = Text(IDC_FORMAT_SEPARATOR);
    input.recordStart = Text(IDC_FORMAT_RECORD_START);
    input.recordEnd = Text(IDC_FORMAT_RECORD_END);
    input.recordLength = Text(IDC_FORMAT_RECORD_LENGTH);
    input.combinationChoice = ComboSelection(Window(), IDC_FORMAT_COMBINATION);
    for (const FieldRow& row : kRows) {
        FieldRowInput& fields = input.*row.input;
        fields.fieldNumber = Text(row.base);
        fields.startPosition = Text(row.base + IDC_FORMAT_ROW_START);
        fields.length = Text(row.base + IDC_FORMAT_ROW_LENGTH);
        const int op = ComboSelection(Window(), row.base + IDC_FORMAT_ROW_OPERATOR);
        if (op >= 0 && static_cast<std::size_t>(op) < operators_.size()) {
            fields.op = operators_[static_cast<std::size_t>(op)];
        }
        fields.literal = Text(row.base + IDC_FORMAT_ROW_LITERAL_TEXT);
    }
    return input;
}

void FormatDefinitionDialog::ApplyTypeEnabling() {
    const std::optional<LPARAM> dataType = ComboSelectedData(Window(), IDC_FORMAT_TYPE);
    if (!dataType) {
        return;  // nothing chosen yet: the controls stay as they are
    }
    const TypeEnabling enabling = EnablingForType(static_cast<int>(*dataType));
    for (const int id : {IDC_FORMAT_RESOLUTION, IDC_FORMAT_RESOLUTION_LABEL, IDC_FORMAT_FULL_SCALE,
                         IDC_FORMAT_FULL_SCALE_LABEL}) {
        Enable(id, enabling.resolutionAndFullScale);
    }
    Enable(IDC_FORMAT_DECIMAL_SEPARATOR, enabling.decimalSeparator);
}

void FormatDefinitionDialog::OnSave(bool asNew) {
    if (form_.Save(Window(), Input(), asNew) == FormatSaveOutcome::Saved) {
        Finish(1);
    }
}

void FormatDefinitionDialog::ReadTestGage(unsigned options) {
    const bool byButton = options == 0;
    if (byButton) {
        for (const int id : {IDC_FORMAT_SAMPLE_CHANNEL, IDC_FORMAT_SAMPLE_READING,
                             IDC_FORMAT_SAMPLE_CODE, IDC_FORMAT_SAMPLE_LITERAL}) {
            SetText(id, "");
        }
    }
    const FormatRead read = form_.Read(Window(), options);
    if (byButton || read.copyLength != 0) {
        SetText(IDC_FORMAT_RAW_BYTES, read.rawText);
        SetText(IDC_FORMAT_RAW_LENGTH, std::to_string(read.copyLength));
    }
    if (read.samples) {
        SetText(IDC_FORMAT_SAMPLE_CHANNEL, read.samples->channel);
        SetText(IDC_FORMAT_SAMPLE_READING, read.samples->reading);
        SetText(IDC_FORMAT_SAMPLE_CODE, read.samples->code);
        SetText(IDC_FORMAT_SAMPLE_LITERAL, read.samples->literal);
        SetText(IDC_FORMAT_SAMPLE_VALUE_A, read.samples->valueA);
        SetText(IDC_FORMAT_SAMPLE_VALUE_B, read.samples->valueB);
    }
}

bool FormatDefinitionDialog::OnCommand(int id, int code, HWND control) {
    if (id == IDC_FORMAT_TYPE) {
        if (code == CBN_SELCHANGE) {
            ApplyTypeEnabling();
        }
        return true;
    }
    if (code != BN_CLICKED) {
        return false;
    }
    for (const int pick : kPickButtons) {
        if (id == pick) {
            OpenAsciiPicker(support(), Window(), ::GetNextDlgTabItem(Window(), control, TRUE));
            return true;
        }
    }
    switch (id) {
        case IDC_FORMAT_CONTINUOUS_POLL:
            Enable(IDC_FORMAT_READ_GAGE, !IsChecked(Window(), id));
            return true;
        case IDC_FORMAT_READ_GAGE:
            ReadTestGage(0);
            return true;
        case IDC_FORMAT_POLL_READ:
            ReadTestGage(READ_OPT_POLL);
            return true;
        case IDC_FORMAT_INIT_GAGE:
        case IDC_FORMAT_INIT_PORT:
            if (id == IDC_FORMAT_INIT_PORT) {
                form_.InitializePort(Window(), Input());
            } else {
                form_.InitializeGage(Window(), Input());
            }
            SetText(IDC_FORMAT_RAW_BYTES, "");
            return true;
        case IDC_FORMAT_SAVE:
        case IDOK:
            OnSave(false);
            return true;
        case IDC_FORMAT_SAVE_AS_NEW:
            OnSave(true);
            return true;
        case IDCANCEL:
            form_.Cancel();
            Finish(0);
            return true;
        case IDC_FORMAT_ADVANCED:
            RunAdvancedDialog(support(), Window(), form_.EditingForm());
            return true;
        case IDC_HELP_BUTTON:
            support().HelpShow(Window(), HELP_FORMAT_DEFINITION);
            return true;
        default:
            return false;
    }
}

void FormatDefinitionDialog::OnTimer(UINT_PTR timerId) {
    if (timerId == IDT_POLL) {
        PostPollTickPresses(Window(), IDC_HELP_BUTTON, IDC_FORMAT_CONTINUOUS_POLL,
                            IDC_FORMAT_POLL_READ);
    }
}

}  // namespace

int EditFormat(UiContext& context, WindowHandle owner, const GageRecord& gage, int type,
               int format) {
    GageFormat fresh{};
    GageFormat& editingForm =
        context.formatEditingForm != nullptr ? *context.formatEditingForm : fresh;
    FormatDefinitionDialog dialog(context, gage, type, format, editingForm);
    const auto module = static_cast<HINSTANCE>(context.engine.support.Module());
    return dialog.RunModal(module, IDD_FORMAT_DEFINITION, owner) == 1 ? 1 : 0;
}

}  // namespace gage
