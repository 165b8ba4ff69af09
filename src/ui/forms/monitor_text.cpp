#include "ui/forms/monitor_text.h"

#include <algorithm>

namespace gage {

namespace {

// Pairs per hex line in a terminal; the dialog's view wraps by itself.
constexpr std::size_t kHexPairsPerLine = 16;
constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendHexPair(std::string& text, std::uint8_t byte) {
    text += kHexDigits[byte >> 4];
    text += kHexDigits[byte & 0x0F];
    text += ' ';
}

bool ShownAsItself(std::uint8_t byte) {
    return (byte >= 0x20 && byte <= 0x7E) || byte == '\r' || byte == '\n' || byte == '\t';
}

}  // namespace

std::string HexPairs(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        AppendHexPair(text, byte);
    }
    return text;
}

MonitorTickText RenderMonitorTick(std::span<const std::uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return {HexPairs(bytes), std::string(bytes.begin(), end)};
}

std::string ByteRenderer::Render(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        if (view_ == MonitorView::Hex) {
            AppendHexPair(text, byte);
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

}  // namespace gage
