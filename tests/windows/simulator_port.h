#pragma once
// The TCP port of the counting gage simulator on 127.0.0.1 that the test run starts (it answers
// each "?\r" with the number of commands it has answered); 0 when there is none.

#include <cstdlib>
#include <fstream>

namespace gage::test {

inline int SimulatorPort() {
    const char* file = std::getenv("GAGE_SIM_TCP_PORT_FILE");
    int port = 0;
    if (file != nullptr) {
        std::ifstream(file) >> port;
    }
    return port;
}

}  // namespace gage::test
