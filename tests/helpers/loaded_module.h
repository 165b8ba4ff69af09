#pragma once
// A library loaded for the life of the object, the way a host loads one (dlopen or LoadLibrary
// through host::detail), with its exports looked up by name.

#include <memory>
#include <string>

#include "host/library_loader.h"

namespace gage::test {

class LoadedModule {
  public:
    explicit LoadedModule(const std::string& path)
        : handle_(host::detail::OpenLibrary(path, error_)) {}

    void* get() const { return handle_.get(); }
    // Why the load failed; empty when it did not.
    const std::string& error() const { return error_; }
    // The export of that name as a Function; null when there is none.
    template <typename Function>
    Function Find(const char* name) const {
        return handle_ ? reinterpret_cast<Function>(host::detail::FindByName(handle_.get(), name))
                       : nullptr;
    }

  private:
    struct Closer {
        void operator()(void* handle) const { host::detail::CloseLibrary(handle); }
    };
    std::string error_;  // before handle_: the load writes it
    std::unique_ptr<void, Closer> handle_;
};

}  // namespace gage::test
