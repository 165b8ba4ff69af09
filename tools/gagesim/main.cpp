// gagesim: a fake gage on a pseudo-terminal or a TCP port, for demos, manual tests and the
// Windows tests (which reach it through a COM port linked to its terminal).
//
//   gagesim --pty --link /tmp/x/com3 --trigger "?\r" --template "{value:%+.4f}<13><10>"
//   gagesim --tcp 0 --interval 500 --values 1.5,1.6,1.7
//
// It prints "device <path>" or "port <number>" on its first line, then runs until interrupted
// (or for --seconds).

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

#include <semaphore.h>
#include <CLI/CLI.hpp>

#include "simulator.h"

namespace {

sem_t gStop;  // posted by the signal handler; sem_post is safe there

extern "C" void OnSignal(int) {
    sem_post(&gStop);
}

// "\r", "\n", "\t" and "\\" in command-line texts.
std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char c = text[++i];
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"gagesim: a simulated gage on a pseudo-terminal or a TCP port"};
    gagesim::SimulatorOptions options;
    bool usePty = false;
    int tcpPort = -1;
    std::string trigger;
    std::string burstTrigger;
    double seconds = 0.0;
    std::string pidFile;
    app.add_flag("--pty", usePty, "Open a pseudo-terminal (the default)");
    app.add_option("--link", options.linkPath, "Symbolic link to the terminal (e.g. /tmp/x/com3)");
    app.add_option("--tcp", tcpPort, "Listen on 127.0.0.1:PORT (0 = any free port)");
    app.add_option("--backlog", options.backlog, "TCP listen backlog");
    app.add_flag("!--accept", options.acceptClients, "Do not accept TCP clients");
    app.add_option("--template", options.recordTemplate,
                   "Record template: <n> bytes; {value:FMT} {abs:FMT} {sign} {sep:C} "
                   "{channel:FMT} {count:FMT} {int16le:S} {int16be:S} {int32le:S} {int32be:S} "
                   "{wide}");
    app.add_option("--values", options.values, "Values sent in turn (comma separated)")
        ->delimiter(',');
    app.add_option("--walk-start", options.walkStart, "Random walk: first value");
    app.add_option("--walk-step", options.walkStep, "Random walk: largest step");
    app.add_option("--seed", options.seed, "Random seed");
    app.add_option("--channels", options.channels, "Channels in turn (comma separated)")
        ->delimiter(',');
    app.add_flag("--all-channels", options.allChannels,
                 "Send one record per channel on each trigger or tick");
    app.add_option("--trigger", trigger,
                   "Command that asks for a record (\\r \\n escapes); {ch} in it addresses one "
                   "channel as %02d");
    app.add_option("--burst-trigger", burstTrigger,
                   "Command answered by --burst-bytes bytes of numbered lines (\\r \\n escapes)");
    app.add_option("--burst-bytes", options.burstBytes, "Size of the answer to --burst-trigger");
    app.add_option("--interval", options.intervalMs, "Send a record every MS milliseconds");
    app.add_option("--noise", options.noiseBytes, "Random bytes before each record");
    app.add_option("--partial", options.partialBytes, "Send only the first N bytes of records");
    app.add_option("--drop-after", options.dropAfterBytes, "Drop the line after N record bytes");
    app.add_option("--baud", options.lineBaud,
                   "Pty: the device's baud rate; a terminal set otherwise gets garbage");
    app.add_option("--frame", options.lineFrame,
                   "Pty: the device's framing with --baud (8N1 or 8N2)");
    app.add_option("--seconds", seconds, "Stop after this long (0 = until interrupted)");
    app.add_option("--pid-file", pidFile, "Write the process id here once ready");
    CLI11_PARSE(app, argc, argv);

    options.transport = tcpPort >= 0 ? gagesim::Transport::Tcp : gagesim::Transport::Pty;
    options.port = static_cast<std::uint16_t>(tcpPort >= 0 ? tcpPort : 0);
    options.trigger = Unescape(trigger);
    options.burstTrigger = Unescape(burstTrigger);
    (void)usePty;

    gagesim::Simulator simulator(options);
    std::string error;
    if (!simulator.Start(error)) {
        std::cerr << "gagesim: " << error << '\n';
        return 1;
    }
    if (options.transport == gagesim::Transport::Pty) {
        std::cout << "device " << simulator.DevicePath() << std::endl;
    } else {
        std::cout << "port " << simulator.Port() << std::endl;
    }
    if (!pidFile.empty()) {
        if (FILE* file = std::fopen(pidFile.c_str(), "w")) {
            std::fprintf(file, "%d\n", static_cast<int>(::getpid()));
            std::fclose(file);
        }
    }

    sem_init(&gStop, 0, 0);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    if (seconds > 0) {
        timespec deadline{};
        clock_gettime(CLOCK_REALTIME, &deadline);
        const auto whole = static_cast<time_t>(seconds);
        deadline.tv_sec += whole;
        deadline.tv_nsec += static_cast<long>((seconds - static_cast<double>(whole)) * 1e9);
        if (deadline.tv_nsec >= 1000000000L) {
            deadline.tv_sec += 1;
            deadline.tv_nsec -= 1000000000L;
        }
        while (sem_timedwait(&gStop, &deadline) != 0 && errno == EINTR) {
        }
    } else {
        while (sem_wait(&gStop) != 0 && errno == EINTR) {
        }
    }
    simulator.Stop();
    std::cerr << "gagesim: " << simulator.CommandCount() << " commands, " << simulator.BytesSent()
              << " bytes sent\n";
    return 0;
}
