#pragma once
// gagesrv read: reads gages with the entry point's commands 8 and 14 and prints each reading.

#include <CLI/CLI.hpp>

#include "gagesrv/host_context.h"

namespace gage::gagesrv {

void AddReadCommand(CLI::App& app, HostContext& context);

}  // namespace gage::gagesrv
