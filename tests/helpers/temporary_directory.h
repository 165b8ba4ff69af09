#pragma once
// A fresh, empty directory for one test, removed with its contents when the object goes. Every
// test program, benchmark and fixture that needs a scratch directory uses this one.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace gage::test {

class TemporaryDirectory {
  public:
    // Under the system's temporary directory.
    explicit TemporaryDirectory(std::string_view prefix = "gage-test-")
        : TemporaryDirectory(std::filesystem::temp_directory_path(), prefix) {}
    // Under base, named prefix and six random characters: with base "/tmp" and a short prefix the
    // path stays short enough for a serial device prefix (COM_PREFIX holds 15 characters).
    TemporaryDirectory(const std::filesystem::path& base, std::string_view prefix) {
        static std::atomic<unsigned> counter{0};
        std::mt19937 random(
            std::random_device{}() ^ counter.fetch_add(1) ^
            static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
        constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::uniform_int_distribution<std::size_t> letter(0, kLetters.size() - 1);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name(prefix);
            for (int i = 0; i < 6; ++i) {
                name += kLetters[letter(random)];
            }
            std::error_code error;
            if (std::filesystem::create_directory(base / name, error)) {
                path_ = base / name;
                return;
            }
        }
        throw std::runtime_error("cannot create a temporary directory in " + base.string());
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The directory as text, without and with a final separator (the library appends file names
    // to the second form).
    std::string str() const { return path_.string(); }
    std::string with_separator() const { return (path_ / "").string(); }
    std::string File(std::string_view name) const { return (path_ / name).string(); }

    // Writes the bytes exactly as given (no line-end translation); returns the file's path.
    std::string Write(std::string_view name, std::string_view contents) const {
        const std::string file = File(name);
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + file);
        }
        return file;
    }
    // The file's bytes; nothing when it does not exist.
    std::optional<std::string> Read(std::string_view name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        if (!in) {
            return std::nullopt;
        }
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    std::filesystem::path path_;
};

}  // namespace gage::test
