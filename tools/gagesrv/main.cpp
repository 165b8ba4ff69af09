// gagesrv: a command-line host for the gage server. It starts the server as the library starts
// when a host loads it and drives it with the entry point's commands; check, monitor, learn and
// ports work on the configuration files and connections directly.

#include <CLI/CLI.hpp>

#include "gagesrv/check_command.h"
#include "gagesrv/host_context.h"
#include "gagesrv/learn_command.h"
#include "gagesrv/list_command.h"
#include "gagesrv/monitor_command.h"
#include "gagesrv/port_commands.h"
#include "gagesrv/ports_command.h"
#include "gagesrv/probe_command.h"
#include "gagesrv/read_command.h"

int main(int argc, char** argv) {
    gage::gagesrv::HostContext context;
    CLI::App app{"Command-line host for the gage server", "gagesrv"};
    app.add_option("--shared-dir", context.sharedDir,
                   "Directory with ZRN_SYS.INI and BRW_GAGE.DEF (sets ZRNGSV_SHARED_DIR)");
    app.add_option("--local-dir", context.localDir,
                   "Directory with BRW_GAGE.CFG and the log file (sets ZRNGSV_LOCAL_DIR)");
    app.require_subcommand(1);

    gage::gagesrv::AddProbeCommand(app, context);
    gage::gagesrv::AddListCommand(app, context);
    gage::gagesrv::AddReadCommand(app, context);
    gage::gagesrv::AddPortCommands(app, context);
    gage::gagesrv::AddMonitorCommand(app, context);
    gage::gagesrv::AddCheckCommand(app, context);
    gage::gagesrv::AddLearnCommand(app, context);
    gage::gagesrv::AddPortsCommand(app, context);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    }
    return context.exitStatus;
}
