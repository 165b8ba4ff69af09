#pragma once
// gagesrv monitor: watches the raw traffic of one configured connection in the terminal and
// sends the lines typed to it, with the tokens of gage command strings.

#include <CLI/CLI.hpp>

#include "gagesrv/host_context.h"

namespace gage::gagesrv {

void AddMonitorCommand(CLI::App& app, HostContext& context);

}  // namespace gage::gagesrv
