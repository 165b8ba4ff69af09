#include "reading/text_compare.h"

namespace gage {

int CompareTextIgnoreCase(const char* a, const char* b) {
    auto fold = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u >= 'A' && u <= 'Z') ? u - 'A' + 'a' : static_cast<unsigned>(u);
    };
    for (;; ++a, ++b) {
        const unsigned x = fold(*a);
        const unsigned y = fold(*b);
        if (x != y || x == 0) {
            return static_cast<int>(x) - static_cast<int>(y);
        }
    }
}

}  // namespace gage
