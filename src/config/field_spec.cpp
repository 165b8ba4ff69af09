#include "config/field_spec.h"

#include "config/c_number_text.h"
#include "config/field_tokenizer.h"

namespace gage {

int ParseFieldSpec(std::string_view text, FieldSpec& spec, bool noSeparator) {
    text = text.substr(0, text.find('\0'));
    if (text.empty()) {
        return 0;
    }
    FieldSpec parsed;
    FieldScanner scanner(text);
    if (const auto field = scanner.NextField(',')) {
        parsed.FieldNumber = static_cast<std::uint16_t>(ReadCInteger(*field));
    }
    if (parsed.FieldNumber == 0 && !noSeparator) {
        return 0;
    }
    if (const auto field = scanner.NextField(',')) {
        parsed.StartPosition = static_cast<std::uint16_t>(ReadCInteger(*field));
    }
    if (parsed.StartPosition < 1) {
        parsed.StartPosition = 1;
    }
    if (const auto field = scanner.NextField(',')) {
        parsed.Length = static_cast<std::uint16_t>(ReadCInteger(*field));
    }
    if (const auto rest = scanner.RestField(); rest && rest->size() < kConditionSize) {
        parsed.Condition = *rest;
    }
    parsed.Defined = 1;
    spec = parsed;
    return 1;
}

void ParseFieldSpecText(std::string_view text, FieldSpec& spec) {
    spec = FieldSpec{};
    FieldScanner scanner(text);
    if (const auto field = scanner.NextField(',')) {
        spec.FieldNumber = static_cast<std::uint16_t>(ReadCInteger(*field));
    }
    if (const auto field = scanner.NextField(',')) {
        spec.StartPosition = static_cast<std::uint16_t>(ReadCInteger(*field));
    }
    if (const auto field = scanner.NextField(',')) {
        spec.Length = static_cast<std::uint16_t>(ReadCInteger(*field));
    }
    if (const auto rest = scanner.RestField()) {
        spec.Condition = *rest;
    }
}

std::optional<std::string> FormatFieldSpec(const FieldRowInput& row) {
    const auto number = [](std::string_view box) {
        return box.empty() ? 0 : ReadCInteger(box.substr(0, 3));
    };
    const std::int32_t fieldNumber = number(row.fieldNumber);
    const std::int32_t start = number(row.startPosition);
    const std::int32_t length = number(row.length);
    if (fieldNumber < 1 && (start < 1 || length < 1)) {
        return std::nullopt;
    }
    std::string text =
        std::to_string(fieldNumber) + "," + std::to_string(start) + "," + std::to_string(length);
    const std::string_view op = std::string_view(row.op).substr(0, 3);
    const std::string_view literal = std::string_view(row.literal).substr(0, 15);
    if (!op.empty() && !literal.empty()) {
        text += ",";
        text += op;
        text += "(\"";
        text += literal;
        text += "\")";
    }
    return text;
}

ConditionParts SplitCondition(std::string_view condition) {
    ConditionParts parts;
    const std::size_t open = condition.find('(');
    parts.op = std::string(condition.substr(0, open));
    if (open == std::string_view::npos) {
        return parts;
    }
    const std::string_view rest = condition.substr(open + 1);
    if (!rest.empty() && rest.front() == '"') {
        parts.literal = std::string(rest.substr(1, rest.find('"', 1) - 1));
    }
    return parts;
}

}  // namespace gage
