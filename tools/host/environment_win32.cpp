#include <windows.h>

#include <stdlib.h>

#include "host/environment.h"

namespace gage::host {

// _putenv updates the C run-time's copy that getenv reads; the Win32 call updates the process
// block that GetEnvironmentVariable reads. The library may use either.
void SetEnvironmentValue(const std::string& name, const std::string& value) {
    const std::string assignment = name + "=" + value;
    ::_putenv(assignment.c_str());
    ::SetEnvironmentVariableA(name.c_str(), value.c_str());
}

void UnsetEnvironmentValue(const std::string& name) {
    const std::string assignment = name + "=";
    ::_putenv(assignment.c_str());
    ::SetEnvironmentVariableA(name.c_str(), nullptr);
}

}  // namespace gage::host
