#pragma once
// Loads the gage-server library the way a host does and calls its one entry point. Used by the
// command-line host and by the tests that drive the built library from outside.

#include <cstdint>
#include <memory>
#include <string>

#include "entry/gage_server_api.h"

namespace gage::host {

// The interface version every host passes.
inline constexpr std::int32_t kGageServerInterfaceVersion = 1;

// Whether this platform's libraries export by ordinal as well as by name.
bool PlatformHasExportOrdinals();

class GageServerLibrary {
  public:
    // Loads the library at path (a file name alone uses the platform's search order). The load
    // runs the library's start-up; on failure IsLoaded() is false and Error() says why.
    explicit GageServerLibrary(const std::string& path);
    // Unloads the library, which runs its shutdown.
    ~GageServerLibrary();
    GageServerLibrary(const GageServerLibrary&) = delete;
    GageServerLibrary& operator=(const GageServerLibrary&) = delete;
    GageServerLibrary(GageServerLibrary&&) noexcept;
    GageServerLibrary& operator=(GageServerLibrary&&) noexcept;

    bool IsLoaded() const { return handle_ != nullptr; }
    const std::string& Error() const { return error_; }

    // The entry looked up by its name; null when the library lacks it.
    ZrngsvInterfaceFunction EntryByName() const { return byName_; }
    // The entry looked up by ordinal 100; null where the platform has no ordinals.
    ZrngsvInterfaceFunction EntryByOrdinal() const { return byOrdinal_; }

    // Calls the entry (found by name) with interface version 1 unless told otherwise; 0 when
    // the library is not loaded.
    std::intptr_t Call(std::int32_t command, const char* argument = nullptr,
                       HWND__* window = nullptr,
                       std::int32_t version = kGageServerInterfaceVersion) const;

    // Unloads now (shutdown runs); the object is then empty.
    void Unload();

  private:
    struct Closer {
        void operator()(void* handle) const;
    };
    std::unique_ptr<void, Closer> handle_;
    std::string error_;
    ZrngsvInterfaceFunction byName_ = nullptr;
    ZrngsvInterfaceFunction byOrdinal_ = nullptr;
};

namespace detail {

using GenericProc = void (*)();

// Platform operations behind GageServerLibrary (library_loader_posix.cpp / _win32.cpp).
void* OpenLibrary(const std::string& path, std::string& error);
void CloseLibrary(void* handle);
GenericProc FindByName(void* handle, const char* name);
GenericProc FindByOrdinal(void* handle, int ordinal);

}  // namespace detail

}  // namespace gage::host
