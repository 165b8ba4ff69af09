#include "ui/forms/format_definition_form.h"

#include <cstring>
#include <vector>

#include "channels/comm_errors.h"
#include "config/byte_string.h"
#include "config/c_number_text.h"
#include "config/field_spec.h"
#include "reading/connection_opening.h"
#include "reading/read_cycle.h"
#include "support/builtin_math.h"
#include "support/string_ids.h"
#include "support/support.h"
#include "ui/forms/reading_number_text.h"

namespace gage {

namespace {

constexpr int kFullScaleDigits = 8;  // "%0.8g"

bool IsAsciiType(int dataType) {
    return dataType == DATATYPE_ASCII || dataType == DATATYPE_ASCII16;
}

std::string NumberOrEmpty(unsigned value) {
    return value != 0 ? std::to_string(value) : std::string();
}

FieldRowInput RowTexts(const FieldSpec& spec) {
    const ConditionParts condition = SplitCondition(spec.Condition.view());
    return {NumberOrEmpty(spec.FieldNumber), NumberOrEmpty(spec.StartPosition),
            NumberOrEmpty(spec.Length), condition.op, condition.literal};
}

std::string CharText(char character) {
    return character != '\0' ? std::string(1, character) : std::string();
}

// The editing form's nine command texts in the Advanced dialog's order.
std::array<std::string, 9> CommandTexts(const GageFormat& form) {
    return {std::string(form.GageInitCommand.view()),
            std::string(form.MeasInitCommand.view()),
            std::string(form.MeasStartCommand.view()),
            std::string(form.MeasStopCommand.view()),
            std::string(form.MeasReadCommand.view()),
            std::string(form.MeasPostCommand.view()),
            std::string(ByteStringText(form.RequestSequence)),
            std::string(form.SubgroupStartCommand.view()),
            std::string(form.SubgroupEndCommand.view())};
}

template <std::size_t N>
std::string FixedText(const char (&field)[N]) {
    return std::string(field, ::strnlen(field, N));
}

std::uint16_t Word(const std::string& text) {
    return static_cast<std::uint16_t>(ReadCInteger(text));
}

}  // namespace

std::vector<ComboLine> DataTypeLines(Support& support) {
    struct Item {
        unsigned stringId;
        int dataType;
    };
    constexpr Item kItems[] = {{IDS_DATATYPE_ASCII, DATATYPE_ASCII},
                               {IDS_DATATYPE_ASCII16, DATATYPE_ASCII16},
                               {IDS_DATATYPE_BINARY_LSB_FIRST, DATATYPE_BINARY_LSB_FIRST},
                               {IDS_DATATYPE_BINARY_MSB_FIRST, DATATYPE_BINARY_MSB_FIRST}};
    std::vector<ComboLine> lines;
    for (const Item& item : kItems) {
        std::string text = support.LoadString(item.stringId);
        if (!text.empty()) {
            lines.push_back({std::move(text), item.dataType});
        }
    }
    return lines;
}

std::vector<std::string> OperatorLines(Support& support) {
    std::vector<std::string> lines{std::string()};
    for (unsigned id = IDS_OPERATOR_EQ; id <= IDS_OPERATOR_GE; ++id) {
        std::array<char, kOperatorRoom> text{};
        support.LangLoadString(support.Module(), id, text.data(), kOperatorRoom);
        lines.emplace_back(text.data());
    }
    return lines;
}

std::vector<std::string> CombinationLines(Support& support) {
    std::vector<std::string> lines;
    for (unsigned id = IDS_COMBINE_VALUE_A; id <= IDS_COMBINE_SUM; ++id) {
        lines.push_back(support.LoadString(id));
    }
    return lines;
}

FormatDialogInput FormatControlTexts(const std::string& description, const GageFormat& form) {
    FormatDialogInput texts;
    texts.description = description;
    texts.dataType = form.DataType;
    if (!IsAsciiType(form.DataType)) {
        texts.bits = NumberOrEmpty(form.Bits);
        if (form.FullScale != 0.0) {
            texts.fullScale = builtin::FormatGeneral(form.FullScale, kFullScaleDigits);
        }
    }
    texts.decimalSeparator = CharText(form.DecimalSeparator[0]);
    texts.separator = ByteStringText(form.Separator);
    texts.recordStart = ByteStringText(form.RecordStart);
    texts.recordEnd = ByteStringText(form.RecordEnd);
    texts.recordLength = NumberOrEmpty(form.BodyLength);
    texts.combinationChoice = form.CombinationCode() - 1;
    texts.channel = RowTexts(form.ChannelField);
    texts.code = RowTexts(form.CodeField);
    texts.literal = RowTexts(form.LiteralField);
    texts.valueA = RowTexts(form.ValueAField);
    texts.valueB = RowTexts(form.ValueBField);
    texts.reading = RowTexts(form.ReadingField);
    return texts;
}

TypeEnabling EnablingForType(std::optional<int> dataType) {
    if (!dataType) {
        return {};
    }
    const bool ascii = IsAsciiType(*dataType);
    return {!ascii, ascii};
}

std::string RawBytesText(const std::uint8_t* bytes, std::size_t count, int dataType) {
    const bool ascii = IsAsciiType(dataType);
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = bytes[i];
        const std::string piece = ascii && byte >= 32 && byte <= 126
                                      ? std::string(1, static_cast<char>(byte))
                                      : "<" + std::to_string(byte) + ">";
        if (text.size() + piece.size() >= kRawTextLimit) {
            break;
        }
        text += piece;
    }
    return text;
}

AdvancedControls AdvancedControlTexts(const GageFormat& form) {
    AdvancedControls controls;
    controls.commands = CommandTexts(form);
    controls.delay = NumberOrEmpty(form.CommandDelay);
    controls.timeout = NumberOrEmpty(form.ReadTimeout);
    controls.clearBefore = (form.Options & FMT_OPT_CLEAR_BEFORE) != 0;
    controls.clearAfter = (form.Options & FMT_OPT_CLEAR_AFTER) != 0;
    return controls;
}

void StoreAdvanced(const AdvancedControls& controls, GageFormat& form) {
    const auto cut = [](const std::string& text) { return text.substr(0, kCommandEditRoom); };
    const std::array<std::string, 9>& commands = controls.commands;
    form.GageInitCommand = cut(commands[0]);
    form.MeasInitCommand = cut(commands[1]);
    form.MeasStartCommand = cut(commands[2]);
    form.MeasStopCommand = cut(commands[3]);
    form.MeasReadCommand = cut(commands[4]);
    form.MeasPostCommand = cut(commands[5]);
    SetByteStringText(form.RequestSequence, cut(commands[6]));
    form.SubgroupStartCommand = cut(commands[7]);
    form.SubgroupEndCommand = cut(commands[8]);
    form.CommandDelay = Word(controls.delay);
    form.ReadTimeout = Word(controls.timeout);
    const auto setOption = [&form](std::uint16_t bit, bool on) {
        form.Options =
            static_cast<std::uint16_t>(on ? (form.Options | bit) : (form.Options & ~bit));
    };
    setOption(FMT_OPT_CLEAR_BEFORE, controls.clearBefore);
    setOption(FMT_OPT_CLEAR_AFTER, controls.clearAfter);
}

FormatDefinitionForm::FormatDefinitionForm(UiContext& context, const GageRecord& caller, int type,
                                           int format, GageFormat& editingForm)
    : context_(context),
      testGage_(caller),
      type_(type),
      format_(format),
      editingForm_(editingForm) {
    testGage_.InterfaceTypeNumber = static_cast<std::uint16_t>(type);
    testGage_.FormatNumber = static_cast<std::uint16_t>(format);
}

void FormatDefinitionForm::PrepareTestGage(WindowHandle owner) {
    LoadGageFormat(context_.engine.settings.DefinitionsPath, testGage_);
    SendGageInit(context_.engine, owner, testGage_);
}

std::optional<FormatDialogInput> FormatDefinitionForm::LoadForEditing() {
    if (IsNew()) {
        return std::nullopt;
    }
    const std::string& definitions = context_.engine.settings.DefinitionsPath;
    LoadGageFormatText(definitions, type_, format_, editingForm_);
    return FormatControlTexts(ReadGageFormatDescription(definitions, type_, format_), editingForm_);
}

FormatSaveOutcome FormatDefinitionForm::Save(WindowHandle owner, const FormatDialogInput& input,
                                             bool asNew) {
    const std::string& definitions = context_.engine.settings.DefinitionsPath;
    const auto refuse = [&] {
        ReportGageError(context_.engine.channels, owner, GAGE_ERR_DESCRIPTION, nullptr, nullptr,
                        MB_STYLE_OK | MB_STYLE_ICONERROR);
        return FormatSaveOutcome::DescriptionRefused;
    };
    const int number = (asNew || IsNew()) ? LowestUnusedFormatNumber(definitions, type_) : format_;
    if (input.description.empty()) {
        return refuse();
    }
    switch (SaveGageFormat(definitions, type_, number, input, editingForm_)) {
        case FormatSaveResult::DuplicateDescription:
            return refuse();
        case FormatSaveResult::WriteFailed:
            // Nothing was written: the dialog stays open rather than pretend it saved (a code
            // of its own would need a text of its own; the undefined error's text is shown).
            ReportGageError(context_.engine.channels, owner, 0, nullptr, nullptr,
                            MB_STYLE_OK | MB_STYLE_ICONERROR);
            return FormatSaveOutcome::WriteFailed;
        case FormatSaveResult::Saved:
            break;
    }
    RemoveGageFormat(definitions, type_, 0);
    return FormatSaveOutcome::Saved;
}

void FormatDefinitionForm::Cancel() {
    RemoveGageFormat(context_.engine.settings.DefinitionsPath, type_, 0);
}

void FormatDefinitionForm::InitializeGage(WindowHandle owner, const FormatDialogInput& input) {
    const std::string& definitions = context_.engine.settings.DefinitionsPath;
    SaveGageFormat(definitions, type_, 0, input, editingForm_);
    testGage_.FormatNumber = 0;
    testGage_.InterfaceTypeNumber = static_cast<std::uint16_t>(type_);
    LoadGageFormat(definitions, testGage_);
    SendGageInit(context_.engine, owner, testGage_);
    if (ConnectionRecord* connection = GageConnection(context_.engine, testGage_.ConnectionIndex)) {
        EmptyReceiveBuffer(*connection);
    }
}

void FormatDefinitionForm::InitializePort(WindowHandle owner, const FormatDialogInput& input) {
    OpenGageConnection(context_.engine, owner, testGage_.ConnectionIndex);
    InitializeGage(owner, input);
}

FormatRead FormatDefinitionForm::Read(WindowHandle owner, unsigned options) {
    ReadingResult result{};
    std::vector<std::uint8_t> copy(kRawCopySize, 0);
    FormatRead read;
    ParseOutput output{result};
    output.copyBuffer = copy.data();
    output.copyLength = &read.copyLength;
    output.copyMaximum = static_cast<std::uint16_t>(kRawCopySize);
    read.result = ReadGage(context_.engine, owner, testGage_, output, options);
    read.rawText = RawBytesText(copy.data(), read.copyLength, testGage_.Format.DataType);
    if (read.result == 1) {
        read.samples = SampleTexts{std::to_string(result.Channel),
                                   FixedText(result.Code),
                                   FixedText(result.Literal),
                                   std::to_string(result.ReadingNumber),
                                   ReadingNumberText(context_.engine, output.valueA),
                                   ReadingNumberText(context_.engine, output.valueB)};
    }
    return read;
}

}  // namespace gage
