#include "gagesrv/check_command.h"

#include <iostream>
#include <string>

#include "channels/serial_port.h"
#include "channels/tcp_channel.h"
#include "channels/tcp_socket.h"
#include "config/configuration_findings.h"
#include "gagesrv/check_paths.h"
#include "gagesrv/text/check_output.h"

namespace gage::gagesrv {

namespace {

constexpr int kEveryLineAsWritten = 0;
constexpr int kSomethingFound = 1;
constexpr int kCheckCouldNotRun = 2;

struct CheckOptions {
    std::string configuration;
    std::string definitions;
};

// Host names resolve only with the socket layer started (Windows Sockets needs it).
class SocketLayer {
  public:
    SocketLayer() {
        bool versionOk = false;
        started_ = tcp_socket::Startup(versionOk) == 0;
    }
    ~SocketLayer() {
        if (started_) {
            tcp_socket::Cleanup();
        }
    }
    SocketLayer(const SocketLayer&) = delete;
    SocketLayer& operator=(const SocketLayer&) = delete;

  private:
    bool started_ = false;
};

int RunCheck(const HostContext& context, const CheckOptions& options) {
    const std::optional<CheckedFiles> files =
        SettleCheckedFiles(context, options.configuration, options.definitions, std::cerr);
    if (!files) {
        std::cerr << "The check could not run.\n";
        return kCheckCouldNotRun;
    }
    const SocketLayer sockets;
    const HostResolver resolve = [](const char* host) { return TcpResolveHost(host); };
    ConfigurationCheck check =
        CheckConfiguration(files->configuration, files->definitions, resolve);
    AddMissingDeviceFindings(check, files->settings, serial_port::DeviceExists);
    if (!check.error.empty()) {
        std::cerr << "The check could not run: " << check.error << "\n";
        return kCheckCouldNotRun;
    }
    std::cout << CheckReport(files->configuration, files->definitions, check);
    return check.findings.empty() ? kEveryLineAsWritten : kSomethingFound;
}

}  // namespace

void AddCheckCommand(CLI::App& app, HostContext& context) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* command = app.add_subcommand(
        "check", "Explain every line of BRW_GAGE.CFG that the loader would skip or change");
    command->footer(
        "Reads BRW_GAGE.CFG and BRW_GAGE.DEF (by default the ones the library would use, found "
        "from the shared and local directories and ZRN_SYS.INI as the library finds them) and "
        "explains, one finding per line naming file, section and key, every line the loader "
        "would skip or change, every key it never reads, and lines that load but cannot work: "
        "unknown formats, unconfigured connections, names used twice; and every device of "
        "[GAGESERVER PORTS] in ZRN_SYS.INI that does not exist. Nothing is opened or "
        "written.\nExit status: 0 when the loader would take every line as written, 1 when "
        "anything would be skipped or changed (or a warning was found), 2 when the check could "
        "not run (a file that cannot be read, a directory that does not exist).");
    command->add_option("--cfg", options->configuration,
                        "The BRW_GAGE.CFG to check (default: the one the library would load)");
    command->add_option("--def", options->definitions,
                        "The BRW_GAGE.DEF to check it against (default: the library's)");
    command->callback([&context, options] { context.exitStatus = RunCheck(context, *options); });
}

}  // namespace gage::gagesrv
