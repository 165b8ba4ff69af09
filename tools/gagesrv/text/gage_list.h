#pragma once
// What gagesrv list prints for the names the server gives, in the host's order.

#include <string>
#include <vector>

namespace gage::gagesrv {

// "2 gages are configured:\n  1. A\n  2. B\n", or that there are none.
std::string GageListText(const std::vector<std::string>& names);

}  // namespace gage::gagesrv
