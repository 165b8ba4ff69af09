// Start-up against TCP/IP connections that never complete. The configuration names 64 TCP/IP
// connections (one gage each) to a port on 127.0.0.1 whose listener never accepts and whose accept
// queue is already full, so the kernel drops every new SYN and each connect runs into the
// connection time-out. Loading the built library runs the whole start-up, so the load's wall time
// is what a host waits before it gets control back.
//
// Arguments: connection time-out in milliseconds, number of connections, and whether to time
// command 10 (open every port again) afterwards. Counters:
//   load_s, per_connection_ms  wall time of loading the library (the iteration time)
//   load_timeouts              load_s as a multiple of one connection time-out: the connects go
//                              out together, so this stays near 1 however many there are
//   unload_ms                  wall time of unloading it
//   gages                      what command 5 answers afterwards
//   read_ms, read_result       a read (command 8) of the first gage afterwards
//   init_ports_s               command 10 afterwards, when asked for
//   init_ports_timeouts        the same as a multiple of one connection time-out
//   timeouts_logged            "WSAETIMEDOUT" lines in the library's log
//   queue_fillers              connections that filled the accept queue before the load
// The blocking connect (time-out 0) takes the system's own connect time-out (about two minutes
// here); set GAGE_BENCH_BLOCKING_CONNECT=1 to add a case for it.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "helpers/temporary_directory.h"
#include "host/environment.h"
#include "host/library_loader.h"
#include "simulator.h"

namespace {

constexpr std::int32_t kCommandGageCount = 5;
constexpr std::int32_t kCommandRead = 8;
constexpr std::int32_t kCommandInitPorts = 10;
constexpr int kMaxQueueFillers = 16;
constexpr int kFillerWaitMs = 200;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class UniqueFd {
  public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    UniqueFd& operator=(UniqueFd&&) = delete;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Connects to the port until a connect no longer completes: from then on the accept queue is full
// and the listener drops SYNs. The sockets are kept open so that the queue stays full.
std::vector<UniqueFd> FillAcceptQueue(std::uint16_t port, bool& full) {
    std::vector<UniqueFd> fillers;
    full = false;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int i = 0; i < kMaxQueueFillers && !full; ++i) {
        UniqueFd& socket = fillers.emplace_back(::socket(AF_INET, SOCK_STREAM, 0));
        if (socket.get() < 0) {
            break;
        }
        ::fcntl(socket.get(), F_SETFL, ::fcntl(socket.get(), F_GETFL) | O_NONBLOCK);
        if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
            continue;
        }
        pollfd waiting{socket.get(), POLLOUT, 0};
        full = ::poll(&waiting, 1, kFillerWaitMs) == 0;
    }
    return fillers;
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string GageName(int index) {
    return "Net gage " + std::to_string(index + 1);
}

void WriteConfiguration(const std::filesystem::path& directory, double timeoutSeconds,
                        std::uint16_t port, int connections) {
    WriteFile(directory / "ZRN_SYS.INI",
              "[GAGESERVER]\nCOM_PREFIX=COM\nWAITTIME=150\n"
              "TCPIP_CONNECTION_TIMEOUT=" +
                  std::to_string(timeoutSeconds) + "\n");
    WriteFile(directory / "BRW_GAGE.DEF",
              "[TYPE1]\nDESCRIPTION=Network converter\nINIT1=0,I<13>\n"
              "[TYPE1.1]\nDESCRIPTION=One value per line\nDATATYPE=0\nSDECIMAL=.\n"
              "RECEND=<13><10>\nGAGEINIT=G<ID><13>\nMEAS_READ=R<13>\nMEASTIMEOUT=1000\n"
              "VALUE1=1,1,0\n");
    std::string text = "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\n";
    for (int i = 0; i < connections; ++i) {
        text += "MUX_" + std::to_string(i) + "=\"Net " + std::to_string(i) + "\",1," +
                std::to_string(port) + ",127,0,0,1,1,1024,1,\n";
    }
    text += "[GAGES]\n";
    for (int i = 0; i < connections; ++i) {
        text += "GAGE_" + std::to_string(i + 1) + "=\"" + GageName(i) + "\",1,1,0," +
                std::to_string(i + 1) + ",SN,0,0,0,1,4,0," + std::to_string(i) + "\n";
    }
    WriteFile(directory / "BRW_GAGE.CFG", text);
}

int CountInFile(const std::filesystem::path& path, const std::string& needle) {
    std::ifstream file(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    int count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + needle.size())) {
        ++count;
    }
    return count;
}

void BM_StartupUnaccepted(benchmark::State& state) {
    const double timeoutSeconds = static_cast<double>(state.range(0)) / 1000.0;
    const int connections = static_cast<int>(state.range(1));
    const bool timeInitPorts = state.range(2) != 0;

    gagesim::SimulatorOptions options;
    options.transport = gagesim::Transport::Tcp;
    options.acceptClients = false;
    options.backlog = 0;
    gagesim::Simulator listener(options);
    std::string error;
    if (!listener.Start(error)) {
        state.SkipWithError(("listener: " + error).c_str());
        return;
    }
    bool queueFull = false;
    const std::vector<UniqueFd> fillers = FillAcceptQueue(listener.Port(), queueFull);
    if (!queueFull) {
        state.SkipWithError("the listener's accept queue could not be filled");
        return;
    }

    const gage::test::TemporaryDirectory directory;
    WriteConfiguration(directory.path(), timeoutSeconds, listener.Port(), connections);
    const std::string dir = directory.path().string() + "/";
    const gage::host::ScopedEnvironmentValue shared(gage::host::kSharedDirVariable, dir);
    const gage::host::ScopedEnvironmentValue local(gage::host::kLocalDirVariable, dir);
    const gage::host::ScopedEnvironmentValue quiet("ZRNGSV_NO_MESSAGE_BOXES", "1");

    double unloadSeconds = 0.0;
    double readSeconds = 0.0;
    double initPortsSeconds = 0.0;
    std::intptr_t gages = 0;
    std::intptr_t readResult = 0;
    for (auto _ : state) {
        const auto loadStart = Clock::now();
        gage::host::GageServerLibrary library(GAGE_BUILT_LIBRARY);
        const double loadSeconds = SecondsSince(loadStart);
        if (!library.IsLoaded()) {
            state.SkipWithError(library.Error().c_str());
            return;
        }
        state.SetIterationTime(loadSeconds);
        gages = library.Call(kCommandGageCount);
        const std::string firstGage = GageName(0);
        const auto readStart = Clock::now();
        readResult = library.Call(kCommandRead, firstGage.c_str());
        readSeconds = SecondsSince(readStart);
        if (timeInitPorts) {
            const auto initStart = Clock::now();
            library.Call(kCommandInitPorts);
            initPortsSeconds = SecondsSince(initStart);
        }
        const auto unloadStart = Clock::now();
        library.Unload();
        unloadSeconds = SecondsSince(unloadStart);
        state.counters["load_s"] = loadSeconds;
        state.counters["per_connection_ms"] = loadSeconds * 1000.0 / connections;
        if (timeoutSeconds > 0.0) {
            state.counters["load_timeouts"] = loadSeconds / timeoutSeconds;
        }
    }
    state.counters["unload_ms"] = unloadSeconds * 1000.0;
    state.counters["gages"] = static_cast<double>(gages);
    state.counters["read_ms"] = readSeconds * 1000.0;
    state.counters["read_result"] = readResult != 0 ? 1.0 : 0.0;
    if (timeInitPorts) {
        state.counters["init_ports_s"] = initPortsSeconds;
        if (timeoutSeconds > 0.0) {
            state.counters["init_ports_timeouts"] = initPortsSeconds / timeoutSeconds;
        }
    }
    state.counters["timeouts_logged"] =
        CountInFile(directory.path() / "ZRNGSV32.LOG", "WSAETIMEDOUT");
    state.counters["queue_fillers"] = static_cast<double>(fillers.size());
}
BENCHMARK(BM_StartupUnaccepted)
    ->ArgNames({"timeout_ms", "connections", "init_ports"})
    ->Args({500, 64, 1})
    ->Args({1000, 64, 1})
    ->Args({3000, 64, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// The blocking connect (time-out 0) waits for the system's own time-out, so it is run only on
// request; all its connects wait that one limit together.
[[maybe_unused]] const bool kBlockingCaseRegistered = [] {
    const char* wanted = std::getenv("GAGE_BENCH_BLOCKING_CONNECT");
    if (wanted != nullptr && std::string(wanted) == "1") {
        benchmark::RegisterBenchmark("BM_StartupUnaccepted", BM_StartupUnaccepted)
            ->ArgNames({"timeout_ms", "connections", "init_ports"})
            ->Args({0, 64, 0})
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kSecond);
    }
    return true;
}();

}  // namespace
