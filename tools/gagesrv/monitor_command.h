#pragma once
// gagesrv monitor.

#include <CLI/CLI.hpp>

#include "gagesrv/host_context.h"

namespace gage::gagesrv {

void AddMonitorCommand(CLI::App& app, HostContext& context);

}  // namespace gage::gagesrv
