#pragma once
// Built-in utility operations for where things are and who runs them: the shared and local
// directories of the installation and the two identity texts.
//
// Directories: ZRNGSV_SHARED_DIR and ZRNGSV_LOCAL_DIR win when set. Otherwise, on Windows,
// shared = %PROGRAMDATA%\GageServer\ and local = %LOCALAPPDATA%\GageServer\ (the shell's common
// and local application-data folders when the variables are missing). Elsewhere, shared =
// /etc/gageserver/ when that directory exists and can be read, else
// $XDG_DATA_HOME/gageserver/ (~/.local/share/gageserver/); local = $XDG_CONFIG_HOME/gageserver/
// (~/.config/gageserver/). A missing directory is created (failure is not reported: the files in
// it then fail to open, which their readers handle).

#include <string>
#include <string_view>

namespace gage::builtin {

inline constexpr const char* kSharedDirectoryVariable = "ZRNGSV_SHARED_DIR";
inline constexpr const char* kLocalDirectoryVariable = "ZRNGSV_LOCAL_DIR";

// UtilGetPath: the directory of location "SHARED" or "LOCAL" (without regard to case), ending in
// the path separator; empty for any other location name.
std::string LocationDirectory(std::string_view location);

// directory with the platform's path separator added unless it ends in one already.
std::string WithTrailingSeparator(std::string directory);

// UtilGetIdentity: fills first with the login name of the user and second with the station
// (computer) name; each cut to 63 characters. Either pointer may be null.
void FillIdentity(char* first, char* second);

// Platform parts.
bool IsPathSeparator(char c);
char PathSeparator();
std::string DefaultSharedDirectory();  // each ends in the separator
std::string DefaultLocalDirectory();
void CreateDirectoryTree(const std::string& directory);
std::string LoginName();
std::string StationName();

}  // namespace gage::builtin
