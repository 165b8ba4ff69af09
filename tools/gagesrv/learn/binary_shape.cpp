#include "gagesrv/learn/binary_shape.h"

#include <algorithm>
#include <cstdint>
#include <set>

namespace gage::learn {

std::optional<Shape> BinaryShape(const Framing& framing, const std::vector<std::size_t>& records) {
    const std::size_t length = framing.bodies[records[0]].size();
    std::vector<bool> varying(length, false);
    std::vector<bool> padding(length, true);  // 00 or FF throughout
    std::vector<std::set<char>> distinct(length);
    for (const std::size_t r : records) {
        for (std::size_t c = 0; c < length; ++c) {
            const char byte = framing.bodies[r][c];
            varying[c] = varying[c] || byte != framing.bodies[records[0]][c];
            padding[c] = padding[c] && (byte == '\0' || byte == '\xff');
            distinct[c].insert(byte);
        }
    }
    const auto first = std::find(varying.begin(), varying.end(), true);
    if (first == varying.end()) {
        return std::nullopt;
    }
    std::size_t a = static_cast<std::size_t>(first - varying.begin());
    std::size_t b = length - 1 -
                    static_cast<std::size_t>(std::find(varying.rbegin(), varying.rend(), true) -
                                             varying.rbegin());
    if (b - a + 1 > 4) {
        return std::nullopt;
    }
    const bool leftPad = a > 0 && padding[a - 1];
    const bool rightPad = b + 1 < length && padding[b + 1];
    bool msbFirst = leftPad && !rightPad;
    if (leftPad == rightPad) {
        // A count's high byte changes least often.
        msbFirst = distinct[a].size() < distinct[b].size();
    }
    for (const std::size_t width : {std::size_t{4}, std::size_t{2}}) {
        while (b - a + 1 < width &&
               (msbFirst ? a > 0 && padding[a - 1] : b + 1 < length && padding[b + 1])) {
            msbFirst ? --a : ++b;
        }
        if (b - a + 1 >= width) {
            break;
        }
    }
    Part part;
    part.start = static_cast<int>(a) + 1;
    part.length = static_cast<int>(b - a + 1);
    part.msbFirst = msbFirst;
    for (const std::size_t r : records) {
        std::uint32_t word = 0;
        for (std::size_t i = 0; i < static_cast<std::size_t>(part.length); ++i) {
            const auto byte =
                static_cast<unsigned char>(framing.bodies[r][msbFirst ? a + i : b - i]);
            word = (word << 8) | byte;
        }
        part.numbers.push_back(part.length == 4
                                   ? static_cast<double>(static_cast<std::int32_t>(word))
                                   : static_cast<double>(word));
    }
    Shape shape;
    shape.records = records;
    shape.parts.push_back(part);
    return shape;
}

}  // namespace gage::learn
