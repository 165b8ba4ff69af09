#pragma once
// gagesrv ports: the serial devices present and the COM ports that open them.

#include <CLI/CLI.hpp>

#include "gagesrv/host_context.h"

namespace gage::gagesrv {

void AddPortsCommand(CLI::App& app, HostContext& context);

}  // namespace gage::gagesrv
