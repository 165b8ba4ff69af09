#include "record_template.h"

#include <array>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace gagesim {
namespace {

using Piece = RecordTemplate::Piece;

// True when format holds exactly one conversion, whose flags and width come from flagChars and
// whose kind is one of kinds, and nothing that would read another argument.
bool HasSingleConversion(const std::string& format, std::string_view flagChars,
                         std::string_view kinds) {
    int conversions = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < format.size() && flagChars.find(format[j]) != std::string_view::npos) {
            ++j;
        }
        if (j >= format.size() || kinds.find(format[j]) == std::string_view::npos) {
            return false;
        }
        ++conversions;
        i = j;
    }
    return conversions == 1;
}

bool ValidDoubleFormat(const std::string& format) {
    return HasSingleConversion(format, "-+ #0123456789.", "fFeEgGaA");
}

bool ValidIntFormat(const std::string& format) {
    return HasSingleConversion(format, "-+ #0123456789", "dixX");
}

bool ParseField(std::string_view name, std::string_view argument, bool hasArgument,
                RecordTemplate& result, std::string& error) {
    Piece piece;
    const std::string arg(argument);
    if (name == "value" || name == "abs") {
        piece.kind = name == "value" ? Piece::Kind::Value : Piece::Kind::Abs;
        piece.text = hasArgument ? arg : "%.4f";
        if (!ValidDoubleFormat(piece.text)) {
            error = "bad number format: " + piece.text;
            return false;
        }
    } else if (name == "sign") {
        piece.kind = Piece::Kind::Sign;
        piece.text = hasArgument && !arg.empty() ? arg.substr(0, 1) : "+";
    } else if (name == "sep") {
        piece.kind = Piece::Kind::Separator;
        piece.text = hasArgument && !arg.empty() ? arg.substr(0, 1) : ".";
    } else if (name == "channel" || name == "count") {
        piece.kind = name == "channel" ? Piece::Kind::Channel : Piece::Kind::Count;
        piece.text = hasArgument ? arg : "%d";
        if (!ValidIntFormat(piece.text)) {
            error = "bad integer format: " + piece.text;
            return false;
        }
    } else if (name == "int16le" || name == "int16be" || name == "int32le" || name == "int32be") {
        piece.kind = Piece::Kind::Binary;
        piece.width = name.substr(3, 2) == "16" ? 2 : 4;
        piece.bigEndian = name.substr(5) == "be";
        if (hasArgument) {
            char* end = nullptr;
            piece.scale = std::strtod(arg.c_str(), &end);
            if (end == arg.c_str() || *end != '\0') {
                error = "bad scale: " + arg;
                return false;
            }
        }
    } else if (name == "wide") {
        result.wide = true;
        return true;
    } else {
        error = "unknown field: {" + std::string(name) + "}";
        return false;
    }
    result.pieces.push_back(piece);
    return true;
}

void AppendLiteral(RecordTemplate& result, char c) {
    if (result.pieces.empty() || result.pieces.back().kind != Piece::Kind::Literal) {
        result.pieces.push_back(Piece{});
    }
    result.pieces.back().text.push_back(c);
}

std::string FormatNumber(const std::string& format, double value, char separator) {
    std::array<char, 128> text{};
    std::snprintf(text.data(), text.size(), format.c_str(), value);
    std::string out(text.data());
    const char point = std::localeconv()->decimal_point[0];
    for (char& c : out) {
        if (c == point) {
            c = separator;
        }
    }
    return out;
}

}  // namespace

bool ParseRecordTemplate(std::string_view text, RecordTemplate& result, std::string& error) {
    result = RecordTemplate{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '<') {
            std::size_t j = i + 1;
            int byte = 0;
            while (j < text.size() && j < i + 4 && text[j] >= '0' && text[j] <= '9') {
                byte = byte * 10 + (text[j] - '0');
                ++j;
            }
            if (j > i + 1 && j < text.size() && text[j] == '>' && byte <= 255) {
                AppendLiteral(result, static_cast<char>(byte));
                i = j;
                continue;
            }
            AppendLiteral(result, c);
            continue;
        }
        if (c == '{') {
            const std::size_t close = text.find('}', i);
            if (close == std::string_view::npos) {
                error = "unclosed { in template";
                return false;
            }
            const std::string_view body = text.substr(i + 1, close - i - 1);
            const std::size_t colon = body.find(':');
            const bool hasArgument = colon != std::string_view::npos;
            if (!ParseField(body.substr(0, colon),
                            hasArgument ? body.substr(colon + 1) : std::string_view(), hasArgument,
                            result, error)) {
                return false;
            }
            i = close;
            continue;
        }
        AppendLiteral(result, c);
    }
    return true;
}

std::string RenderRecord(const RecordTemplate& recordTemplate, double value, int channel,
                         int count) {
    std::string out;
    char separator = '.';
    for (const Piece& piece : recordTemplate.pieces) {
        switch (piece.kind) {
            case Piece::Kind::Literal:
                out += piece.text;
                break;
            case Piece::Kind::Value:
                out += FormatNumber(piece.text, value, separator);
                break;
            case Piece::Kind::Abs:
                out += FormatNumber(piece.text, std::fabs(value), separator);
                break;
            case Piece::Kind::Sign:
                out += std::signbit(value) ? '-' : piece.text[0];
                break;
            case Piece::Kind::Separator:
                separator = piece.text[0];
                break;
            case Piece::Kind::Channel:
            case Piece::Kind::Count: {
                std::array<char, 64> text{};
                std::snprintf(text.data(), text.size(), piece.text.c_str(),
                              piece.kind == Piece::Kind::Channel ? channel : count);
                out += text.data();
                break;
            }
            case Piece::Kind::Binary: {
                const auto scaled = static_cast<std::int64_t>(std::llround(value * piece.scale));
                const auto bits = static_cast<std::uint32_t>(scaled);
                for (int k = 0; k < piece.width; ++k) {
                    const int shift = piece.bigEndian ? 8 * (piece.width - 1 - k) : 8 * k;
                    out += static_cast<char>((bits >> shift) & 0xFFu);
                }
                break;
            }
        }
    }
    if (!recordTemplate.wide) {
        return out;
    }
    std::string wide;
    wide.reserve(out.size() * 2);
    for (const char c : out) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

}  // namespace gagesim
