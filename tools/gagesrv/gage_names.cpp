#include "gagesrv/gage_names.h"

namespace gage::gagesrv {

namespace {
constexpr std::int32_t kGageExistsCommand = 9;
}

bool CheckGageName(GageServer& server, const std::string& name, std::ostream& err) {
    if (name.size() > kMaxGageNameLength) {
        err << "\"" << name << "\" is longer than a gage name can be (" << kMaxGageNameLength
            << " characters).\n";
        return false;
    }
    if (server.Call(kGageExistsCommand, name.c_str()) != 1) {
        err << "No gage named \"" << name
            << "\" is configured (gagesrv list shows the configured gages).\n";
        return false;
    }
    return true;
}

}  // namespace gage::gagesrv
