#pragma once
// The texts of a log file's lines, without their time stamps and application name.

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace gage::test {

inline std::vector<std::string> LogTexts(const std::string& logPath) {
    constexpr std::string_view kApplication = "ZRNGSV32: ";
    std::vector<std::string> texts;
    std::ifstream file(logPath);
    std::string line;
    while (std::getline(file, line)) {
        const std::size_t at = line.find(kApplication);
        texts.push_back(at == std::string::npos ? line : line.substr(at + kApplication.size()));
    }
    return texts;
}

}  // namespace gage::test
