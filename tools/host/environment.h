#pragma once
// Process environment for hosts and tests: the library takes its directories from
// ZRNGSV_SHARED_DIR and ZRNGSV_LOCAL_DIR when it loads, so these must be set before loading.

#include <optional>
#include <string>

namespace gage::host {

inline constexpr const char* kSharedDirVariable = "ZRNGSV_SHARED_DIR";
inline constexpr const char* kLocalDirVariable = "ZRNGSV_LOCAL_DIR";

std::optional<std::string> GetEnvironmentValue(const std::string& name);
// Sets name to value where the library's run-time library will also see it.
void SetEnvironmentValue(const std::string& name, const std::string& value);
void UnsetEnvironmentValue(const std::string& name);

// Sets a variable for the life of the object and puts back what was there before.
class ScopedEnvironmentValue {
  public:
    ScopedEnvironmentValue(std::string name, const std::string& value);
    ~ScopedEnvironmentValue();
    ScopedEnvironmentValue(const ScopedEnvironmentValue&) = delete;
    ScopedEnvironmentValue& operator=(const ScopedEnvironmentValue&) = delete;

  private:
    std::string name_;
    std::optional<std::string> previous_;
};

}  // namespace gage::host
