#include "gagesrv/learn_command.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "channels/channel.h"
#include "channels/tcp_channel.h"
#include "config/connection_line.h"
#include "gagesrv/learn_capture.h"
#include "gagesrv/learn_port.h"
#include "gagesrv/learn_write.h"
#include "gagesrv/monitor_connection.h"
#include "gagesrv/text/host_port.h"
#include "gagesrv/text/learn_output.h"
#include "gagesrv/text/reading_output.h"

namespace gage::gagesrv {

namespace {

struct LearnOptions {
    std::string connection;
    std::string port;
    std::string tcp;
    double seconds = 5.0;
    std::vector<std::string> sends;
    bool write = false;
    bool json = false;
};

// Where the traffic comes from: a configured row, or a record of the learner's own.
struct LearnSource {
    ConnectionRecord* record = nullptr;
    ConnectionRecord own;
    std::unique_ptr<BoundSerialDevice> device;
    LearnedSource saved;
};

int Fail(const LearnOptions& options, const std::string& message) {
    if (options.json) {
        std::cout << LearnFailureJson(message) << std::endl;
    }
    std::cerr << message << "\n";
    return 1;
}

bool OwnRecord(const std::string& line, LearnSource& source) {
    const ConnectionLineStatus status = ParseConnectionLine(
        line, [](const char* host) { return TcpResolveHost(host); }, source.own);
    source.record = &source.own;
    source.saved.newConnection = &source.own;
    return status == ConnectionLineStatus::Accepted;
}

// --tcp HOST:PORT
bool TcpSource(const std::string& text, LearnSource& source, std::ostream& err) {
    const std::optional<HostPort> device = ParseHostPort(text);
    if (!device) {
        err << "--tcp wants HOST:PORT, such as 127.0.0.1:4001, not " << text << ".\n";
        return false;
    }
    if (!OwnRecord(
            "\"learn\",0," + std::to_string(device->port) + ",0,0,0,0,1,1024,1," + device->host,
            source)) {
        err << "The host " << device->host << " could not be resolved.\n";
        return false;
    }
    return true;
}

// --port PATH
bool SerialSource(const std::string& path, Runtime& runtime, LearnSource& source,
                  std::ostream& err) {
    source.device = BoundSerialDevice::Bind(path, err);
    if (!source.device) {
        return false;
    }
    source.saved.newPortNumber = ConfiguredPortNumber(runtime.settings, path).value_or(0);
    runtime.settings.ComPrefix = source.device->Prefix();
    return OwnRecord(
        "\"learn\",0," + std::to_string(source.device->PortNumber()) + ",9600,8,1,1,1,1024,0,",
        source);
}

bool ConfiguredSource(const std::string& name, Runtime& runtime, LearnSource& source,
                      std::ostream& err) {
    if (!LoadMonitorConfiguration(runtime, err)) {
        return false;
    }
    source.record = FindConnectionOrExplain(runtime, name, err);
    if (source.record == nullptr) {
        return false;
    }
    source.saved.connectionIndex = static_cast<int>(source.record - runtime.connections.data());
    source.saved.connectionType = source.record->InterfaceType;
    return true;
}

int RunLearn(const HostContext& context, const LearnOptions& options) {
    const int given = (options.connection.empty() ? 0 : 1) + (options.port.empty() ? 0 : 1) +
                      (options.tcp.empty() ? 0 : 1);
    if (given != 1) {
        return Fail(options,
                    "Name one connection, or give one of --port PATH and --tcp HOST:PORT.");
    }
    const std::unique_ptr<Runtime> runtime = StartDirectRuntime(context, std::cerr);
    if (!runtime) {
        return 1;
    }
    const DirectRuntimeShutdown shutdown{*runtime};

    LearnSource source;
    const std::string definitionsPath = runtime->settings.DefinitionsPath;
    const std::string configurationPath = runtime->settings.ConfigurationPath;
    const bool found = !options.connection.empty()
                           ? ConfiguredSource(options.connection, *runtime, source, std::cerr)
                       : !options.tcp.empty()
                           ? TcpSource(options.tcp, source, std::cerr)
                           : SerialSource(options.port, *runtime, source, std::cerr);
    if (!found) {
        return 1;
    }
    ConnectionRecord& record = *source.record;
    // A device given by path is named by that path, not by the port number it was bound to.
    const std::string summary = source.device
                                    ? options.port + " at " +
                                          learn::LineSettingText({record.BaudRate, record.DataBits,
                                                                  record.Parity, record.StopBits})
                                    : ConnectionSummary(*runtime, record);
    if (ChannelPrepare(runtime->channels, nullptr, record) == 0) {
        return Fail(options, "The connection (" + summary +
                                 ") could not be opened: the port is absent or in use, the host "
                                 "does not answer, or its settings are incomplete.");
    }
    std::cerr << "Listening to " << summary << " for " << ShortestNumber(options.seconds)
              << " s.\n";
    const LearnedTraffic learned =
        CaptureAndLearn(*runtime, record, {options.seconds, options.sends}, std::cerr);
    ChannelClose(runtime->channels, record);

    const learn::LearnOutcome& outcome = learned.outcome;
    if (outcome.refusal == learn::Refusal::NoRecords) {
        return Fail(options, "no records seen in " + ShortestNumber(options.seconds) + " s");
    }
    if (outcome.refusal == learn::Refusal::NoSharedShape) {
        return Fail(options, "records do not share a shape (" +
                                 std::to_string(outcome.check.records) +
                                 " seen); nothing was written");
    }
    source.saved.line = learned.lineFound;
    LearnedEntries entries;
    std::string error;
    const bool ready = options.write
                           ? WriteLearned(outcome.proposal, source.saved, definitionsPath,
                                          configurationPath, entries, error)
                           : PreviewLearned(outcome.proposal, source.saved, definitionsPath,
                                            configurationPath, entries, error);
    if (!ready && options.write) {
        return Fail(options, error);
    }
    const LearnReport report{outcome, learned.lineFound, ready ? &entries : nullptr,
                             options.write && ready};
    std::cout << (options.json ? LearnJson(report) + "\n" : LearnSummary(report)) << std::flush;
    return 0;
}

}  // namespace

void AddLearnCommand(CLI::App& app, HostContext& context) {
    CLI::App* command = app.add_subcommand(
        "learn",
        "Listen to a gage for a few seconds and propose the format that reads it (checked "
        "against the records seen); --write adds it to the configuration");
    const auto options = std::make_shared<LearnOptions>();
    command->add_option("CONNECTION", options->connection,
                        "A configured connection's name (any case) or key, such as MUX_0");
    command->add_option("--port", options->port, "A serial device instead, such as /dev/ttyUSB0");
    command->add_option("--tcp", options->tcp, "A TCP/IP device instead, as HOST:PORT");
    command->add_option("--seconds", options->seconds, "How long to listen (default 5)")
        ->check(CLI::PositiveNumber);
    command->add_option("--send", options->sends,
                        "A request to send again and again while listening, with the tokens of "
                        "command strings (?<13> sends ? and CR); may be repeated");
    command->add_flag("--write", options->write,
                      "Add the interface type, format and gage line to the configuration");
    command->add_flag("--json", options->json, "Print one JSON object instead of text");
    command->callback([&context, options] { context.exitStatus = RunLearn(context, *options); });
}

}  // namespace gage::gagesrv
