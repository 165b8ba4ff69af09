#pragma once
// The connection a command line names: by its name in any case, or by its key ("MUX_3").

#include <string_view>

#include "config/connection_record.h"

namespace gage::gagesrv {

// The connection called name (without regard to case), or else the configured one whose key is
// name (without regard to case, MUX_0 to MUX_63); null when there is none.
ConnectionRecord* FindConnection(ConnectionTable& connections, std::string_view name);

}  // namespace gage::gagesrv
