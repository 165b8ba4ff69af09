#pragma once
// The texts of a log file's lines, without their time stamps and application name.

#include <string>
#include <string_view>
#include <vector>

#include "helpers/text_lines.h"

namespace gage::test {

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
