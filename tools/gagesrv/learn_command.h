#pragma once
// gagesrv learn: listens to a gage for a few seconds and proposes the interface type, format
// and gage line that read it, checked against the records seen; --write adds them.

#include <CLI/CLI.hpp>

#include "gagesrv/host_context.h"

namespace gage::gagesrv {

void AddLearnCommand(CLI::App& app, HostContext& context);

}  // namespace gage::gagesrv
