#include "gagesrv/probe_command.h"

#include <iostream>

namespace gage::gagesrv {

namespace {

constexpr std::int32_t kAliveCommand = 0;

int RunProbe(const HostContext& context) {
    std::optional<host::GageServerLibrary> library = LoadGageServer(context, std::cerr);
    if (!library) {
        return 1;
    }
    const std::intptr_t answer = library->Call(kAliveCommand);
    if (answer != 1) {
        std::cerr << "The gage server loaded but did not answer the alive command (it returned "
                  << answer << " instead of 1).\n";
        return 1;
    }
    std::cout << "The gage server is loaded and answers.\n";
    return 0;
}

}  // namespace

void AddProbeCommand(CLI::App& app, HostContext& context) {
    CLI::App* probe = app.add_subcommand("probe", "Load the library and check that it answers");
    probe->callback([&context] { context.exitStatus = RunProbe(context); });
}

}  // namespace gage::gagesrv
