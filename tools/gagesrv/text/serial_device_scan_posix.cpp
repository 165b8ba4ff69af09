// Serial devices on Linux: the stable /dev/serial/by-id links, USB adapters (ttyUSB*, ttyACM*)
// and those ttyS* ports that have a UART behind them. The kernel registers ttyS0 to ttyS3 (and
// more) whether or not such a port exists; /sys/class/tty/ttySn/type gives the port type found
// (0 is none), and where that is missing the port counts when a driver other than the
// "serial8250" placeholder holds it. Nothing is opened.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <tuple>

#include "gagesrv/text/serial_device_scan.h"

namespace gage::gagesrv {
namespace {

namespace fs = std::filesystem;

// Trailing digits compared as numbers: ttyUSB2 before ttyUSB10.
std::tuple<std::string, std::size_t, std::string> NameOrder(const std::string& name) {
    std::size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1])) != 0) {
        --digits;
    }
    const std::string number = name.substr(digits);
    return {name.substr(0, digits), number.size(), number};
}

bool NumberedName(const std::string& name, const std::string& prefix) {
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

bool UartBehind(const fs::path& sysRoot, const std::string& name) {
    const fs::path port = sysRoot / "class" / "tty" / name;
    std::ifstream typeFile(port / "type");
    int type = 0;
    if (typeFile >> type) {
        return type != 0;
    }
    std::error_code error;
    const fs::path driver = fs::read_symlink(port / "device" / "driver", error);
    return !error && driver.filename() != "serial8250";
}

std::vector<FoundSerialDevice> ByIdLinks(const fs::path& root) {
    std::vector<FoundSerialDevice> links;
    const fs::path directory = root / "dev" / "serial" / "by-id";
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, error)) {
        const std::string name = "/dev/serial/by-id/" + entry.path().filename().string();
        std::error_code linkError;
        const fs::path target = fs::read_symlink(entry.path(), linkError);
        std::string resolved;
        if (!linkError) {
            resolved = target.is_absolute()
                           ? target.lexically_normal().string()
                           : (fs::path("/dev/serial/by-id") / target).lexically_normal().string();
        }
        links.push_back({name, resolved});
    }
    return links;
}

std::vector<FoundSerialDevice> Terminals(const fs::path& root) {
    std::vector<FoundSerialDevice> terminals;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(root / "dev", error)) {
        const std::string name = entry.path().filename().string();
        const bool wanted = NumberedName(name, "ttyUSB") || NumberedName(name, "ttyACM") ||
                            (NumberedName(name, "ttyS") && UartBehind(root / "sys", name));
        if (wanted) {
            terminals.push_back({"/dev/" + name, ""});
        }
    }
    return terminals;
}

void SortByName(std::vector<FoundSerialDevice>& devices) {
    std::sort(devices.begin(), devices.end(),
              [](const FoundSerialDevice& a, const FoundSerialDevice& b) {
                  return NameOrder(a.name) < NameOrder(b.name);
              });
}

}  // namespace

SerialDeviceScan ScanSerialDevices(const std::string& root) {
    const fs::path base = root.empty() ? fs::path("/") : fs::path(root);
    SerialDeviceScan scan;
    scan.devices = ByIdLinks(base);
    SortByName(scan.devices);
    std::vector<FoundSerialDevice> terminals = Terminals(base);
    SortByName(terminals);
    scan.devices.insert(scan.devices.end(), terminals.begin(), terminals.end());
    return scan;
}

bool SameDeviceName(const std::string& a, const std::string& b) {
    return a == b;
}

}  // namespace gage::gagesrv
