#include <charconv>
#include <string_view>

#include "channels/serial_channel.h"
#include "gagesrv/learn_port.h"
#include "support/fixed_string.h"

namespace gage::gagesrv {

namespace {

// 3 for "COM3" (any case), else nothing.
std::optional<int> ComNumber(std::string_view path) {
    if (path.size() < 4 || !EqualsIgnoreCase(path.substr(0, 3), "COM")) {
        return std::nullopt;
    }
    int number = 0;
    const auto [end, error] = std::from_chars(path.data() + 3, path.data() + path.size(), number);
    if (error != std::errc{} || end != path.data() + path.size() || number < 1 ||
        number > kMaxSerialPortNumber) {
        return std::nullopt;
    }
    return number;
}

}  // namespace

std::unique_ptr<BoundSerialDevice> BoundSerialDevice::Bind(const std::string& path,
                                                           std::ostream& err) {
    const std::optional<int> number = ComNumber(path);
    if (!number) {
        err << "The port " << path << " is not one of COM1 to COM64.\n";
        return nullptr;
    }
    return std::make_unique<BoundSerialDevice>("COM", *number, std::string{});
}

BoundSerialDevice::~BoundSerialDevice() = default;

std::optional<int> ConfiguredPortNumber(const ServerSettings& settings, const std::string& path) {
    const std::optional<int> number = ComNumber(path);
    if (!number || !EqualsIgnoreCase(settings.ComPrefix.str(), "COM")) {
        return std::nullopt;
    }
    return number;
}

}  // namespace gage::gagesrv
