#pragma once
// The lines of a text file, without their line ends (LF or CR LF); none when it cannot be read.
// LogTexts: the texts of a log file's lines, without their time stamps and application name.

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace gage::test {

inline std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

inline std::vector<std::string> LogTexts(const std::string& logPath) {
    constexpr std::string_view kApplication = "ZRNGSV32: ";
    std::vector<std::string> texts = ReadLines(logPath);
    for (std::string& line : texts) {
        if (const std::size_t at = line.find(kApplication); at != std::string::npos) {
            line.erase(0, at + kApplication.size());
        }
    }
    return texts;
}

}  // namespace gage::test
