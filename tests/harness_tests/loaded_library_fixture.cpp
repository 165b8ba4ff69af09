#include "loaded_library_fixture.h"

#include <stdexcept>
#include <system_error>

namespace gage::harness {

namespace {

constexpr std::int32_t kGageNameCommand = 4;
constexpr std::int32_t kGageCountCommand = 5;

}  // namespace

const char* BuiltLibraryPath() {
    return GAGE_BUILT_LIBRARY;
}

void LoadedLibraryTest::TearDown() {
    Unload();
}

bool LoadedLibraryTest::Load() {
    Unload();
    sharedVariable_.emplace(host::kSharedDirVariable, shared_.with_separator());
    localVariable_.emplace(host::kLocalDirVariable, local_.with_separator());
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
