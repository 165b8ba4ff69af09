#pragma once
// What every gagesrv command shares: where the library is, the directories it is to use, and
// the exit status the command leaves behind.

#include <optional>
#include <ostream>
#include <string>

#include "host/library_loader.h"

namespace gage::gagesrv {

struct HostContext {
    std::string libraryPath;  // empty: the platform's file name, found as a host finds it
    std::string sharedDir;    // empty: leave ZRNGSV_SHARED_DIR as it is
    std::string localDir;     // empty: leave ZRNGSV_LOCAL_DIR as it is
    int exitStatus = 0;
};

// Sets ZRNGSV_SHARED_DIR and ZRNGSV_LOCAL_DIR from --shared-dir and --local-dir, where given (the
// library and the modules' path lookup read them). False, with the reason on err, when a given
// directory does not exist.
bool ApplyDirectoryOptions(const HostContext& context, std::ostream& err);

// Points the library at the chosen directories and loads it. On failure, says why on err and
// returns nothing.
std::optional<host::GageServerLibrary> LoadGageServer(const HostContext& context,
                                                      std::ostream& err);

}  // namespace gage::gagesrv
