#include "gagesrv/probe_command.h"

#include <iostream>

#include "gagesrv/gage_server.h"

namespace gage::gagesrv {

namespace {

constexpr std::int32_t kAliveCommand = 0;

int RunProbe(const HostContext& context) {
    const std::unique_ptr<GageServer> server = StartGageServer(context, std::cerr);
    if (!server) {
        return 1;
    }
    const std::intptr_t answer = server->Call(kAliveCommand);
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
    CLI::App* probe =
        app.add_subcommand("probe", "Start the gage server and check that it answers");
    probe->callback([&context] { context.exitStatus = RunProbe(context); });
}

}  // namespace gage::gagesrv
