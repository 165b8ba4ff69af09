#include "host/environment.h"

#include <cstdlib>
#include <utility>

namespace gage::host {

std::optional<std::string> GetEnvironmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

ScopedEnvironmentValue::ScopedEnvironmentValue(std::string name, const std::string& value)
    : name_(std::move(name)), previous_(GetEnvironmentValue(name_)) {
    SetEnvironmentValue(name_, value);
}

ScopedEnvironmentValue::~ScopedEnvironmentValue() {
    if (previous_) {
        SetEnvironmentValue(name_, *previous_);
    } else {
        UnsetEnvironmentValue(name_);
    }
}

}  // namespace gage::host
