#include "gagesrv/text/learn_output.h"

#include "gagesrv/text/reading_output.h"

namespace gage::gagesrv {

namespace {

using learn::PartKind;

std::string Position(const learn::Part& part, bool separated) {
    std::string text = separated ? "field " + std::to_string(part.fieldNumber) + ", " : "";
    text += part.length == 0
                ? "from character " + std::to_string(part.start)
                : std::to_string(part.length) + " characters from " + std::to_string(part.start);
    return text;
}

std::string Shown(const std::string& text) {
    return text.empty() ? "none" : text;
}

}  // namespace

std::string LearnSummary(const LearnReport& report) {
    const learn::Proposal& proposal = report.outcome.proposal;
    const FormatDialogInput& format = proposal.format;
    const bool separated = !proposal.shape.separator.empty();
    std::string text;
    if (report.lineFound) {
        text += "Line settings:   " + learn::LineSettingText(*report.lineFound) + "\n";
    }
    if (proposal.framing.binary) {
        text += "Records:         " + std::to_string(proposal.framing.recordLength) +
                " bytes each, starting with " + format.recordStart + "\n";
    } else {
        text += "Records:         end with " + format.recordEnd +
                (format.recordStart.empty() ? "" : ", start with " + format.recordStart) + "\n";
        text += "Separator:       " + Shown(format.separator) + "\n";
        text += "Decimal:         \"" + format.decimalSeparator + "\"\n";
    }
    for (const learn::Part& part : proposal.shape.parts) {
        if (part.kind == PartKind::Value) {
            text += "Value:           " + Position(part, separated);
            if (proposal.framing.binary) {
                text += std::string(part.msbFirst ? ", high byte first" : ", low byte first") +
                        ", as a raw count";
            } else {
                text += part.signed_ ? ", signed" : ", no sign";
                text += ", " + std::to_string(part.decimals) + " decimals";
            }
            text += "\n";
        } else if (part.kind == PartKind::Channel) {
            text += "Channel:         " + Position(part, separated) + "\n";
        } else {
            text += "Literal:         " + Position(part, separated) +
                    (part.constantText.empty() ? ", varies"
                                               : ", always \"" + part.constantText + "\"") +
                    "\n";
        }
    }
    const learn::Check& check = report.outcome.check;
    text += "Check:           the format reads " + std::to_string(check.explained) + " of " +
            std::to_string(check.records) + " records seen back to their values; confidence " +
            std::to_string(check.confidence) + "%\n";
    if (report.entries != nullptr) {
        text += std::string(report.written ? "\nWritten" : "\nTo be written with --write") +
                " to BRW_GAGE.DEF:\n" + report.entries->definitionText;
        if (!report.entries->configurationText.empty()) {
            text += "\nand to BRW_GAGE.CFG:\n" + report.entries->configurationText;
        } else {
            text += "\n(no gage line: the device is not reachable under a COM port number)\n";
        }
    }
    return text;
}

std::string LearnJson(const LearnReport& report) {
    const learn::Proposal& proposal = report.outcome.proposal;
    const FormatDialogInput& format = proposal.format;
    const learn::Check& check = report.outcome.check;
    std::string json = "{\"ok\":true,\"records\":" + std::to_string(check.records) +
                       ",\"explained\":" + std::to_string(check.explained) +
                       ",\"confidence\":" + std::to_string(check.confidence) + ",\"line\":" +
                       (report.lineFound ? JsonString(learn::LineSettingText(*report.lineFound))
                                         : std::string("null")) +
                       ",\"recordStart\":" + JsonString(format.recordStart) +
                       ",\"recordEnd\":" + JsonString(format.recordEnd) +
                       ",\"recordLength\":" + std::to_string(proposal.framing.recordLength) +
                       ",\"separator\":" + JsonString(format.separator) +
                       ",\"decimal\":" + JsonString(format.decimalSeparator) +
                       ",\"dataType\":" + std::to_string(format.dataType);
    if (report.entries != nullptr) {
        json += ",\"type\":" + std::to_string(report.entries->type) +
                ",\"format\":" + std::to_string(report.entries->format) +
                ",\"gage\":" + JsonString(report.entries->gageName) +
                ",\"definitions\":" + JsonString(report.entries->definitionText) +
                ",\"configuration\":" + JsonString(report.entries->configurationText);
    }
    return json + ",\"written\":" + (report.written ? "true" : "false") + "}";
}

std::string LearnFailureJson(const std::string& message) {
    return "{\"ok\":false,\"error\":" + JsonString(message) + "}";
}

}  // namespace gage::gagesrv
