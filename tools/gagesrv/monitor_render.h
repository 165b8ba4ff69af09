#pragma once
// How gagesrv monitor shows received bytes in a terminal: as hexadecimal pairs, or as text in
// which every byte that could upset the terminal (escape sequences, bells, zero bytes) is shown
// as the <n> token a user would type to send it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace gage::gagesrv {

enum class MonitorView { Raw, Hex };

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

}  // namespace gage::gagesrv
