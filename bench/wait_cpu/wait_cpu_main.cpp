// CPU used by a read while it waits for a gage that stays silent: each round is one read with a
// 500 ms time-out, and the harness prints CPU time over wall time for it. The gage is a silent
// gage simulator, on a serial port or a TCP port of 127.0.0.1 (bench/wait_cpu.sh starts it):
//   wait_cpu_bench serial PREFIX NUMBER [ROUNDS]   e.g. serial COM 43, serial /tmp/gw/com 1
//   wait_cpu_bench tcp PORT [ROUNDS]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "channels/serial_channel.h"
#include "channels/tcp_channel.h"
#include "config/byte_string.h"
#include "helpers/serial_record.h"
#include "process_cpu_time.h"
#include "reading/read_cycle.h"

namespace gage::bench {
namespace {

constexpr int kWaitMs = 500;

FieldSpec WholeFirstField() {
    FieldSpec spec;
    spec.Defined = 1;
    spec.FieldNumber = 1;
    spec.StartPosition = 1;
    return spec;
}

bool OpenConnection(ChannelContext& channels, ServerSettings& settings, ConnectionRecord& record,
                    int argc, char** argv) {
    const std::string kind = argv[1];
    if (kind == "serial" && argc >= 4) {
        settings.ComPrefix = argv[2];
        record.Kind = KIND_SERIAL;
        test::MakeSerial9600(record, std::atoi(argv[3]));
        // SerialConfigure answers 0 when the settings were applied.
        return SerialOpen(channels, nullptr, record) > 0 &&
               SerialConfigure(channels, nullptr, record) == 0;
    }
    if (kind == "tcp" && argc >= 3) {
        TcpStartup(channels);
        record.Kind = KIND_TCPIP;
        record.PortNumber = std::atoi(argv[2]);
        record.TcpPort = static_cast<std::uint16_t>(record.PortNumber);
        return TcpResolveHost(channels, record, "127.0.0.1") != 0 && TcpOpen(channels, record) != 0;
    }
    return false;
}

int Run(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: wait_cpu_bench serial PREFIX NUMBER [ROUNDS] | tcp PORT [ROUNDS]\n");
        return 2;
    }
    Support support;
    support.UseBuiltInsOnly(true);
    ServerSettings settings;
    ConnectionTable connections;
    ChannelContext channels{support, settings};
    ReadContext context{channels, connections, settings, support, SystemEngineClock()};
    ConnectionRecord& record = connections[0];
    if (!OpenConnection(channels, settings, record, argc, argv)) {
        std::fprintf(stderr, "wait_cpu_bench: cannot open the %s connection\n", argv[1]);
        return 1;
    }
    const int roundsArgument = std::string(argv[1]) == "serial" ? 4 : 3;
    const int rounds = argc > roundsArgument ? std::max(1, std::atoi(argv[roundsArgument])) : 4;

    GageRecord gage;
    gage.Name = "Silent";
    gage.InterfaceTypeNumber = 1;
    gage.Format.ReadTimeout = kWaitMs;
    gage.Format.RecordEndLength = EncodeByteString("<13><10>", gage.Format.RecordEnd);
    gage.Format.ValueAField = WholeFirstField();

    double cpuTotal = 0.0;
    double wallTotal = 0.0;
    for (int round = 1; round <= rounds; ++round) {
        ReadingResult result{};
        ParseOutput output{result};
        const double cpuBefore = ProcessCpuSeconds();
        const auto started = std::chrono::steady_clock::now();
        const int valid = ReadGage(context, nullptr, gage, output, 0);
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        if (valid != 0) {
            std::fprintf(stderr, "wait_cpu_bench: the gage answered; it must stay silent\n");
            return 1;
        }
        std::printf("round %d: cpu %.1f ms / wall %.1f ms = %.2f%%\n", round, cpu * 1e3, wall * 1e3,
                    100.0 * cpu / wall);
        cpuTotal += cpu;
        wallTotal += wall;
    }
    std::printf("%s wait: cpu/wall %.2f%% over %d rounds of %d ms\n", argv[1],
                100.0 * cpuTotal / wallTotal, rounds, kWaitMs);
    return 0;
}

}  // namespace
}  // namespace gage::bench

int main(int argc, char** argv) {
    return gage::bench::Run(argc, argv);
}
