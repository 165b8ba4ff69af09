#include "gagesrv/list_command.h"

#include <iostream>
#include <string>
#include <vector>

#include "gagesrv/gage_server.h"
#include "gagesrv/text/gage_list.h"

namespace gage::gagesrv {

namespace {

constexpr std::int32_t kGageNameCommand = 4;
constexpr std::int32_t kGageCountCommand = 5;

int RunList(const HostContext& context) {
    const std::unique_ptr<GageServer> server = StartGageServer(context, std::cerr);
    if (!server) {
        return 1;
    }
    const std::intptr_t count = server->Call(kGageCountCommand);
    if (count < 0) {
        std::cerr << "The gage server reported an impossible number of gages (" << count << ").\n";
        return 1;
    }
    std::vector<std::string> names;
    for (std::intptr_t index = 0; index < count; ++index) {
        // The index travels in the pointer's place, as hosts pass it.
        const std::intptr_t name =
            server->Call(kGageNameCommand, reinterpret_cast<const char*>(index));
        if (name == 0) {
            std::cerr << "The gage server counts " << count << " gages but has no name for gage "
                      << index + 1 << ".\n";
            return 1;
        }
        names.emplace_back(reinterpret_cast<const char*>(name));
    }
    std::cout << GageListText(names);
    return 0;
}

}  // namespace

void AddListCommand(CLI::App& app, HostContext& context) {
    CLI::App* list = app.add_subcommand("list", "List the configured gages");
    list->callback([&context] { context.exitStatus = RunList(context); });
}

}  // namespace gage::gagesrv
