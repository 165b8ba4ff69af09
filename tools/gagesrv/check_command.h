#pragma once
// gagesrv check.

#include <CLI/CLI.hpp>

#include "gagesrv/host_context.h"

namespace gage::gagesrv {

void AddCheckCommand(CLI::App& app, HostContext& context);

}  // namespace gage::gagesrv
