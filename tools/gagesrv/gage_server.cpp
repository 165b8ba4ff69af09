#include "gagesrv/gage_server.h"

#include <optional>

#include "entry/commands.h"
#include "entry/startup.h"
#include "gagesrv/wait_indicator.h"

namespace gage::gagesrv {

GageServer::GageServer() {
    StartUp(runtime_, nullptr);
}

GageServer::~GageServer() {
    ShutDown(runtime_);
}

std::intptr_t GageServer::Call(std::int32_t command, const char* argument) {
    return RunCommand(runtime_, nullptr, kInterfaceVersion, command, argument);
}

std::unique_ptr<GageServer> StartGageServer(const HostContext& context, std::ostream& err) {
    if (!ApplyDirectoryOptions(context, err)) {
        return nullptr;
    }
    // Starting opens every configured connection, which can take a while.
    const WaitIndicator waiting("starting the gage server and opening its connections");
    return std::make_unique<GageServer>();
}

}  // namespace gage::gagesrv
