#include "gagesrv/monitor_render.h"

#include <array>
#include <cstdio>

namespace gage::gagesrv {

namespace {

// Pairs per hex line: the dialog's view wraps by itself; a terminal needs a break now and then.
constexpr std::size_t kHexPairsPerLine = 16;

bool ShownAsItself(std::uint8_t byte) {
    return (byte >= 0x20 && byte <= 0x7E) || byte == '\r' || byte == '\n' || byte == '\t';
}

}  // namespace

std::string ByteRenderer::Render(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        if (view_ == MonitorView::Hex) {
            std::array<char, 4> pair{};
            std::snprintf(pair.data(), pair.size(), "%02X ", static_cast<unsigned>(byte));
            text += pair.data();
            if (++hexColumn_ == kHexPairsPerLine) {
                text += '\n';
                hexColumn_ = 0;
            }
        } else if (ShownAsItself(byte)) {
            text += static_cast<char>(byte);
        } else {
            text += '<';
            text += std::to_string(static_cast<unsigned>(byte));
            text += '>';
        }
    }
    return text;
}

std::string ByteRenderer::Finish() {
    if (view_ == MonitorView::Hex && hexColumn_ != 0) {
        hexColumn_ = 0;
        return "\n";
    }
    return {};
}

}  // namespace gage::gagesrv
