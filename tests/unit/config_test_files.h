#pragma once
// A private temporary directory for configuration-file tests, removed with everything in it.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "config/profile.h"

namespace gage::test {

class ConfigTestDirectory {
  public:
    ConfigTestDirectory() {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("gage-config-test-" + std::to_string(stamp) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(path_);
        profile::ClearCache();
    }
    ~ConfigTestDirectory() {
        profile::ClearCache();
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ConfigTestDirectory(const ConfigTestDirectory&) = delete;
    ConfigTestDirectory& operator=(const ConfigTestDirectory&) = delete;

    std::string File(std::string_view name) const { return (path_ / name).string(); }

    // Writes a whole file (any bytes) and makes sure no cached copy of an earlier one is used.
    std::string Write(std::string_view name, std::string_view contents) const {
        const std::string file = File(name);
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        out.close();
        profile::ClearCache();
        return file;
    }

    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::filesystem::path path_;
};

}  // namespace gage::test
