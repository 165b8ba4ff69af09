#pragma once
// Finds the host's support-library operations in the libraries the host has loaded. A library is
// only ever looked for among those already loaded, never loaded by us: Windows asks for the
// module "<name>.dll" and the operation by its ordinal; elsewhere the shared object
// "lib<name>.so" (dlopen with RTLD_NOLOAD) and the operation by its name, e.g. "LangLoadString".

#include <array>
#include <chrono>
#include <cstddef>

#include "support/host_call.h"

namespace gage {

enum class HostLibrary : std::size_t { Language, GenDlgs, Help, DbLib, Math, Utility, Count };

enum class HostOperation : std::size_t {
    LangLoadString,
    LangTranslateDialog,
    LangBanner,
    GenMessageBox,
    GenEditFilter,
    GenWaitCursor,
    HelpShow,
    DbSignificantDigits,
    MathRound,
    UtilGetPath,
    UtilGetIdentity,
    UtilStartup,
    UtilLogError,
    UtilTraceEntry,
    Count
};

struct HostOperationInfo {
    HostLibrary library;
    int ordinal;
    const char* name;
};

// The library name ("tqxLanguage", ...) without platform prefix or suffix.
const char* HostLibraryName(HostLibrary library);
const HostOperationInfo& DescribeHostOperation(HostOperation operation);

namespace detail {
// Platform parts: a loaded library's handle (null when the host has not loaded it), an
// operation's address in it (null when it has none), and the release of a handle.
void* FindLoadedHostLibrary(const char* name);
host::Address FindHostOperation(void* library, const HostOperationInfo& operation);
void ReleaseHostLibrary(void* library) noexcept;
}  // namespace detail

// The operations found so far. An operation is looked up once its library is loaded and the
// answer (found or not) is kept. A library that is not loaded is looked for again at most once a
// second, so an operation called on every entry (UtilTraceEntry) costs next to nothing.
class HostBindings {
  public:
    HostBindings() = default;
    ~HostBindings();
    HostBindings(const HostBindings&) = delete;
    HostBindings& operator=(const HostBindings&) = delete;

    host::Address Find(HostOperation operation);

  private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kLibraries = static_cast<std::size_t>(HostLibrary::Count);
    static constexpr std::size_t kOperations = static_cast<std::size_t>(HostOperation::Count);

    struct LibraryState {
        void* handle = nullptr;
        Clock::time_point nextLookup{};
    };
    void* Library(HostLibrary library);

    std::array<LibraryState, kLibraries> libraries_{};
    std::array<host::Address, kOperations> addresses_{};
    std::array<bool, kOperations> settled_{};
};

}  // namespace gage
