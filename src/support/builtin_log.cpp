#include "support/builtin_log.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace gage::builtin {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool TraceRequested() {
    const char* value = std::getenv(kTraceVariable);
    return value != nullptr && value[0] != '\0' && std::string_view(value) != "0";
}

std::string FormatLogLine(const std::tm& time, std::string_view application,
                          std::string_view text) {
    std::array<char, 80> stamp{};
    std::snprintf(stamp.data(), stamp.size(), "%04d-%02d-%02d %02d:%02d:%02d", time.tm_year + 1900,
                  time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    std::string line(stamp.data());
    line += ' ';
    line += application;
    line += ": ";
    bool inBreak = false;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            if (!inBreak) {
                line += ' ';
            }
            inBreak = true;
            continue;
        }
        inBreak = false;
        line += c;
    }
    return line;
}

bool AppendLogLine(const std::string& path, std::string_view application,
                   std::string_view text) noexcept {
    try {
        if (path.empty()) {
            return false;
        }
        const std::string line = FormatLogLine(LocalTimeNow(), application, text) + "\n";
        const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "a"));
        if (!file) {
            return false;
        }
        return std::fwrite(line.data(), 1, line.size(), file.get()) == line.size();
    } catch (...) {
        return false;  // out of memory: the line is lost, the caller goes on
    }
}

}  // namespace gage::builtin
