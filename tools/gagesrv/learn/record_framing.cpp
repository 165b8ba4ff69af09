#include "gagesrv/learn/record_framing.h"

#include <algorithm>
#include <array>

namespace gage::learn {

namespace {

constexpr double kTextShare = 0.75;  // below this share of text bytes, traffic is binary
constexpr int kMaxBinaryLength = 64;
constexpr int kMinBinaryRecords = 4;  // fewer could show a constant column by chance
constexpr char kStx = '\x02';

Framing FrameByTerminator(std::string_view traffic) {
    static constexpr std::array<std::string_view, 5> kTerminators = {"\r\n", "\n\r", "\r", "\n",
                                                                     "\x03"};
    Framing framing;
    for (const std::string_view terminator : kTerminators) {
        if (traffic.find(terminator) == std::string_view::npos) {
            continue;
        }
        framing.end = std::string(terminator);
        std::size_t from = 0;
        for (std::size_t at = traffic.find(terminator); at != std::string_view::npos;
             at = traffic.find(terminator, from)) {
            framing.bodies.emplace_back(traffic.substr(from, at - from));
            from = at + terminator.size();
        }
        break;
    }
    if (framing.bodies.empty()) {
        return framing;
    }
    // A start byte counts when every record but a cut-off first one holds it.
    const bool allHaveStart = std::all_of(
        framing.bodies.begin() + (framing.bodies.size() > 1 ? 1 : 0), framing.bodies.end(),
        [](const std::string& body) { return body.find(kStx) != std::string::npos; });
    if (allHaveStart) {
        framing.start = std::string(1, kStx);
        for (std::string& body : framing.bodies) {
            const std::size_t at = body.find(kStx);
            body = at == std::string::npos ? body : body.substr(at + 1);
        }
    }
    framing.partialFirst = true;  // capture may have begun inside a record
    return framing;
}

// For length L, which byte columns (position modulo L) hold one value throughout.
std::vector<bool> ConstantColumns(std::string_view traffic, int length) {
    std::vector<bool> constant(static_cast<std::size_t>(length), true);
    for (std::size_t p = static_cast<std::size_t>(length); p < traffic.size(); ++p) {
        if (traffic[p] != traffic[p - static_cast<std::size_t>(length)]) {
            constant[p % static_cast<std::size_t>(length)] = false;
        }
    }
    return constant;
}

Framing FrameByLength(std::string_view traffic) {
    Framing framing;
    for (int length = 2; length <= kMaxBinaryLength; ++length) {
        if (traffic.size() < static_cast<std::size_t>(length * (kMinBinaryRecords + 1))) {
            break;
        }
        const std::vector<bool> constant = ConstantColumns(traffic, length);
        const auto constantCount = std::count(constant.begin(), constant.end(), true);
        if (constantCount == 0 || constantCount == length) {
            continue;
        }
        // A record begins at the first constant column that follows a varying one.
        int first = 0;
        for (int c = 0; c < length; ++c) {
            if (constant[static_cast<std::size_t>(c)] &&
                !constant[static_cast<std::size_t>((c + length - 1) % length)]) {
                first = c;
                break;
            }
        }
        framing.binary = true;
        framing.recordLength = length;
        framing.start = std::string(1, traffic[static_cast<std::size_t>(first)]);
        for (std::size_t p = static_cast<std::size_t>(first);
             p + static_cast<std::size_t>(length) <= traffic.size();
             p += static_cast<std::size_t>(length)) {
            framing.bodies.emplace_back(
                traffic.substr(p + 1, static_cast<std::size_t>(length) - 1));
        }
        return framing;
    }
    return framing;
}

}  // namespace

bool IsTextByte(unsigned char byte) {
    return (byte >= 0x20 && byte < 0x7F) || byte == '\r' || byte == '\n' || byte == '\t';
}

Framing FrameTraffic(std::string_view traffic) {
    const auto text = std::count_if(traffic.begin(), traffic.end(), [](char c) {
        return IsTextByte(static_cast<unsigned char>(c));
    });
    if (!traffic.empty() &&
        static_cast<double>(text) < kTextShare * static_cast<double>(traffic.size())) {
        Framing binary = FrameByLength(traffic);
        if (!binary.bodies.empty()) {
            return binary;
        }
    }
    return FrameByTerminator(traffic);
}

}  // namespace gage::learn
