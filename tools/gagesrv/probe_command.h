#pragma once
// gagesrv probe: starts the gage server and asks whether it answers (command 0).

#include <CLI/CLI.hpp>

#include "gagesrv/host_context.h"

namespace gage::gagesrv {

void AddProbeCommand(CLI::App& app, HostContext& context);

}  // namespace gage::gagesrv
