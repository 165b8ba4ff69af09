#include "gagesrv/text/gage_list.h"

namespace gage::gagesrv {

std::string GageListText(const std::vector<std::string>& names) {
    if (names.empty()) {
        return "No gages are configured.\n";
    }
    std::string text = std::to_string(names.size()) +
                       (names.size() == 1 ? " gage is" : " gages are") + " configured:\n";
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += "  " + std::to_string(i + 1) + ". " + names[i] + "\n";
    }
    return text;
}

}  // namespace gage::gagesrv
