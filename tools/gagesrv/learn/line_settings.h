#pragma once
// The serial line settings a learner tries when a port shows garbage: the common baud rates from
// 1200 to 115200, each as 8N1, 7E1 and 8N2.

#include <cstdint>
#include <string>
#include <vector>

namespace gage::learn {

struct LineSetting {
    std::uint32_t baudRate = 9600;
    std::uint32_t dataBits = 8;
    std::uint32_t parity = 1;    // 1 none, 2 odd, 3 even
    std::uint32_t stopBits = 1;  // 1 one, 2 two
    bool operator==(const LineSetting&) const = default;
};

// "9600 8N1"
std::string LineSettingText(const LineSetting& setting);

// Every common setting except current, the likeliest first.
std::vector<LineSetting> OtherLineSettings(const LineSetting& current);

}  // namespace gage::learn
