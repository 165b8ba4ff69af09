#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "channels/serial_channel.h"
#include "gagesrv/learn_port.h"

namespace gage::gagesrv {

std::unique_ptr<BoundSerialDevice> BoundSerialDevice::Bind(const std::string& path,
                                                           std::ostream& err) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::absolute(path, error);
    if (error || !std::filesystem::exists(target, error)) {
        err << "The device " << path << " does not exist.\n";
        return nullptr;
    }
    // Short, for the prefix must fit the 15 characters of COM_PREFIX.
    std::string directory = "/tmp/glXXXXXX";
    if (::mkdtemp(directory.data()) == nullptr) {
        err << "No private directory could be made for the device link.\n";
        return nullptr;
    }
    std::filesystem::create_symlink(target, directory + "/c1", error);
    if (error) {
        err << "The device " << path << " could not be linked: " << error.message() << "\n";
        std::filesystem::remove_all(directory, error);
        return nullptr;
    }
    return std::make_unique<BoundSerialDevice>(directory + "/c", 1, directory);
}

BoundSerialDevice::~BoundSerialDevice() {
    std::error_code error;
    std::filesystem::remove_all(linkDirectory_, error);
}

std::optional<int> ConfiguredPortNumber(const ServerSettings& settings, const std::string& path) {
    for (int number = 1; number <= kMaxSerialPortNumber; ++number) {
        std::error_code error;
        if (std::filesystem::equivalent(SerialDeviceName(settings, number), path, error)) {
            return number;
        }
    }
    return std::nullopt;
}

}  // namespace gage::gagesrv
