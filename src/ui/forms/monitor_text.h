#pragma once
// How received bytes are shown, by the Serial Data Monitor and by gagesrv monitor alike: as
// upper-case hexadecimal pairs, or as text. The dialog's text view takes the bytes as they are
// (a zero byte ends one tick's text); a terminal gets every byte that could upset it (escape
// sequences, bells, zero bytes) as the <n> token a user would type to send it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace gage {

// "%02X " of each byte, no line breaks.
std::string HexPairs(std::span<const std::uint8_t> bytes);

// What one poll tick adds to each of the monitor dialog's two views.
struct MonitorTickText {
    std::string hex;  // every byte, "%02X " each
    std::string raw;  // the bytes as they came, up to the first zero byte
};
MonitorTickText RenderMonitorTick(std::span<const std::uint8_t> bytes);

enum class MonitorView { Raw, Hex };

// The terminal's rendering, which keeps its hex lines short and its text harmless.
class ByteRenderer {
  public:
    explicit ByteRenderer(MonitorView view) : view_(view) {}

    // The text for bytes, continuing where the previous call left off.
    std::string Render(std::span<const std::uint8_t> bytes);
    // What ends the output tidily: a line break when the hex view is in mid-line.
    std::string Finish();

  private:
    MonitorView view_;
    std::size_t hexColumn_ = 0;  // pairs on the current hex line
};

}  // namespace gage
