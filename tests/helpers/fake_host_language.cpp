// A stand-in for the host's language library, exporting LangLoadString (ordinal 205 on Windows)
// and a call counter for the tests.

#include <cstdio>

#include "support/host_call.h"

#if defined(_WIN32)
#define FAKE_HOST_EXPORT
#else
#define FAKE_HOST_EXPORT __attribute__((visibility("default")))
#endif

namespace {
int g_calls = 0;  // calls of LangLoadString since the library was loaded
}  // namespace

extern "C" {

FAKE_HOST_EXPORT int GAGE_HOST_CALL LangLoadString(void*, unsigned id, char* buffer,
                                                   int bufferSize) {
    ++g_calls;
    if (buffer == nullptr || bufferSize <= 0) {
        return 0;
    }
    const int length =
        std::snprintf(buffer, static_cast<std::size_t>(bufferSize), "host string %u", id);
    return length < bufferSize ? length : bufferSize - 1;
}

FAKE_HOST_EXPORT int FakeHostCalls() {
    return g_calls;
}

}  // extern "C"
