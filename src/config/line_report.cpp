#include "config/line_report.h"

#include "config/c_number_text.h"
#include "config/field_tokenizer.h"
#include "config/gage_record.h"

namespace gage {

void LineNotes::Change(LineNote note) const {
    if (report_ != nullptr) {
        report_->changes.push_back(std::move(note));
    }
}

void LineNotes::Skip(LineNote note) const {
    if (report_ != nullptr) {
        report_->skipped = std::move(note);
    }
}

std::int32_t LineNotes::Integer(std::string_view text, std::string_view field) const {
    const CNumberReading<std::int32_t> reading = ReadCIntegerField(text);
    if (!reading.asWritten) {
        Change(LineNote(LineNoteKind::NumberNotAsWritten, std::string(text),
                        std::to_string(reading.value), field));
    }
    return reading.value;
}

double LineNotes::Real(std::string_view text, std::string_view field) const {
    const CNumberReading<double> reading = ReadCRealField(text);
    if (!reading.asWritten) {
        Change(LineNote(LineNoteKind::NumberNotAsWritten, std::string(text),
                        FormatCReal(reading.value), field));
    }
    return reading.value;
}

std::string_view LineNotes::Name(std::string_view raw) const {
    const std::string_view name = NameFromField(raw);
    if (raw.size() >= kNameSize) {
        Change(LineNote::Counted(LineNoteKind::NameTooLong, raw.size(), kNameSize - 1));
    } else if (name.empty()) {
        Change(LineNote(LineNoteKind::NameEmpty));
    } else if (name != raw) {
        Change(LineNote(LineNoteKind::NameTrimmed, std::string(raw), std::string(name)));
    }
    return name;
}

}  // namespace gage
