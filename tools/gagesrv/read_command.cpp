#include "gagesrv/read_command.h"

namespace gage::gagesrv {

void AddReadCommand(CLI::App& app, HostContext& context) {
    CLI::App* command = app.add_subcommand("read", "(being built)");
    command->callback([&context] { context.exitStatus = 1; });
}

}  // namespace gage::gagesrv
