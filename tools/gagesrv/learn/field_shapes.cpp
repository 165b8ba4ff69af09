#include "gagesrv/learn/field_shapes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <set>
#include <string_view>

#include "gagesrv/learn/binary_shape.h"

namespace gage::learn {

namespace {

constexpr std::array<std::string_view, 4> kSeparators = {";", "\t", "|", ","};
constexpr int kMaxChannel = 255;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

struct Token {
    bool number = false;
    std::size_t start = 0;
    std::size_t end = 0;  // one past the last character
    std::string_view text;
};

bool IsDecimalAt(std::string_view text, std::size_t i, bool commaDecimal) {
    return i + 1 < text.size() && (text[i] == '.' || (commaDecimal && text[i] == ',')) &&
           IsDigit(text[i + 1]);
}

// Where a number begins at i: a digit, a decimal separator before a digit, or a sign (spaces may
// follow it) before either.
bool NumberStartsAt(std::string_view text, std::size_t i, bool commaDecimal) {
    if (IsDigit(text[i]) || IsDecimalAt(text, i, commaDecimal)) {
        return true;
    }
    if (text[i] != '+' && text[i] != '-') {
        return false;
    }
    std::size_t j = i + 1;
    while (j < text.size() && text[j] == ' ') {
        ++j;
    }
    return j < text.size() && (IsDigit(text[j]) || IsDecimalAt(text, j, commaDecimal));
}

std::vector<Token> Tokenize(std::string_view text, bool commaDecimal) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        if (NumberStartsAt(text, i, commaDecimal)) {
            if (text[i] == '+' || text[i] == '-') {
                ++i;
                while (text[i] == ' ') {
                    ++i;
                }
            }
            while (i < text.size() && IsDigit(text[i])) {
                ++i;
            }
            if (IsDecimalAt(text, i, commaDecimal)) {
                ++i;
                while (i < text.size() && IsDigit(text[i])) {
                    ++i;
                }
            }
            tokens.push_back({true, start, i, text.substr(start, i - start)});
        } else if (IsLetter(text[i])) {
            while (i < text.size() && IsLetter(text[i])) {
                ++i;
            }
            tokens.push_back({false, start, i, text.substr(start, i - start)});
        } else {
            ++i;
        }
    }
    return tokens;
}

int DecimalsOf(std::string_view number) {
    const std::size_t at = number.find_first_of(".,");
    return at == std::string_view::npos ? 0 : static_cast<int>(number.size() - at - 1);
}

// One token position, seen in every record of one field.
struct Column {
    bool number = false;
    std::vector<Token> tokens;  // per record
};

// Locates a column as a FieldSpec does: start and length within the field, or false when
// it cannot be located by position.
bool Locate(const Column& column, const std::vector<std::string_view>& texts, bool last,
            Part& part) {
    std::size_t minStart = column.tokens[0].start;
    std::size_t maxStart = minStart;
    std::size_t maxEnd = column.tokens[0].end;
    bool sameEnd = true;
    for (const Token& token : column.tokens) {
        minStart = std::min(minStart, token.start);
        maxStart = std::max(maxStart, token.start);
        maxEnd = std::max(maxEnd, token.end);
        sameEnd = sameEnd && token.end == column.tokens[0].end;
    }
    const bool fixedLength = std::all_of(texts.begin(), texts.end(), [&](std::string_view text) {
        return text.size() == texts[0].size();
    });
    if (fixedLength) {
        part.start = static_cast<int>(minStart) + 1;
        part.length = last && maxEnd == texts[0].size() ? 0 : static_cast<int>(maxEnd - minStart);
        return true;
    }
    if (minStart == maxStart) {
        part.start = static_cast<int>(minStart) + 1;
        part.length = sameEnd && !last ? static_cast<int>(maxEnd - minStart) : 0;
        return true;
    }
    // Numbers that float within the field are still read from its start when only spaces come
    // before them (the reader skips those).
    for (std::size_t r = 0; r < texts.size(); ++r) {
        if (texts[r].substr(0, column.tokens[r].start).find_first_not_of(' ') !=
            std::string_view::npos) {
            return false;
        }
    }
    part.start = 1;
    part.length = 0;
    return true;
}

struct Candidates {
    std::vector<Part> numbers;  // varying numbers first in record order, then constant ones
    std::vector<bool> varying;
    std::vector<bool> integral;
    std::vector<Part> words;
    bool commaSeen = false;  // a number had a decimal comma
};

// The columns of one field over all records; false when the records differ in their make-up.
bool CollectField(const std::vector<std::string_view>& texts, int fieldNumber, char decimal,
                  Candidates& found) {
    const bool commaDecimal = decimal == ',';
    std::vector<std::vector<Token>> tokens;
    for (const std::string_view text : texts) {
        tokens.push_back(Tokenize(text, commaDecimal));
    }
    for (const auto& row : tokens) {
        if (row.size() != tokens[0].size()) {
            return false;
        }
        for (std::size_t k = 0; k < row.size(); ++k) {
            if (row[k].number != tokens[0][k].number) {
                return false;
            }
        }
    }
    for (std::size_t k = 0; k < tokens[0].size(); ++k) {
        Column column{tokens[0][k].number, {}};
        for (const auto& row : tokens) {
            column.tokens.push_back(row[k]);
        }
        Part part;
        part.fieldNumber = fieldNumber;
        if (!Locate(column, texts, k + 1 == tokens[0].size(), part)) {
            continue;
        }
        if (!column.number) {
            part.kind = PartKind::Literal;
            std::set<std::string_view> distinct;
            for (const Token& token : column.tokens) {
                part.words.emplace_back(token.text);
                distinct.insert(token.text);
            }
            if (distinct.size() == 1) {
                part.constantText = part.words[0];
            }
            found.words.push_back(part);
            continue;
        }
        bool integral = true;
        std::set<double> distinct;
        for (const Token& token : column.tokens) {
            found.commaSeen = found.commaSeen || token.text.find(',') != std::string_view::npos;
            const std::optional<double> number = ReadNumberText(token.text, decimal);
            if (!number) {
                return false;
            }
            part.numbers.push_back(*number);
            distinct.insert(*number);
            part.decimals = std::max(part.decimals, DecimalsOf(token.text));
            part.signed_ = part.signed_ || token.text[0] == '+' || token.text[0] == '-';
            integral = integral && token.text.find_first_of(".,") == std::string_view::npos;
        }
        found.numbers.push_back(part);
        found.varying.push_back(distinct.size() > 1);
        found.integral.push_back(integral);
    }
    return true;
}

bool IsChannelLike(const Part& part, bool integral, std::size_t records) {
    std::set<double> distinct(part.numbers.begin(), part.numbers.end());
    const bool inRange = std::all_of(part.numbers.begin(), part.numbers.end(),
                                     [](double n) { return n >= 0 && n <= kMaxChannel; });
    return integral && inRange && distinct.size() <= std::max<std::size_t>(2, records / 2) &&
           !part.signed_;
}

// The value, an optional channel and an optional literal from what the fields hold.
std::optional<Shape> ChooseParts(Candidates& found, Shape shape) {
    if (found.numbers.empty()) {
        return std::nullopt;
    }
    const std::size_t records = shape.records.size();
    int value = -1;
    int channel = -1;
    int varyingCount = 0;
    for (std::size_t i = 0; i < found.numbers.size(); ++i) {
        varyingCount += found.varying[i] ? 1 : 0;
    }
    for (std::size_t i = 0; i < found.numbers.size(); ++i) {
        if (!found.varying[i]) {
            continue;
        }
        const bool channelLike = IsChannelLike(found.numbers[i], found.integral[i], records);
        if (channelLike && channel < 0 && varyingCount > 1) {
            channel = static_cast<int>(i);
        } else if (value < 0) {
            value = static_cast<int>(i);
        }
    }
    if (value < 0) {
        value = channel >= 0 ? channel : 0;  // a value that never changed is still the value
        channel = value == channel ? -1 : channel;
    }
    Part valuePart = found.numbers[static_cast<std::size_t>(value)];
    valuePart.kind = PartKind::Value;
    shape.parts.push_back(valuePart);
    if (channel >= 0) {
        Part channelPart = found.numbers[static_cast<std::size_t>(channel)];
        channelPart.kind = PartKind::Channel;
        shape.parts.push_back(channelPart);
    }
    if (!found.words.empty()) {
        shape.parts.push_back(found.words.front());
    }
    return shape;
}

std::vector<std::string_view> SplitFields(std::string_view body, std::string_view separator) {
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    for (std::size_t at = body.find(separator); at != std::string_view::npos;
         at = body.find(separator, from)) {
        fields.push_back(body.substr(from, at - from));
        from = at + separator.size();
    }
    fields.push_back(body.substr(from));
    return fields;
}

std::optional<Shape> TextShape(const Framing& framing, const std::vector<std::size_t>& records,
                               std::string_view separator) {
    std::vector<std::vector<std::string_view>> fields;
    for (const std::size_t r : records) {
        fields.push_back(separator.empty() ? std::vector<std::string_view>{framing.bodies[r]}
                                           : SplitFields(framing.bodies[r], separator));
        if (fields.back().size() != fields.front().size()) {
            return std::nullopt;
        }
    }
    Shape shape;
    shape.separator = std::string(separator);
    shape.records = records;
    // A comma is a decimal separator wherever it does not separate fields.
    char decimal = separator == "," ? '.' : ',';
    Candidates found;
    for (std::size_t f = 0; f < fields.front().size(); ++f) {
        std::vector<std::string_view> texts;
        for (const auto& row : fields) {
            texts.push_back(row[f]);
        }
        if (!CollectField(texts, static_cast<int>(f) + 1, decimal, found)) {
            return std::nullopt;
        }
    }
    shape.decimalSeparator = decimal == ',' && found.commaSeen ? ',' : '.';
    return ChooseParts(found, shape);
}

std::optional<Shape> TextShape(const Framing& framing, const std::vector<std::size_t>& records) {
    for (const std::string_view separator : kSeparators) {
        const std::size_t count = std::count(framing.bodies[records[0]].begin(),
                                             framing.bodies[records[0]].end(), separator[0]);
        const bool shared = count > 0 && std::all_of(records.begin(), records.end(), [&](auto r) {
                                return static_cast<std::size_t>(std::count(
                                           framing.bodies[r].begin(), framing.bodies[r].end(),
                                           separator[0])) == count;
                            });
        if (shared) {
            if (std::optional<Shape> shape = TextShape(framing, records, separator)) {
                return shape;
            }
        }
    }
    return TextShape(framing, records, {});
}

std::optional<Shape> ShapeOf(const Framing& framing, const std::vector<std::size_t>& records) {
    if (records.empty()) {
        return std::nullopt;
    }
    return framing.binary ? BinaryShape(framing, records) : TextShape(framing, records);
}

}  // namespace

std::optional<double> ReadNumberText(std::string_view text, char decimalSeparator) {
    std::string plain;
    for (const char c : text) {
        if (c == decimalSeparator || c == '.') {
            plain += '.';
        } else if (c != ' ' && c != '+') {
            plain += c;
        }
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc{} || end != plain.data() + plain.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<Shape> FindShape(const Framing& framing) {
    std::vector<std::size_t> all(framing.bodies.size());
    for (std::size_t r = 0; r < all.size(); ++r) {
        all[r] = r;
    }
    if (std::optional<Shape> shape = ShapeOf(framing, all)) {
        return shape;
    }
    if (framing.partialFirst && all.size() >= 3) {
        return ShapeOf(framing, std::vector<std::size_t>(all.begin() + 1, all.end()));
    }
    return std::nullopt;
}

}  // namespace gage::learn
