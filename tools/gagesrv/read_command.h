#pragma once
// gagesrv read: reads gages through the entry point (commands 8 and 14) and prints each reading.

#include <CLI/CLI.hpp>

#include "gagesrv/host_context.h"

namespace gage::gagesrv {

void AddReadCommand(CLI::App& app, HostContext& context);

}  // namespace gage::gagesrv
