#pragma once
// The commands that act on every gage or connection at once: init (1), configure (3),
// open-ports (10), flush (12), close (13), subgroup-start (16) and subgroup-end (17).

#include <CLI/CLI.hpp>

#include "gagesrv/host_context.h"

namespace gage::gagesrv {

void AddPortCommands(CLI::App& app, HostContext& context);

}  // namespace gage::gagesrv
