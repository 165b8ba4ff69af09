#pragma once
// The library's one export, as a host sees it. Hosts load the library and look the entry up by
// name (or, on Windows, by ordinal 100).

#include <cstdint>

#if defined(_WIN32)
#define GAGE_STDCALL __stdcall
#define GAGE_EXPORT
#else
#define GAGE_STDCALL
#define GAGE_EXPORT __attribute__((visibility("default")))
#endif

struct HWND__;

extern "C" {
// window: the host window (dialog owner, or the combo/list box of commands 6 and 7);
// version: must be 1; command: low word the command, high word 1 for a channel-only read;
// argument: usually a gage name, for command 4 an index in the pointer's place.
using ZrngsvInterfaceFunction = std::intptr_t(GAGE_STDCALL*)(HWND__* window, std::int32_t version,
                                                             std::int32_t command,
                                                             const char* argument);
}

inline constexpr const char* kGageServerEntryName = "ZRNGSV_INTERFACE";
inline constexpr int kGageServerEntryOrdinal = 100;
