#pragma once
// Ordering of texts without regard to case, as the system's own case-insensitive comparison
// gives it (lstrcmpiA on Windows; elsewhere ASCII letters folded, bytes compared unsigned).

namespace gage {

// Negative, zero or positive as a sorts before, equal to or after b. Both zero-terminated.
int CompareTextIgnoreCase(const char* a, const char* b);

}  // namespace gage
