#include "gagesrv/check_command.h"

#include <iostream>
#include <string>

#include "channels/serial_port.h"
#include "channels/tcp_channel.h"
#include "channels/tcp_socket.h"
#include "config/configuration_findings.h"
#include "gagesrv/check_paths.h"
#include "gagesrv/ports_listing.h"

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

const char* EffectWord(FindingEffect effect) {
    switch (effect) {
        case FindingEffect::Skipped:
            return "skipped";
        case FindingEffect::Changed:
            return "changed";
        case FindingEffect::Warning:
            break;
    }
    return "warning";
}

void PrintFinding(const ConfigurationFinding& finding) {
    std::cout << finding.file;
    if (!finding.section.empty()) {
        std::cout << " [" << finding.section << "]";
    }
    if (!finding.key.empty()) {
        std::cout << " " << finding.key;
    }
    if (finding.line > 0) {
        std::cout << " (line " << finding.line << ")";
    }
    std::cout << ": " << EffectWord(finding.effect) << ": " << finding.reason << "\n";
}

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void PrintSummary(const ConfigurationCheck& check) {
    std::cout << Counted(check.connectionsLoaded, "connection", "connections") << " and "
              << Counted(check.gagesLoaded, "gage", "gages") << " would load; ";
    if (check.findings.empty()) {
        std::cout << "every line is taken as written.\n";
        return;
    }
    std::cout << Counted(check.SkippedLines(), "line", "lines") << " skipped, "
              << check.ChangedLines() << " changed, "
              << Counted(check.Warnings(), "warning", "warnings") << ".\n";
}

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
    for (const MissingMappedDevice& missing :
         MissingMappedDevices(files->settings, serial_port::DeviceExists)) {
        const std::string port = SerialPortKey(missing.port);
        check.findings.push_back(
            {FindingEffect::Warning, files->settings.SystemSettingsPath, kSerialPortMapSection,
             port, 0,
             "the device " + missing.device + " does not exist, so " + port + " cannot open."});
    }
    if (!check.error.empty()) {
        std::cerr << "The check could not run: " << check.error << "\n";
        return kCheckCouldNotRun;
    }
    std::cout << "Checking " << files->configuration << " with " << files->definitions << ".\n";
    for (const ConfigurationFinding& finding : check.findings) {
        PrintFinding(finding);
    }
    PrintSummary(check);
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
