#include "gagesrv/port_commands.h"

namespace gage::gagesrv {

void AddPortCommands(CLI::App&, HostContext&) {}

}  // namespace gage::gagesrv
