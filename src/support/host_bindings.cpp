#include "support/host_bindings.h"

namespace gage {

namespace {

constexpr std::array<const char*, static_cast<std::size_t>(HostLibrary::Count)> kLibraryNames = {
    "tqxLanguage", "tqxGenDlgs6", "tqxHelp6", "tqxDBLib6", "tqxMath6", "tqxUtility6"};

// In the order of HostOperation.
constexpr std::array<HostOperationInfo, static_cast<std::size_t>(HostOperation::Count)>
    kOperationInfo = {{
        {HostLibrary::Language, 205, "LangLoadString"},
        {HostLibrary::Language, 207, "LangTranslateDialog"},
        {HostLibrary::Language, 101, "LangBanner"},
        {HostLibrary::GenDlgs, 280, "GenMessageBox"},
        {HostLibrary::GenDlgs, 220, "GenEditFilter"},
        {HostLibrary::GenDlgs, 120, "GenWaitCursor"},
        {HostLibrary::Help, 600, "HelpShow"},
        {HostLibrary::DbLib, 116, "DbSignificantDigits"},
        {HostLibrary::Math, 223, "MathRound"},
        {HostLibrary::Utility, 401, "UtilGetPath"},
        {HostLibrary::Utility, 402, "UtilGetIdentity"},
        {HostLibrary::Utility, 403, "UtilStartup"},
        {HostLibrary::Utility, 406, "UtilLogError"},
        {HostLibrary::Utility, 408, "UtilTraceEntry"},
    }};

constexpr auto kRetryInterval = std::chrono::seconds(1);

}  // namespace

const char* HostLibraryName(HostLibrary library) {
    return kLibraryNames[static_cast<std::size_t>(library)];
}

const HostOperationInfo& DescribeHostOperation(HostOperation operation) {
    return kOperationInfo[static_cast<std::size_t>(operation)];
}

HostBindings::~HostBindings() {
    for (LibraryState& library : libraries_) {
        if (library.handle != nullptr) {
            detail::ReleaseHostLibrary(library.handle);
        }
    }
}

void* HostBindings::Library(HostLibrary library) {
    LibraryState& state = libraries_[static_cast<std::size_t>(library)];
    if (state.handle == nullptr) {
        const Clock::time_point now = Clock::now();
        if (now < state.nextLookup) {
            return nullptr;
        }
        state.handle = detail::FindLoadedHostLibrary(HostLibraryName(library));
        if (state.handle == nullptr) {
            state.nextLookup = now + kRetryInterval;
        }
    }
    return state.handle;
}

host::Address HostBindings::Find(HostOperation operation) {
    const auto index = static_cast<std::size_t>(operation);
    if (settled_[index]) {
        return addresses_[index];
    }
    const HostOperationInfo& info = DescribeHostOperation(operation);
    void* library = Library(info.library);
    if (library == nullptr) {
        return nullptr;
    }
    addresses_[index] = detail::FindHostOperation(library, info);
    settled_[index] = true;
    return addresses_[index];
}

}  // namespace gage
