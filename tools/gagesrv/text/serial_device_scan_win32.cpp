// Serial devices on Windows: the ports the system lists under HARDWARE\DEVICEMAP\SERIALCOMM
// (read only), each as the device-namespace name a port map would give ("\\.\COM3"), with the
// driver's device behind it as its target.

#include <windows.h>

#include <algorithm>
#include <array>

#include "gagesrv/text/serial_device_scan.h"
#include "support/fixed_string.h"

namespace gage::gagesrv {

SerialDeviceScan ScanSerialDevices(const std::string& root) {
    SerialDeviceScan scan;
    if (!root.empty()) {
        scan.note = "A device tree is not used on Windows; the system's ports are listed.";
    }
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return scan;  // no serial ports at all
    }
    for (DWORD index = 0;; ++index) {
        std::array<char, 256> valueName{};
        std::array<char, 256> data{};
        DWORD nameSize = static_cast<DWORD>(valueName.size());
        DWORD dataSize = static_cast<DWORD>(data.size() - 1);
        DWORD type = 0;
        if (::RegEnumValueA(key, index, valueName.data(), &nameSize, nullptr, &type,
                            reinterpret_cast<BYTE*>(data.data()), &dataSize) != ERROR_SUCCESS) {
            break;
        }
        if (type == REG_SZ) {
            scan.devices.push_back({std::string("\\\\.\\") + data.data(), valueName.data()});
        }
    }
    ::RegCloseKey(key);
    std::sort(scan.devices.begin(), scan.devices.end(),
              [](const FoundSerialDevice& a, const FoundSerialDevice& b) {
                  return a.name.size() != b.name.size() ? a.name.size() < b.name.size()
                                                        : a.name < b.name;
              });
    return scan;
}

bool SameDeviceName(const std::string& a, const std::string& b) {
    return EqualsIgnoreCase(a, b);
}

}  // namespace gage::gagesrv
