#pragma once
// What every gagesrv command shares: the directories the gage server is to use, and the exit
// status the command leaves behind.

#include <ostream>
#include <string>

namespace gage::gagesrv {

struct HostContext {
    std::string sharedDir;  // empty: leave ZRNGSV_SHARED_DIR as it is
    std::string localDir;   // empty: leave ZRNGSV_LOCAL_DIR as it is
    int exitStatus = 0;
};

// Sets ZRNGSV_SHARED_DIR and ZRNGSV_LOCAL_DIR from --shared-dir and --local-dir, where given (the
// server's path lookup reads them). False, with the reason on err, when a given
// directory does not exist.
bool ApplyDirectoryOptions(const HostContext& context, std::ostream& err);

}  // namespace gage::gagesrv
