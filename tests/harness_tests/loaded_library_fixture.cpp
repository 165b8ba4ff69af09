#include "loaded_library_fixture.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

namespace gage::harness {

namespace {

constexpr std::int32_t kGageNameCommand = 4;
constexpr std::int32_t kGageCountCommand = 5;

std::filesystem::path MakeUniqueDirectory(std::string_view prefix) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::mt19937_64 random(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            base / (std::string(prefix) + "-" + std::to_string(random() % 1000000000u) + "-" +
                    std::to_string(counter++));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            return candidate;
        }
    }
    throw std::runtime_error("cannot create a temporary directory in " + base.string());
}

}  // namespace

TemporaryDirectory::TemporaryDirectory(std::string_view prefix)
    : path_(MakeUniqueDirectory(prefix)) {}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

std::string TemporaryDirectory::PathWithSeparator() const {
    return (path_ / "").string();
}

std::filesystem::path TemporaryDirectory::WriteFile(const std::string& name,
                                                    std::string_view contents) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
    return file;
}

std::optional<std::string> TemporaryDirectory::ReadFile(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char* BuiltLibraryPath() {
    return GAGE_BUILT_LIBRARY;
}

void LoadedLibraryTest::TearDown() {
    Unload();
}

bool LoadedLibraryTest::Load() {
    Unload();
    sharedVariable_.emplace(host::kSharedDirVariable, shared_.PathWithSeparator());
    localVariable_.emplace(host::kLocalDirVariable, local_.PathWithSeparator());
    host::GageServerLibrary library(BuiltLibraryPath());
    if (!library.IsLoaded()) {
        ADD_FAILURE() << library.Error();
        return false;
    }
    library_.emplace(std::move(library));
    return true;
}

void LoadedLibraryTest::Unload() {
    library_.reset();
    localVariable_.reset();
    sharedVariable_.reset();
}

const host::GageServerLibrary& LoadedLibraryTest::Library() const {
    if (!library_) {
        throw std::logic_error("the library is not loaded");
    }
    return *library_;
}

std::intptr_t LoadedLibraryTest::Call(std::int32_t command, const char* argument) const {
    return Library().Call(command, argument);
}

std::vector<std::string> LoadedLibraryTest::GageNames() const {
    std::vector<std::string> names;
    const std::intptr_t count = Call(kGageCountCommand);
    for (std::intptr_t index = 0; index < count; ++index) {
        const std::intptr_t name = Call(kGageNameCommand, reinterpret_cast<const char*>(index));
        names.emplace_back(name == 0 ? "<no name>" : reinterpret_cast<const char*>(name));
    }
    return names;
}

}  // namespace gage::harness
