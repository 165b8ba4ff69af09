#pragma once
// Built-in log writer: one time-stamped line per entry, "YYYY-MM-DD HH:MM:SS application: text",
// appended to the log file (created when missing). Writing never fails its caller: a log that
// cannot be written is skipped.

#include <ctime>
#include <string>
#include <string_view>

namespace gage::builtin {

// The environment variable that switches on the trace of every entry call.
inline constexpr const char* kTraceVariable = "ZRNGSV_TRACE";

// True when ZRNGSV_TRACE is set to anything but an empty text or "0".
bool TraceRequested();

// The line for text (line breaks in it become spaces), without the final newline.
std::string FormatLogLine(const std::tm& time, std::string_view application, std::string_view text);

// Appends the line for text at the current local time; false when the file cannot be written.
bool AppendLogLine(const std::string& path, std::string_view application,
                   std::string_view text) noexcept;

// Platform part: the local time now.
std::tm LocalTimeNow();

}  // namespace gage::builtin
