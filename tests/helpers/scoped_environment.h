#pragma once
// Sets (or removes) an environment variable for the life of the object and restores the old
// value afterwards.

#include <cstdlib>
#include <optional>
#include <string>

namespace gage::test {

inline void SetEnvironment(const std::string& name, const std::optional<std::string>& value) {
#if defined(_WIN32)
    ::_putenv_s(name.c_str(), value ? value->c_str() : "");
#else
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
#endif
}

class ScopedEnvironment {
  public:
    ScopedEnvironment(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) {
            old_ = old;
        }
        SetEnvironment(name_, value);
    }
    ~ScopedEnvironment() { SetEnvironment(name_, old_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace gage::test
