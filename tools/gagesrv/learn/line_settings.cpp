#include "gagesrv/learn/line_settings.h"

#include <array>

namespace gage::learn {

std::string LineSettingText(const LineSetting& setting) {
    const char parity = setting.parity == 2 ? 'O' : setting.parity == 3 ? 'E' : 'N';
    return std::to_string(setting.baudRate) + " " + std::to_string(setting.dataBits) + parity +
           (setting.stopBits == 2 ? "2" : "1");
}

std::vector<LineSetting> OtherLineSettings(const LineSetting& current) {
    static constexpr std::array<std::uint32_t, 8> kBauds = {9600, 19200, 4800,  2400,
                                                            1200, 38400, 57600, 115200};
    static constexpr std::array<LineSetting, 3> kFrames = {
        LineSetting{0, 8, 1, 1}, LineSetting{0, 7, 3, 1}, LineSetting{0, 8, 1, 2}};
    std::vector<LineSetting> settings;
    for (const std::uint32_t baud : kBauds) {
        for (LineSetting frame : kFrames) {
            frame.baudRate = baud;
            if (!(frame == current)) {
                settings.push_back(frame);
            }
        }
    }
    return settings;
}

}  // namespace gage::learn
