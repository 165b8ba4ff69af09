#include "reading/field_conditions.h"

#include <string>

#include "config/field_tokenizer.h"
#include "reading/gage_number.h"
#include "reading/text_compare.h"

namespace gage {

namespace {

enum class Operator { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, None };

Operator OperatorOf(std::string_view condition) {
    auto upper = [&](std::size_t i) {
        const char c = i < condition.size() ? condition[i] : '\0';
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    };
    const char word[3] = {upper(0), upper(1), '\0'};
    const std::string_view op(word, 2);
    if (op == "EQ")
        return Operator::Equal;
    if (op == "NE")
        return Operator::NotEqual;
    if (op == "LT")
        return Operator::Less;
    if (op == "LE")
        return Operator::LessOrEqual;
    if (op == "GT")
        return Operator::Greater;
    if (op == "GE")
        return Operator::GreaterOrEqual;
    return Operator::None;
}

// The literal list: the text after the first "(" up to the next ")". False when there is none.
bool LiteralList(std::string_view condition, std::string_view& list) {
    const std::size_t open = condition.find('(');
    if (open == std::string_view::npos) {
        return false;
    }
    const std::size_t close = condition.find(')', open + 1);
    if (close == std::string_view::npos || condition.find(')') < open) {
        return false;
    }
    list = condition.substr(open + 1, close - open - 1);
    return true;
}

// Whether comparison (negative, zero, positive: value against literal) satisfies op.
bool Satisfies(Operator op, int comparison) {
    switch (op) {
        case Operator::Equal:
            return comparison == 0;
        case Operator::NotEqual:
            return comparison != 0;
        case Operator::Less:
            return comparison < 0;
        case Operator::LessOrEqual:
            return comparison <= 0;
        case Operator::Greater:
            return comparison > 0;
        case Operator::GreaterOrEqual:
            return comparison >= 0;
        case Operator::None:
            return true;
    }
    return true;
}

template <typename Compare>
bool TestCondition(std::string_view condition, Compare compare) {
    std::string_view list;
    if (!LiteralList(condition, list)) {
        return true;
    }
    const Operator op = OperatorOf(condition);
    FieldScanner literals(list);
    while (const auto literal = literals.NextField(',')) {
        if (!compare(op, *literal)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool TestNumericCondition(double value, std::string_view condition, char userSeparator) {
    return TestCondition(condition, [&](Operator op, std::string_view literal) {
        const double bound = ParseGageNumber(literal, userSeparator);
        switch (op) {
            case Operator::Equal:
                return value == bound;
            case Operator::NotEqual:
                return value != bound;
            case Operator::Less:
                return value < bound;
            case Operator::LessOrEqual:
                return value <= bound;
            case Operator::Greater:
                return value > bound;
            case Operator::GreaterOrEqual:
                return value >= bound;
            case Operator::None:
                return true;
        }
        return true;
    });
}

bool TestTextCondition(const char* text, std::string_view condition) {
    return TestCondition(condition, [&](Operator op, std::string_view literal) {
        const std::string wanted(literal.substr(0, literal.find('\0')));
        return Satisfies(op, CompareTextIgnoreCase(text ? text : "", wanted.c_str()));
    });
}

}  // namespace gage
