#pragma once
// What the library does when the host loads it and when the host unloads it.

#include <functional>

#include "config/server_settings.h"
#include "entry/runtime.h"

namespace gage {

// The utility operations start-up asks, in the host's argument form: UtilGetPath (location,
// 256-character buffer, its size), UtilGetIdentity (two 64-character buffers) and UtilStartup.
// The library answers them from Support; tests answer them themselves.
struct StartupQueries {
    std::function<void(const char* location, char* buffer, int bufferSize)> getPath;
    std::function<void(char* first, char* second)> getIdentity;
    std::function<int()> startup;
};

StartupQueries SupportStartupQueries(Support& support);

// The shared and local directories, the paths of ZRN_SYS.INI, BRW_GAGE.DEF, the log file and
// BRW_GAGE.CFG (local or shared form, the GAGE_SERVER directory created for the shared form) and
// the settings of ZRN_SYS.INI, in that order.
void SettleServerSettings(ServerSettings& settings, const StartupQueries& queries);

// Settles directories, settings and paths, starts sockets, learns the user's locale and loads the
// configuration (opening and initialising every connection and gage).
void StartUp(Runtime& runtime, void* module);
// Closes every connection, frees the tables and stops sockets.
void ShutDown(Runtime& runtime);

}  // namespace gage
