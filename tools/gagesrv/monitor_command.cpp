#include "gagesrv/monitor_command.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "channels/channel.h"
#include "channels/tcp_channel.h"
#include "entry/runtime.h"
#include "gagesrv/monitor_connection.h"
#include "gagesrv/monitor_session.h"

namespace gage::gagesrv {

namespace {

std::string Announcement(Runtime& runtime, const ConnectionRecord& record,
                         const MonitorOptions& options) {
    std::string text =
        "Watching \"" + record.Name.str() + "\" (" + ConnectionSummary(runtime, record) + ") as " +
        (options.view == MonitorView::Hex ? "hex" : "raw text") + "; lines typed are sent to it" +
        (options.appendCrLf ? " with CR LF" : "") + ". Press Ctrl-C to stop";
    if (options.bytes > 0) {
        text += " (stops after " + std::to_string(options.bytes) + " bytes)";
    }
    return text + ".";
}

// Limits given on the command line: a number above 0.
CLI::Validator AboveZero() {
    return CLI::Validator(
        [](const std::string& text) -> std::string {
            char* end = nullptr;
            const double value = std::strtod(text.c_str(), &end);
            if (text.empty() || end != text.c_str() + text.size() || !(value > 0.0)) {
                return "must be a number above 0, not " + text;
            }
            return {};
        },
        "ABOVE 0");
}

int RunMonitor(const HostContext& context, const MonitorOptions& options) {
    const std::unique_ptr<Runtime> runtime = StartDirectRuntime(context, std::cerr);
    if (!runtime) {
        return 1;
    }
    const DirectRuntimeShutdown shutdown{*runtime};
    if (!LoadMonitorConfiguration(*runtime, std::cerr)) {
        return 1;
    }
    ConnectionRecord* const record =
        FindConnectionOrExplain(*runtime, options.connection, std::cerr);
    if (record == nullptr) {
        return 1;
    }
    if (ChannelPrepare(runtime->channels, nullptr, *record) == 0) {
        std::cerr << "The connection \"" << record->Name.str() << "\" ("
                  << ConnectionSummary(*runtime, *record)
                  << ") could not be opened: the port is absent or in use, the host does not "
                     "answer, or its settings are incomplete.\n";
        return 1;
    }
    std::cerr << Announcement(*runtime, *record, options) << std::endl;
    const long long received = RunMonitorSession(*runtime, *record, options, std::cout, std::cerr);
    std::cerr << "Stopped after " << received << (received == 1 ? " byte" : " bytes")
              << " received.\n";
    return 0;
}

}  // namespace

void AddMonitorCommand(CLI::App& app, HostContext& context) {
    CLI::App* command = app.add_subcommand(
        "monitor",
        "Watch the raw traffic of a connection and send it the lines typed, with the tokens of "
        "command strings (ABC<13> sends 41 42 43 0D)");
    const auto options = std::make_shared<MonitorOptions>();
    command
        ->add_option("CONNECTION", options->connection,
                     "The connection's name (any case) or its key, such as MUX_0")
        ->required();
    command->add_flag_callback(
        "--hex", [options] { options->view = MonitorView::Hex; },
        "Show every byte as two hexadecimal digits instead of as text");
    command->add_flag("--crlf", options->appendCrLf, "End every line sent with CR LF (<13><10>)");
    command->add_option("--seconds", options->seconds, "Stop after this many seconds")
        ->check(AboveZero());
    command->add_option("--bytes", options->bytes, "Stop once this many bytes were received")
        ->check(AboveZero());
    command->callback([&context, options] { context.exitStatus = RunMonitor(context, *options); });
}

}  // namespace gage::gagesrv
