#pragma once
// gagesrv list: the configured gages, in the order the host sees them (commands 5 and 4).

#include <CLI/CLI.hpp>

#include "gagesrv/host_context.h"

namespace gage::gagesrv {

void AddListCommand(CLI::App& app, HostContext& context);

}  // namespace gage::gagesrv
