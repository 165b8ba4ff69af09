#include "gagesrv/monitor_command.h"

#include <iostream>

namespace gage::gagesrv {

void AddMonitorCommand(CLI::App& app, HostContext& context) {
    CLI::App* command = app.add_subcommand("monitor", "(being built)");
    command->callback([&context] {
        std::cerr << "gagesrv monitor is not built yet.\n";
        context.exitStatus = 1;
    });
}

}  // namespace gage::gagesrv
