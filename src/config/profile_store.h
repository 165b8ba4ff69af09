#pragma once
// Where the profile functions find their files: the parsed documents, each kept until its file
// changes on disk (size, write time to the nanosecond where the system has it, and file identity),
// and the one place where a file is edited, so that two edits through one store never interleave.
// The process has one store; a test puts a fresh one of its own in place while a StoreInUse lives.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "config/profile_atomic_write.h"
#include "config/profile_document.h"

namespace gage::profile {

class Store {
  public:
    Store();
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // The document of path as it is on disk now; an empty document when the file cannot be read.
    std::shared_ptr<const detail::ProfileDocument> Current(const std::string& path);

    // Applies change to a copy of the current document and, when change reports a change, writes
    // the whole file atomically. Returns false only when a needed write failed (the file is then
    // as it was).
    bool Edit(const std::string& path, const std::function<bool(detail::ProfileDocument&)>& change,
              bool keepBackup);

    // Every later write fails at step (nullopt: none), as if the system had refused it.
    void RefuseWritesAt(std::optional<detail::WriteStep> step);
    // Takes every file's stamp as final, however recent its last write: a changed file is then
    // recognised by its stamp alone, never by its content.
    void TrustEveryStamp();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// The store the profile functions use: the process's own, or the one a test put in place.
Store& CurrentStore();

// Puts store in place of the current one for its lifetime.
class StoreInUse {
  public:
    explicit StoreInUse(Store& store);
    ~StoreInUse();
    StoreInUse(const StoreInUse&) = delete;
    StoreInUse& operator=(const StoreInUse&) = delete;

  private:
    Store* previous_;
};

}  // namespace gage::profile
