#pragma once
// Sets (or removes) an environment variable for the life of the object and restores the old
// value afterwards, where both getenv and the Win32 calls see it (host::SetEnvironmentValue).

#include <optional>
#include <string>
#include <utility>

#include "host/environment.h"

namespace gage::test {

class ScopedEnvironment {
  public:
    ScopedEnvironment(std::string name, const std::optional<std::string>& value)
        : name_(std::move(name)), old_(host::GetEnvironmentValue(name_)) {
        Set(value);
    }
    ~ScopedEnvironment() { Set(old_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    void Set(const std::optional<std::string>& value) const {
        if (value) {
            host::SetEnvironmentValue(name_, *value);
        } else {
            host::UnsetEnvironmentValue(name_);
        }
    }
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace gage::test
