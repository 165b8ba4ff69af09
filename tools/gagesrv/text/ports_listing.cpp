#include "gagesrv/text/ports_listing.h"

#include <algorithm>

#include "channels/serial_channel.h"
#include "gagesrv/text/reading_output.h"

namespace gage::gagesrv {

namespace {

bool Opens(const std::string& portDevice, const FoundSerialDevice& found,
           const SerialDeviceScan& scan) {
    if (SameDeviceName(portDevice, found.name)) {
        return true;
    }
    // A port mapped to a link opens the device the link leads to.
    return std::any_of(scan.devices.begin(), scan.devices.end(),
                       [&](const FoundSerialDevice& link) {
                           return !link.target.empty() && SameDeviceName(link.name, portDevice) &&
                                  SameDeviceName(link.target, found.name);
                       });
}

std::string PortList(const std::vector<int>& ports) {
    std::string text;
    for (const int port : ports) {
        text += (text.empty() ? "" : ", ") + SerialPortKey(port);
    }
    return text;
}

std::string NumberArray(const std::vector<int>& numbers) {
    std::string text = "[";
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        text += (i == 0 ? "" : ",") + std::to_string(numbers[i]);
    }
    return text + "]";
}

}  // namespace

std::vector<MissingMappedDevice> MissingMappedDevices(const ServerSettings& settings,
                                                      const DeviceExistsCheck& exists) {
    std::vector<MissingMappedDevice> missing;
    for (int port = 1; port <= kMaxSerialPortNumber; ++port) {
        if (!settings.PortMap.DeviceFor(port).empty()) {
            const std::string device = SerialDeviceName(settings, port);
            if (!exists(device)) {
                missing.push_back({port, device});
            }
        }
    }
    return missing;
}

PortsListing MakePortsListing(const SerialDeviceScan& scan, const ServerSettings& settings,
                              const DeviceExistsCheck& exists) {
    PortsListing listing;
    listing.note = scan.note;
    for (const FoundSerialDevice& found : scan.devices) {
        ListedDevice listed{found, {}, 0};
        for (int port = 1; port <= kMaxSerialPortNumber; ++port) {
            const std::string portDevice = SerialDeviceName(settings, port);
            const bool mapped = !settings.PortMap.DeviceFor(port).empty();
            if (mapped && Opens(portDevice, found, scan)) {
                listed.mappedPorts.push_back(port);
            } else if (!mapped && listed.prefixPort == 0 &&
                       SameDeviceName(portDevice, found.name)) {
                listed.prefixPort = port;
            }
        }
        listing.devices.push_back(std::move(listed));
    }
    listing.missing = MissingMappedDevices(settings, exists);
    return listing;
}

std::string PortsText(const PortsListing& listing) {
    std::string text;
    if (!listing.note.empty()) {
        text += listing.note + "\n";
    }
    if (listing.devices.empty()) {
        text += "No serial devices were found.\n";
    } else {
        text += "Serial devices present:\n";
    }
    for (const ListedDevice& listed : listing.devices) {
        text += "  " + listed.device.name;
        if (!listed.device.target.empty()) {
            text += " -> " + listed.device.target;
        }
        text += ": ";
        if (!listed.mappedPorts.empty()) {
            text += PortList(listed.mappedPorts);
        } else if (listed.prefixPort != 0) {
            text += SerialPortKey(listed.prefixPort) + " (by COM_PREFIX)";
        } else {
            text += "not mapped";
        }
        text += "\n";
    }
    if (!listing.missing.empty()) {
        text += "Mapped devices that are missing:\n";
    }
    for (const MissingMappedDevice& missing : listing.missing) {
        text += "  " + SerialPortKey(missing.port) + "=" + missing.device + ": missing\n";
    }
    return text;
}

std::string PortsJson(const PortsListing& listing) {
    std::string json = "{\"devices\":[";
    for (std::size_t i = 0; i < listing.devices.size(); ++i) {
        const ListedDevice& listed = listing.devices[i];
        json += (i == 0 ? "{" : ",{");
        json += "\"device\":" + JsonString(listed.device.name);
        json += ",\"target\":" +
                (listed.device.target.empty() ? "null" : JsonString(listed.device.target));
        json += ",\"mapped\":" + NumberArray(listed.mappedPorts);
        json += ",\"prefix_port\":" +
                (listed.prefixPort == 0 ? "null" : std::to_string(listed.prefixPort)) + "}";
    }
    json += "],\"missing\":[";
    for (std::size_t i = 0; i < listing.missing.size(); ++i) {
        json += (i == 0 ? "{" : ",{");
        json += "\"port\":" + std::to_string(listing.missing[i].port) +
                ",\"device\":" + JsonString(listing.missing[i].device) + "}";
    }
    json += "]";
    if (!listing.note.empty()) {
        json += ",\"note\":" + JsonString(listing.note);
    }
    return json + "}";
}

}  // namespace gage::gagesrv
