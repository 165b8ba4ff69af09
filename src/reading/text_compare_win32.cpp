#include <windows.h>

#include "reading/text_compare.h"

namespace gage {

int CompareTextIgnoreCase(const char* a, const char* b) {
    return ::lstrcmpiA(a, b);
}

}  // namespace gage
