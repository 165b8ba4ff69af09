// Throughput and waiting cost of the reading engine:
//   BM_ReadRandomValueGage  command 8 on a simulated gage, end to end (reads/s)
//   BM_ParseBackToBack      the parser over a 16 KB buffer of back-to-back records (records/s)
//   BM_WaitForLateRecord    a read whose record arrives 500 ms after the read command: the delay
//                           from the terminator to the return, and the CPU used while waiting,
//                           with the engine's wait and with a spinning wait for comparison.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "config/byte_string.h"
#include "entry/commands.h"
#include "reading/read_cycle.h"

namespace gage {
namespace {

FieldSpec WholeField(int number) {
    FieldSpec spec;
    spec.Defined = 1;
    spec.FieldNumber = static_cast<std::uint16_t>(number);
    spec.StartPosition = 1;
    return spec;
}

GageRecord LineGage(const char* name) {
    GageRecord gage;
    gage.Name = name;
    gage.InterfaceTypeNumber = 1;
    gage.Precision = 4;
    gage.Format.ReadTimeout = 1000;
    gage.Format.RecordEndLength = EncodeByteString("<13><10>", gage.Format.RecordEnd);
    gage.Format.ValueAField = WholeField(1);
    return gage;
}

void BM_ReadRandomValueGage(benchmark::State& state) {
    Runtime runtime;
    runtime.support.UseBuiltInsOnly(true);
    runtime.gages.push_back(LineGage("RandomValue Bench"));
    for (auto _ : state) {
        const std::intptr_t result = RunCommand(runtime, nullptr, 1, 8, "RandomValue Bench");
        benchmark::DoNotOptimize(result);
        if (result == 0) {
            state.SkipWithError("read failed");
            break;
        }
    }
    state.counters["reads/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadRandomValueGage);

void BM_ParseBackToBack(benchmark::State& state) {
    Support support;
    support.UseBuiltInsOnly(true);
    ServerSettings settings;
    ConnectionTable connections;
    ChannelContext channels{support, settings};
    ReadContext context{channels, connections, settings, support, SystemEngineClock()};
    GageRecord gage = LineGage("Bench");
    gage.Format.RecordStartLength = EncodeByteString("<2>", gage.Format.RecordStart);
    gage.Format.SeparatorLength = EncodeByteString(",", gage.Format.Separator);
    gage.Format.ChannelField = WholeField(1);
    gage.Format.ValueAField = WholeField(2);
    gage.Format.LiteralField = WholeField(3);
    gage.Format.LiteralField.Condition = "NE(\"MIN\",\"MAX\")";
    std::string block;
    for (int i = 0; block.size() + 24 < 16000; ++i) {
        block +=
            "\x02" + std::to_string(i % 8 + 1) + "," + std::to_string(i % 1000) + ".125,NRM\r\n";
    }
    ConnectionRecord& record = connections[0];
    AllocateReceiveBuffer(record);
    ReadingResult result{};
    ParseOutput output{result};
    std::int64_t records = 0;
    for (auto _ : state) {
        std::memcpy(record.RxBuffer.get(), block.data(), block.size());
        record.RxCount = static_cast<int>(block.size());
        while (ParseRecord(context, nullptr, gage, output, 0) == 1) {
            ++records;
        }
    }
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
    state.counters["bytes"] = static_cast<double>(block.size());
}
BENCHMARK(BM_ParseBackToBack);

// The engine's waits made into spinning: the comparison case.
class SpinningClock final : public EngineClock {
  public:
    std::uint32_t Now() override { return SystemEngineClock().Now(); }
    void Sleep(std::uint32_t milliseconds) override {
        const std::uint32_t start = Now();
        while (TicksElapsed(start, Now()) < milliseconds) {
        }
    }
    bool WaitReadable(const ConnectionRecord&, std::uint32_t) override { return false; }
};

double ThreadCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_WaitForLateRecord(benchmark::State& state) {
    const bool spinning = state.range(0) != 0;
    Support support;
    support.UseBuiltInsOnly(true);
    ServerSettings settings;
    ConnectionTable connections;
    ChannelContext channels{support, settings};
    SpinningClock spinClock;
    ReadContext context{channels, connections, settings, support,
                        spinning ? static_cast<EngineClock&>(spinClock) : SystemEngineClock()};
    GageRecord gage = LineGage("Late");
    gage.Format.MeasReadCommand = "R";
    gage.Format.ReadTimeout = 2000;
    double latencyMs = 0;
    double cpuShare = 0;
    for (auto _ : state) {
        // A pseudo-terminal as the serial line: its reads return at once with what has arrived.
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
            state.SkipWithError("pty");
            break;
        }
        const int port = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios raw{};
        ::tcgetattr(port, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(port, TCSANOW, &raw);
        ConnectionRecord& record = connections[0];
        record.Kind = KIND_SERIAL;
        record.PortNumber = 1;
        record.PortHandle.reset(port);
        const int ends[2] = {port, master};
        std::chrono::steady_clock::time_point sent;
        std::thread device([&] {
            char command = 0;
            if (::read(ends[1], &command, 1) == 1) {
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
                sent = std::chrono::steady_clock::now();
                const char reply[] = "12.5\r\n";
                (void)::write(ends[1], reply, sizeof reply - 1);
            }
        });
        ReadingResult result{};
        ParseOutput output{result};
        const double cpuBefore = ThreadCpuSeconds();
        const auto started = std::chrono::steady_clock::now();
        const int valid = ReadGage(context, nullptr, gage, output, 0);
        const auto returned = std::chrono::steady_clock::now();
        const double cpu = ThreadCpuSeconds() - cpuBefore;
        device.join();
        ::close(ends[1]);
        if (valid != 1) {
            state.SkipWithError("no reading");
            break;
        }
        latencyMs += std::chrono::duration<double, std::milli>(returned - sent).count();
        cpuShare += cpu / std::chrono::duration<double>(returned - started).count();
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["ms_after_terminator"] = latencyMs / n;
    state.counters["cpu_share_pct"] = 100.0 * cpuShare / n;
}
BENCHMARK(BM_WaitForLateRecord)->Arg(0)->Arg(1)->ArgName("spinning")->Iterations(4)->UseRealTime();

}  // namespace
}  // namespace gage
