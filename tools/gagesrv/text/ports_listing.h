#pragma once
// What gagesrv ports prints: each serial device found with the COM ports that open it, and every
// mapped device that is not there; as text for people or as one JSON object.

#include <functional>
#include <string>
#include <vector>

#include "config/server_settings.h"
#include "gagesrv/text/serial_device_scan.h"

namespace gage::gagesrv {

struct ListedDevice {
    FoundSerialDevice device;
    std::vector<int> mappedPorts;  // ports of [GAGESERVER PORTS] that open it (a link to it too)
    int prefixPort = 0;            // an unmapped port that reaches it through COM_PREFIX; 0 none
};

struct MissingMappedDevice {
    int port = 0;
    std::string device;  // the name the port opens
};

struct PortsListing {
    std::string note;
    std::vector<ListedDevice> devices;
    std::vector<MissingMappedDevice> missing;
};

using DeviceExistsCheck = std::function<bool(const std::string&)>;

// The mapped ports whose device exists reports is not there, in port order.
std::vector<MissingMappedDevice> MissingMappedDevices(const ServerSettings& settings,
                                                      const DeviceExistsCheck& exists);

// exists tells whether a device name is there (the scan's root taken into account).
PortsListing MakePortsListing(const SerialDeviceScan& scan, const ServerSettings& settings,
                              const DeviceExistsCheck& exists);

std::string PortsText(const PortsListing& listing);
std::string PortsJson(const PortsListing& listing);

}  // namespace gage::gagesrv
