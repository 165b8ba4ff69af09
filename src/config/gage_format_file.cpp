#include "config/gage_format_file.h"

#include "config/byte_string.h"
#include "config/c_number_text.h"
#include "config/profile.h"

namespace gage {
namespace {

// Room the loaders give each kind of value.
constexpr std::size_t kByteStringTextRoom = 128;  // 127 characters, encoded to at most 64 bytes
constexpr std::size_t kCommandRoom = kCommandTextSize;
constexpr std::size_t kDescriptionRoom = 128;
constexpr std::size_t kValueRoom = 128;

class FormatSection {
  public:
    FormatSection(const std::string& path, int type, int format)
        : path_(path), section_(GageFormatSection(type, format)) {}

    std::string Text(std::string_view key, std::size_t room = kValueRoom,
                     std::string_view defaultValue = {}) const {
        return profile::GetString(path_, section_, key, defaultValue, room);
    }
    // The first of the keys that holds something: newer keys win over the older ones.
    std::string FirstText(std::string_view key, std::string_view olderKey,
                          std::size_t room = kValueRoom) const {
        std::string text = Text(key, room);
        return text.empty() ? Text(olderKey, room) : text;
    }
    int Int(std::string_view key) const { return profile::GetInt(path_, section_, key, 0); }
    std::uint16_t Word(std::string_view key) const { return static_cast<std::uint16_t>(Int(key)); }
    std::uint16_t Options() const {
        const std::uint16_t options = Word("FMTOPTS");
        return options != 0 ? options : Word("CLEARBUFFER");
    }

  private:
    const std::string& path_;
    std::string section_;
};

std::uint16_t EncodeKey(const FormatSection& section, std::string_view key, ByteString& field) {
    return EncodeByteString(section.Text(key, kByteStringTextRoom), field);
}

void ReadCommands(const FormatSection& section, GageFormat& format) {
    format.GageInitCommand = section.Text("GAGEINIT", kCommandRoom);
    format.MeasInitCommand = section.Text("MEAS_INIT", kCommandRoom);
    format.MeasStartCommand = section.Text("MEAS_START", kCommandRoom);
    format.MeasStopCommand = section.Text("MEAS_STOP", kCommandRoom);
    format.MeasReadCommand = section.FirstText("MEAS_READ", "MEASINIT", kCommandRoom);
    format.MeasPostCommand = section.Text("MEASPOST", kCommandRoom);
    format.SubgroupStartCommand = section.Text("SGRPSTART", kCommandRoom);
    format.SubgroupEndCommand = section.Text("SGRPEND", kCommandRoom);
}

std::string Unsigned16(std::uint16_t value) {
    return std::to_string(value);
}

}  // namespace

GageFormat ReadGageFormat(const std::string& definitionsPath, int type, int format) {
    const FormatSection section(definitionsPath, type, format);
    GageFormat loaded;
    loaded.DecimalSeparator = {'\0', '\0'};
    loaded.DataType = section.Word("DATATYPE");
    if (loaded.DataType == DATATYPE_BINARY_LSB_FIRST ||
        loaded.DataType == DATATYPE_BINARY_MSB_FIRST) {
        loaded.Bits = section.Word("BITS");
        loaded.Scale = std::uint32_t{1} << (loaded.Bits % 32);
        if (const std::string fullScale = section.Text("FULLSCALE"); !fullScale.empty()) {
            loaded.FullScale = ReadCReal(fullScale);
        }
    }
    loaded.DecimalSeparator[0] = section.Text("SDECIMAL", 2, ".").c_str()[0];

    loaded.SeparatorLength = EncodeKey(section, "SEPARATOR", loaded.Separator);
    const bool noSeparator = loaded.SeparatorLength == 0;
    loaded.RecordStartLength = EncodeKey(section, "RECSTART", loaded.RecordStart);
    loaded.RecordEndLength = EncodeKey(section, "RECEND", loaded.RecordEnd);
    if (const int recordLength = section.Int("RECLENGTH"); recordLength != 0) {
        // 16-bit arithmetic: a length shorter than start and end wraps to one no record reaches.
        loaded.BodyLength = static_cast<std::uint16_t>(recordLength - loaded.RecordStartLength -
                                                       loaded.RecordEndLength);
    }
    ReadCommands(section, loaded);
    loaded.RequestSequenceLength = EncodeKey(section, "MEASCMD", loaded.RequestSequence);
    loaded.CommandDelay = section.Word("MEASDELAY");
    loaded.ReadTimeout = section.Word("MEASTIMEOUT");
    loaded.Options = section.Options();

    ParseFieldSpec(section.Text("CHANNEL"), loaded.ChannelField, noSeparator);
    ParseFieldSpec(section.Text("CODE"), loaded.CodeField, noSeparator);
    ParseFieldSpec(section.Text("LITERAL"), loaded.LiteralField, noSeparator);
    ParseFieldSpec(section.FirstText("VALUE1", "MEASUREMENT"), loaded.ValueAField, noSeparator);
    ParseFieldSpec(section.Text("VALUE2"), loaded.ValueBField, noSeparator);
    ParseFieldSpec(section.Text("READING"), loaded.ReadingField, noSeparator);
    return loaded;
}

int LoadGageFormat(const std::string& definitionsPath, GageRecord& gage) {
    gage.Format = ReadGageFormat(definitionsPath, gage.InterfaceTypeNumber, gage.FormatNumber);
    return 1;
}

void LoadGageFormatText(const std::string& definitionsPath, int type, int format,
                        GageFormat& form) {
    if (format == 0) {
        return;
    }
    const FormatSection section(definitionsPath, type, format);
    GageFormat text;
    text.DecimalSeparator = {'\0', '\0'};
    text.DataType = section.Word("DATATYPE");
    if (text.DataType != DATATYPE_ASCII) {
        text.Bits = section.Word("BITS");
        if (const std::string fullScale = section.Text("FULLSCALE"); !fullScale.empty()) {
            text.FullScale = ReadCReal(fullScale);
        }
    }
    text.DecimalSeparator[0] = section.Text("SDECIMAL", 2).c_str()[0];
    SetByteStringText(text.Separator, section.Text("SEPARATOR", kCommandRoom));
    SetByteStringText(text.RecordStart, section.Text("RECSTART", kCommandRoom));
    SetByteStringText(text.RecordEnd, section.Text("RECEND", kCommandRoom));
    text.BodyLength = section.Word("RECLENGTH");
    ReadCommands(section, text);
    SetByteStringText(text.RequestSequence, section.Text("MEASCMD", kCommandRoom));
    text.CommandDelay = section.Word("MEASDELAY");
    text.ReadTimeout = section.Word("MEASTIMEOUT");
    text.Options = section.Options();

    ParseFieldSpecText(section.Text("CHANNEL"), text.ChannelField);
    ParseFieldSpecText(section.Text("CODE"), text.CodeField);
    ParseFieldSpecText(section.Text("LITERAL"), text.LiteralField);
    ParseFieldSpecText(section.FirstText("VALUE1", "MEASUREMENT"), text.ValueAField);
    ParseFieldSpecText(section.Text("VALUE2"), text.ValueBField);
    ParseFieldSpecText(section.Text("READING"), text.ReadingField);
    form = text;
}

std::string ReadGageFormatDescription(const std::string& definitionsPath, int type, int format) {
    return profile::GetString(definitionsPath, GageFormatSection(type, format), "DESCRIPTION", {},
                              kDescriptionRoom);
}

bool IsFormatDescriptionTaken(const std::string& definitionsPath, int type, int format,
                              std::string_view description) {
    for (int other = kFirstDefinitionNumber; other <= kLastListedDefinitionNumber; ++other) {
        if (other == format) {
            continue;
        }
        const std::string existing = ReadGageFormatDescription(definitionsPath, type, other);
        if (!existing.empty() && EqualsIgnoreCase(existing, description)) {
            return true;
        }
    }
    return false;
}

FormatSaveResult SaveGageFormat(const std::string& definitionsPath, int type, int format,
                                const FormatDialogInput& input, const GageFormat& editingForm) {
    const std::string description = input.description.substr(0, kDescriptionRoom - 1);
    if (format > 0 && IsFormatDescriptionTaken(definitionsPath, type, format, description)) {
        return FormatSaveResult::DuplicateDescription;
    }
    const std::string section = GageFormatSection(type, format);
    profile::Batch batch(definitionsPath);
    const auto write = [&](std::string_view key, std::string_view value) {
        batch.WriteString(section, key, value);
    };
    const auto writeIfAny = [&](std::string_view key, std::string_view value) {
        if (!value.empty()) {
            write(key, value);
        }
    };
    batch.DeleteSection(section);
    write("DESCRIPTION", description);
    const int dataType = input.dataType < 0 ? 0 : input.dataType;
    write("DATATYPE", std::to_string(dataType));
    if (dataType > 0) {
        if (ReadCReal(input.fullScale) > 0.0) {
            write("FULLSCALE", input.fullScale);
        }
        if (ReadCInteger(input.bits) > 0) {
            write("BITS", input.bits);
        }
    }
    writeIfAny("SDECIMAL", input.decimalSeparator);
    writeIfAny("SEPARATOR", input.separator);
    writeIfAny("RECSTART", input.recordStart);
    writeIfAny("RECEND", input.recordEnd);
    writeIfAny("RECLENGTH", input.recordLength);

    writeIfAny("GAGEINIT", editingForm.GageInitCommand.view());
    writeIfAny("MEAS_INIT", editingForm.MeasInitCommand.view());
    writeIfAny("MEAS_START", editingForm.MeasStartCommand.view());
    writeIfAny("MEAS_STOP", editingForm.MeasStopCommand.view());
    writeIfAny("MEAS_READ", editingForm.MeasReadCommand.view());
    writeIfAny("MEASPOST", editingForm.MeasPostCommand.view());
    writeIfAny("MEASCMD", ByteStringText(editingForm.RequestSequence));
    writeIfAny("SGRPEND", editingForm.SubgroupEndCommand.view());
    writeIfAny("SGRPSTART", editingForm.SubgroupStartCommand.view());
    if (editingForm.CommandDelay > 0) {
        write("MEASDELAY", Unsigned16(editingForm.CommandDelay));
    }
    if (editingForm.ReadTimeout > 0) {
        write("MEASTIMEOUT", Unsigned16(editingForm.ReadTimeout));
    }
    const int choice = input.combinationChoice < 0 ? 0 : input.combinationChoice;
    const int options = (editingForm.Options & ~FMT_OPT_COMBINATION_MASK) |
                        (((choice + 1) << FMT_OPT_COMBINATION_SHIFT) & FMT_OPT_COMBINATION_MASK);
    write("FMTOPTS", std::to_string(options));

    const auto writeRow = [&](std::string_view key, const FieldRowInput& row) {
        if (const auto spec = FormatFieldSpec(row)) {
            write(key, *spec);
        }
    };
    writeRow("CHANNEL", input.channel);
    writeRow("CODE", input.code);
    writeRow("LITERAL", input.literal);
    writeRow("VALUE1", input.valueA);
    writeRow("VALUE2", input.valueB);
    writeRow("READING", input.reading);
    return batch.Commit() ? FormatSaveResult::Saved : FormatSaveResult::WriteFailed;
}

std::vector<DefinitionEntry> ListGageFormats(const std::string& definitionsPath, int type) {
    std::vector<DefinitionEntry> formats;
    for (int number = kFirstDefinitionNumber; number <= kLastListedDefinitionNumber; ++number) {
        std::string description = ReadGageFormatDescription(definitionsPath, type, number);
        if (!description.empty()) {
            formats.push_back({number, std::move(description)});
        }
    }
    return formats;
}

int LowestUnusedFormatNumber(const std::string& definitionsPath, int type) {
    int number = kFirstDefinitionNumber;
    while (number < 0xFFFF && !ReadGageFormatDescription(definitionsPath, type, number).empty()) {
        ++number;
    }
    return number;
}

bool RemoveGageFormat(const std::string& definitionsPath, int type, int format) {
    return profile::DeleteSection(definitionsPath, GageFormatSection(type, format));
}

}  // namespace gage
