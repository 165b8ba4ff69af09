#pragma once
// Gage names as the entry point takes them: checked before a command is sent, so that a typing
// error is reported as such rather than as a failed read.

#include <ostream>
#include <string>

#include "gagesrv/gage_server.h"

namespace gage::gagesrv {

// The entry point takes names of at most 31 characters.
inline constexpr std::size_t kMaxGageNameLength = 31;

// True when the server has a gage of this name (command 9); otherwise says why on err.
bool CheckGageName(GageServer& server, const std::string& name, std::ostream& err);

}  // namespace gage::gagesrv
