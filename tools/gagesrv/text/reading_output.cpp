#include "gagesrv/text/reading_output.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace gage::gagesrv {

namespace {

// The result's texts are zero-terminated inside fixed fields; a full field has no terminator.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    std::size_t length = 0;
    while (length < N && field[length] != '\0') {
        ++length;
    }
    return std::string(field, length);
}

}  // namespace

std::string ShortestNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";  // JSON has no infinities; a gage value never is one
    }
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (error != std::errc()) {
        return "null";
    }
    return std::string(buffer.data(), end);
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string VisibleText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        // The texts are printed in double quotes, so a quote inside is shown as a token too.
        if (byte < 0x20 || byte == 0x7F || c == '"') {
            out += "<" + std::to_string(byte) + ">";
        } else {
            out += c;
        }
    }
    return out;
}

std::string ReadingText(const PrintedReading& reading) {
    if (reading.result == nullptr) {
        return reading.gage + ": no reading";
    }
    const ReadingResult& result = *reading.result;
    return reading.gage + ": reading " + std::to_string(result.ReadingNumber) + ", channel " +
           std::to_string(result.Channel) + ", value " + ShortestNumber(result.Value) +
           ", code \"" + VisibleText(FieldText(result.Code)) + "\", literal \"" +
           VisibleText(FieldText(result.Literal)) + "\"";
}

std::string ReadingJson(const PrintedReading& reading) {
    std::string out =
        "{\"gage\":" + JsonString(reading.gage) + ",\"round\":" + std::to_string(reading.round);
    if (reading.result == nullptr) {
        return out + ",\"ok\":false}";
    }
    const ReadingResult& result = *reading.result;
    return out + ",\"ok\":true,\"reading\":" + std::to_string(result.ReadingNumber) +
           ",\"channel\":" + std::to_string(result.Channel) +
           ",\"value\":" + ShortestNumber(result.Value) +
           ",\"code\":" + JsonString(FieldText(result.Code)) +
           ",\"literal\":" + JsonString(FieldText(result.Literal)) + "}";
}

}  // namespace gage::gagesrv
