#pragma once
// Section [GAGESERVER PORTS] of ZRN_SYS.INI: serial port numbers mapped to device names of any
// length (COM5=/dev/serial/by-id/usb-...-if00-port0, or on Windows COM5=\\.\CNCA0). A mapped
// port opens its device; an unmapped one keeps the COM_PREFIX rule.

#include <array>
#include <cstddef>
#include <string>

namespace gage {

inline constexpr int kSerialPortCount = 64;  // port numbers 1 to 64
inline constexpr int kMaxSerialPortNumber = kSerialPortCount;
inline constexpr const char* kSerialPortMapSection = "GAGESERVER PORTS";
// Longest device name read, the longest path the system takes.
inline constexpr std::size_t kMappedDeviceNameRoom = 4096;

class SerialPortMap {
  public:
    // The device mapped to port number, empty when none (or the number is out of range).
    const std::string& DeviceFor(int number) const;
    // Maps a port (an empty device unmaps it); numbers out of range are ignored.
    void Map(int number, std::string device);
    bool Empty() const;

  private:
    std::array<std::string, kSerialPortCount> devices_;
};

// "COM" + number, the key of a port in the section.
std::string SerialPortKey(int number);
// Reads keys COM1 to COM64 of the section; a missing file, section, key or empty value leaves
// the port unmapped.
SerialPortMap ReadSerialPortMap(const std::string& systemSettingsPath);

}  // namespace gage
