#pragma once
// The gage simulators the Windows test run starts (tests/windows/serial_sim_fixture.cmake).

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

// The COM port behind which the test run puts the gage simulator on a pseudo-terminal (it
// answers "?\r" with "+1.500\r\n", then "-2.250\r\n", in turn); 0 when there is none.
inline int SimulatorComPort() {
    const char* text = std::getenv("GAGE_SIM_COM");
    return text != nullptr ? std::atoi(text) : 0;
}

}  // namespace gage::test
