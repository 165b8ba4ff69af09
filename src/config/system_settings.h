#pragma once
// The server settings of section [GAGESERVER] in ZRN_SYS.INI, read once when the library loads
// and never written by it.

#include <cstdint>
#include <string_view>

#include "config/server_settings.h"

namespace gage {

inline constexpr const char* kSystemSettingsSection = "GAGESERVER";
inline constexpr std::uint16_t kMaxWaitTime = 10000;      // milliseconds
inline constexpr double kMaxTcpConnectionTimeout = 30.0;  // seconds

// WAITTIME as used: its low 16 bits, at most 10000.
std::uint16_t LimitWaitTime(int value);
// TCPIP_CONNECTION_TIMEOUT as used: the text read as a real with "C" rules, 0 to 30; text that is
// no number gives 0.
double LimitTcpConnectionTimeout(std::string_view text);

// Reads COM_PREFIX, WAITTIME, TCPIP_CONNECTION_TIMEOUT and USE_SHARED_PATH from the file at
// settings.SystemSettingsPath into settings, and the port map of [GAGESERVER PORTS]; a missing
// file or key keeps the default.
void ReadSystemSettings(ServerSettings& settings);

}  // namespace gage
