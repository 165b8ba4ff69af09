#include "support/builtin_log.h"

namespace gage::builtin {

std::tm LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_s(&local, &now);
    return local;
}

}  // namespace gage::builtin
