#pragma once
// The gage server the host commands drive: gagesrv's own engine, started and stopped as the
// library starts and stops when a host loads and unloads it, and called with the entry point's
// commands and argument forms. One engine serves every command of the process.

#include <cstdint>
#include <memory>
#include <ostream>

#include "entry/runtime.h"
#include "gagesrv/host_context.h"

namespace gage::gagesrv {

class GageServer {
  public:
    // Settles directories and settings, opens every configured connection and initialises the
    // gages, as a load does.
    GageServer();
    // Closes every connection and stops sockets, as an unload does.
    ~GageServer();
    GageServer(const GageServer&) = delete;
    GageServer& operator=(const GageServer&) = delete;

    // What the entry point answers to command with argument (interface version 1, no window).
    std::intptr_t Call(std::int32_t command, const char* argument = nullptr);

  private:
    Runtime runtime_;
};

// Points the server at the directories of the command line and starts it. Null, after saying
// why on err, when a directory given does not exist.
std::unique_ptr<GageServer> StartGageServer(const HostContext& context, std::ostream& err);

}  // namespace gage::gagesrv
