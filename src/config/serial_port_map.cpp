#include "config/serial_port_map.h"

#include "config/profile.h"

namespace gage {

namespace {

bool InRange(int number) {
    return number >= 1 && number <= kSerialPortCount;
}

}  // namespace

const std::string& SerialPortMap::DeviceFor(int number) const {
    static const std::string kNone;
    return InRange(number) ? devices_[static_cast<std::size_t>(number - 1)] : kNone;
}

void SerialPortMap::Map(int number, std::string device) {
    if (InRange(number)) {
        devices_[static_cast<std::size_t>(number - 1)] = std::move(device);
    }
}

bool SerialPortMap::Empty() const {
    for (const std::string& device : devices_) {
        if (!device.empty()) {
            return false;
        }
    }
    return true;
}

std::string SerialPortKey(int number) {
    return "COM" + std::to_string(number);
}

SerialPortMap ReadSerialPortMap(const std::string& systemSettingsPath) {
    SerialPortMap map;
    for (int number = 1; number <= kSerialPortCount; ++number) {
        map.Map(number, profile::GetString(systemSettingsPath, kSerialPortMapSection,
                                           SerialPortKey(number), "", kMappedDeviceNameRoom));
    }
    return map;
}

}  // namespace gage
