#pragma once
// The serial devices this machine has, for gagesrv ports. The scan itself is platform code
// (serial_device_scan_posix.cpp, serial_device_scan_win32.cpp); what is made of it is not.

#include <string>
#include <vector>

namespace gage::gagesrv {

struct FoundSerialDevice {
    std::string name;    // as a port map names it: /dev/serial/by-id/usb-..., /dev/ttyUSB0
    std::string target;  // what a link name leads to (/dev/ttyUSB0); empty for the device itself
};

struct SerialDeviceScan {
    std::string note;  // not empty: something the reader of the listing should know
    std::vector<FoundSerialDevice> devices;  // links first, then devices, each in name order
};

// Scans the devices under root, a directory put in front of /dev and /sys (empty: the system's
// own), so that a prepared tree can stand in for them. Names are given without root.
SerialDeviceScan ScanSerialDevices(const std::string& root);

// Whether two device names name the same device, by this system's rules for names.
bool SameDeviceName(const std::string& a, const std::string& b);

}  // namespace gage::gagesrv
