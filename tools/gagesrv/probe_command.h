#pragma once
// gagesrv probe: asks the loaded library whether it is there (command 0).

#include <CLI/CLI.hpp>

#include "gagesrv/host_context.h"

namespace gage::gagesrv {

void AddProbeCommand(CLI::App& app, HostContext& context);

}  // namespace gage::gagesrv
