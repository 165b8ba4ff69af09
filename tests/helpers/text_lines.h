#pragma once
// The lines of a text file, without their line ends (LF or CR LF); none when it cannot be read.

#include <filesystem>
#include <fstream>
#include <string>
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

}  // namespace gage::test
