#include "gagesrv/check_command.h"

#include <iostream>

namespace gage::gagesrv {

void AddCheckCommand(CLI::App& app, HostContext& context) {
    CLI::App* command = app.add_subcommand("check", "(being built)");
    command->callback([&context] {
        std::cerr << "gagesrv check is not built yet.\n";
        context.exitStatus = 1;
    });
}

}  // namespace gage::gagesrv
