#include <windows.h>

#include <cstdio>
#include <cstring>

#include "process_cpu_time.h"

namespace gage::bench {

namespace {

double Seconds(const FILETIME& time) {
    ULARGE_INTEGER ticks{};
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return static_cast<double>(ticks.QuadPart) / 1e7;  // 100 ns units
}

// Under Wine the times Windows reports leave most of the process's work out; the Linux process
// it runs in counts it all (user and system ticks of every thread, 100 a second).
bool WineProcessCpuSeconds(double& seconds) {
    std::FILE* const file = std::fopen("Z:\\proc\\self\\stat", "r");
    if (file == nullptr) {
        return false;
    }
    char line[1024] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    const char* p = read ? std::strrchr(line, ')') : nullptr;
    unsigned long long user = 0;
    unsigned long long system = 0;
    // After the name: state and ten numbers, then the user and system ticks.
    if (p == nullptr || std::sscanf(p + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu",
                                    &user, &system) != 2) {
        return false;
    }
    seconds = static_cast<double>(user + system) / 100.0;
    return true;
}

}  // namespace

double ProcessCpuSeconds() {
    double seconds = 0.0;
    if (WineProcessCpuSeconds(seconds)) {
        return seconds;
    }
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        return 0.0;
    }
    return Seconds(kernel) + Seconds(user);
}

}  // namespace gage::bench
