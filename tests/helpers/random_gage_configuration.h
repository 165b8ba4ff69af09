#pragma once
// A BRW_GAGE.CFG with count simulated gages ("RandomValue 1" ...) and no connection.

#include <string>

namespace gage::test {

inline std::string ConfigurationWithGages(int count) {
    std::string file = "[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n[GAGES]\r\n";
    for (int i = 1; i <= count; ++i) {
        file += "GAGE_" + std::to_string(i) + "=\"RandomValue " + std::to_string(i) +
                "\",1,1,0,0,,0,25,0,1,3,0,0\r\n";
    }
    return file;
}

}  // namespace gage::test
