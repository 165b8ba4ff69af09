#pragma once
// Gage formats in BRW_GAGE.DEF (section "TYPE<t>.<f>"): the runtime loader that gives each gage
// its decoded format, and the loader and writer behind the format dialog.

#include <string>
#include <vector>

#include "config/definition_sections.h"
#include "config/field_spec.h"
#include "config/gage_record.h"

namespace gage {

// The runtime form of format (type, format): byte strings encoded, field specifications parsed.
// A missing file or section gives every field its default.
GageFormat ReadGageFormat(const std::string& definitionsPath, int type, int format);

// Fills gage.Format from the section named by the gage's interface type and format numbers.
// Always returns 1.
int LoadGageFormat(const std::string& definitionsPath, GageRecord& gage);

// Fills the editing form (texts as written in the file) from section (type, format); with
// format 0 the form is left as it is.
void LoadGageFormatText(const std::string& definitionsPath, int type, int format, GageFormat& form);

// What the format dialog's controls hold when a format is saved.
struct FormatDialogInput {
    std::string description;
    int dataType = -1;  // item data of the Type selection; below 0 when nothing is selected
    std::string fullScale;
    std::string bits;
    std::string decimalSeparator;
    std::string separator;
    std::string recordStart;
    std::string recordEnd;
    std::string recordLength;
    int combinationChoice = -1;  // 0 "Value A" to 4 "Sum (A + B)"; below 0 when none
    FieldRowInput channel;
    FieldRowInput code;
    FieldRowInput literal;
    FieldRowInput valueA;
    FieldRowInput valueB;
    FieldRowInput reading;
};

enum class FormatSaveResult {
    Saved,
    DuplicateDescription,  // another format of the type has it: the caller reports error 109
    WriteFailed,           // the file could not be written; it is unchanged
};

// Replaces section (type, format) with the dialog's controls and the editing form's commands,
// delays and option bits 0 to 3 and 8 to 15. For format 1 or more the description must not be
// used by another format of the type (case ignored); format 0 is never checked.
FormatSaveResult SaveGageFormat(const std::string& definitionsPath, int type, int format,
                                const FormatDialogInput& input, const GageFormat& editingForm);

// True when a format of type other than format, numbered 1 to 100, has description (case
// ignored).
bool IsFormatDescriptionTaken(const std::string& definitionsPath, int type, int format,
                              std::string_view description);

std::string ReadGageFormatDescription(const std::string& definitionsPath, int type, int format);
// Formats 1 to 100 of type that have a description, in ascending order.
std::vector<DefinitionEntry> ListGageFormats(const std::string& definitionsPath, int type);
// The lowest format number from 1 whose section has no description.
int LowestUnusedFormatNumber(const std::string& definitionsPath, int type);
// Deletes section (type, format). Gages keep their loaded copy until the next load.
bool RemoveGageFormat(const std::string& definitionsPath, int type, int format);

}  // namespace gage
