#pragma once
// Section names of BRW_GAGE.DEF: "TYPE<t>" holds interface type t, "TYPE<t>.<f>" its gage
// format f (f = 0 is the format dialog's scratch copy).

#include <string>

namespace gage {

inline constexpr int kFirstDefinitionNumber = 1;
inline constexpr int kLastListedDefinitionNumber = 100;  // lists show numbers 1 to 100

inline std::string InterfaceTypeSection(int type) {
    return "TYPE" + std::to_string(type);
}

inline std::string GageFormatSection(int type, int format) {
    return "TYPE" + std::to_string(type) + "." + std::to_string(format);
}

// A numbered definition as the lists show it.
struct DefinitionEntry {
    int number = 0;
    std::string description;
};

}  // namespace gage
