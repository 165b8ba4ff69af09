#pragma once
// A fresh, empty directory under the system's temporary directory, removed with its contents
// when the object goes.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

namespace gage::test {

class TemporaryDirectory {
  public:
    TemporaryDirectory() {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("gage-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The directory as text, with or without a final separator.
    std::string str() const { return path_.string(); }
    std::string with_separator() const { return (path_ / "").string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace gage::test
