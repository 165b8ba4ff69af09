#include "gagesrv/port_commands.h"

#include <iostream>
#include <memory>

#include "gagesrv/gage_names.h"
#include "gagesrv/gage_server.h"
#include "gagesrv/wait_indicator.h"

namespace gage::gagesrv {

namespace {

constexpr std::int32_t kInitGagesCommand = 1;
constexpr std::int32_t kConfigureCommand = 3;
constexpr std::int32_t kInitPortsCommand = 10;
constexpr std::int32_t kFlushPortsCommand = 12;
constexpr std::int32_t kClosePortsCommand = 13;
constexpr std::int32_t kSubgroupStartCommand = 16;
constexpr std::int32_t kSubgroupEndCommand = 17;

struct PortCommand {
    const char* name;
    const char* description;
    std::int32_t command;
    const char* done;    // printed when the server answers 1
    const char* failed;  // printed when it answers 0
    bool takesGageName;
};

constexpr PortCommand kPortCommands[] = {
    {"init", "Send every gage's initialisation command", kInitGagesCommand,
     "Sent the initialisation command of every gage whose connection is open.", nullptr, false},
    {"configure",
     "Open the Gage Server Configuration dialog (Windows); when it closes the gage server saves "
     "BRW_GAGE.CFG and loads it again",
     kConfigureCommand, "The configuration was saved and loaded again.",
     "This build of the gage server has no dialogs (the log file ZRNGSV32.LOG says so).", false},
    {"open-ports",
     "Open every configured connection (with its interface's initialisation strings), then "
     "initialise every gage",
     kInitPortsCommand, "Opened the configured connections and initialised the gages.",
     "None of the configured connections could be opened (the log file ZRNGSV32.LOG in the "
     "local directory may say why).",
     false},
    {"flush",
     "Empty every connection's receive buffer and purge it (a TCP/IP connection is connected "
     "again)",
     kFlushPortsCommand, "Flushed every configured connection.", nullptr, false},
    {"close", "Close every connection", kClosePortsCommand, "Closed every connection.", nullptr,
     false},
    {"subgroup-start",
     "Send the subgroup-start command of the named gage, or of every gage when no name is given",
     kSubgroupStartCommand, "Sent the subgroup-start commands.", nullptr, true},
    {"subgroup-end",
     "Send the subgroup-end command of the named gage, or of every gage when no name is given",
     kSubgroupEndCommand, "Sent the subgroup-end commands.", nullptr, true},
};

int RunPortCommand(const HostContext& context, const PortCommand& port, const std::string& gage) {
    const std::unique_ptr<GageServer> server = StartGageServer(context, std::cerr);
    if (!server) {
        return 1;
    }
    if (!gage.empty() && !CheckGageName(*server, gage, std::cerr)) {
        return 1;
    }
    std::intptr_t answer = 0;
    {
        const WaitIndicator waiting(std::string("running ") + port.name);
        answer = server->Call(port.command, gage.empty() ? nullptr : gage.c_str());
    }
    if (answer != 1) {
        std::cerr << (port.failed != nullptr ? port.failed : "The gage server refused the command.")
                  << "\n";
        return 1;
    }
    std::cout << port.done << "\n";
    return 0;
}

}  // namespace

void AddPortCommands(CLI::App& app, HostContext& context) {
    for (const PortCommand& port : kPortCommands) {
        auto gage = std::make_shared<std::string>();
        CLI::App* command = app.add_subcommand(port.name, port.description);
        if (port.takesGageName) {
            command->add_option("name", *gage, "The gage (default: every gage)");
        }
        command->footer(
            "The gage server opens the configured connections when it starts and closes them when "
            "gagesrv ends. Exit status 0 when the server carried the command out, 1 otherwise.\n");
        command->callback(
            [&context, &port, gage] { context.exitStatus = RunPortCommand(context, port, *gage); });
    }
}

}  // namespace gage::gagesrv
