#include "host/library_loader.h"

#include <utility>

namespace gage::host {

void GageServerLibrary::Closer::operator()(void* handle) const {
    detail::CloseLibrary(handle);
}

GageServerLibrary::GageServerLibrary(const std::string& path) {
    if (path.empty()) {
        error_ = "no library file was given";
        return;
    }
    handle_.reset(detail::OpenLibrary(path, error_));
    if (!handle_) {
        return;
    }
    // The casts go through the generic function type that both platforms hand back.
    byName_ = reinterpret_cast<ZrngsvInterfaceFunction>(
        detail::FindByName(handle_.get(), kGageServerEntryName));
    byOrdinal_ = reinterpret_cast<ZrngsvInterfaceFunction>(
        detail::FindByOrdinal(handle_.get(), kGageServerEntryOrdinal));
    if (byName_ == nullptr) {
        error_ = path + " does not export " + kGageServerEntryName;
        handle_.reset();
        byOrdinal_ = nullptr;
    }
}

GageServerLibrary::~GageServerLibrary() = default;

GageServerLibrary::GageServerLibrary(GageServerLibrary&& other) noexcept
    : handle_(std::move(other.handle_)),
      error_(std::move(other.error_)),
      byName_(std::exchange(other.byName_, nullptr)),
      byOrdinal_(std::exchange(other.byOrdinal_, nullptr)) {}

GageServerLibrary& GageServerLibrary::operator=(GageServerLibrary&& other) noexcept {
    if (this != &other) {
        Unload();
        handle_ = std::move(other.handle_);
        error_ = std::move(other.error_);
        byName_ = std::exchange(other.byName_, nullptr);
        byOrdinal_ = std::exchange(other.byOrdinal_, nullptr);
    }
    return *this;
}

std::intptr_t GageServerLibrary::Call(std::int32_t command, const char* argument, HWND__* window,
                                      std::int32_t version) const {
    if (byName_ == nullptr) {
        return 0;
    }
    return byName_(window, version, command, argument);
}

void GageServerLibrary::Unload() {
    byName_ = nullptr;
    byOrdinal_ = nullptr;
    handle_.reset();
}

}  // namespace gage::host
