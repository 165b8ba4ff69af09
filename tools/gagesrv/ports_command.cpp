#include "gagesrv/ports_command.h"

#include <iostream>
#include <memory>
#include <string>

#include "channels/serial_port.h"
#include "gagesrv/check_paths.h"
#include "gagesrv/text/ports_listing.h"

namespace gage::gagesrv {

namespace {

struct PortsOptions {
    bool json = false;
    std::string deviceRoot;
};

int RunPorts(const HostContext& context, const PortsOptions& options) {
    // The port map and COM_PREFIX as start-up reads them.
    const std::optional<ServerSettings> settings = SettleLibrarySettings(context, std::cerr);
    if (!settings) {
        return 1;
    }
    const SerialDeviceScan scan = ScanSerialDevices(options.deviceRoot);
    const std::string& root = options.deviceRoot;
    const PortsListing listing = MakePortsListing(
        scan, *settings,
        [&root](const std::string& name) { return serial_port::DeviceExists(root + name); });
    std::cout << (options.json ? PortsJson(listing) + "\n" : PortsText(listing));
    return 0;
}

}  // namespace

void AddPortsCommand(CLI::App& app, HostContext& context) {
    auto options = std::make_shared<PortsOptions>();
    CLI::App* command = app.add_subcommand(
        "ports", "List the serial devices present and the COM port each is mapped to");
    command->footer(
        "Lists /dev/serial/by-id links with the device each leads to, ttyUSB*, ttyACM* and the "
        "ttyS* ports with a UART behind them, each with the COM ports of [GAGESERVER PORTS] in "
        "ZRN_SYS.INI that open it (or the one COM_PREFIX reaches it by), then every mapped "
        "device that is missing. Copy a by-id name into the map (COM5=/dev/serial/by-id/...) to "
        "keep a USB adapter on one port number. On Windows the system's COM ports are listed.");
    command->add_flag("--json", options->json, "One JSON object with devices and missing ones");
    command
        ->add_option("--device-root", options->deviceRoot,
                     "A directory standing in for / when looking for dev and sys (tests)")
        ->group("");
    command->callback([&context, options] { context.exitStatus = RunPorts(context, *options); });
}

}  // namespace gage::gagesrv
