#include <stdlib.h>

#include "host/environment.h"

namespace gage::host {

void SetEnvironmentValue(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
}

void UnsetEnvironmentValue(const std::string& name) {
    ::unsetenv(name.c_str());
}

}  // namespace gage::host
