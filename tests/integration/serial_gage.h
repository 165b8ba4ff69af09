#pragma once
// The gage simulator behind a serial port, answering "?\r" with "+1.500\r\n", then "-2.250\r\n",
// in turn. On POSIX it runs in the test on a pseudo-terminal linked where the settings' prefix
// points (serial_gage_posix.cpp); on Windows it is the simulator the test run puts behind
// COM<GAGE_SIM_COM> (serial_gage_win32.cpp).

#include <chrono>
#include <memory>

#include "channels/channel_wait.h"
#include "config/connection_record.h"
#include "config/server_settings.h"

namespace gage::test {

class SerialGage {
  public:
    // Points the settings at the simulator's port.
    explicit SerialGage(ServerSettings& settings);
    ~SerialGage();
    SerialGage(const SerialGage&) = delete;
    SerialGage& operator=(const SerialGage&) = delete;

    // The COM port number; 0 when there is no simulator (the test skips).
    int port() const { return port_; }

  private:
    struct Line;
    std::unique_ptr<Line> line_;
    int port_ = 0;
};

// Bytes that have arrived at the open port and not been read.
int QueuedInput(const ConnectionRecord& record);

// Waits until at least want bytes have arrived at the open port, for at most 5 s.
inline bool WaitQueued(const ConnectionRecord& record, int want) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (QueuedInput(record) < want && std::chrono::steady_clock::now() < deadline) {
        ChannelWaitReadable(record, 10);
    }
    return QueuedInput(record) >= want;
}

// Windows does not hold device files exclusively under Wine; elsewhere a held port cannot be
// opened again.
bool PortsHeldExclusively();

}  // namespace gage::test
