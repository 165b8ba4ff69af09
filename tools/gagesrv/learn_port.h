#pragma once
// A serial device named on the command line (--port PATH) made reachable the way every serial
// connection is: as a port number under a device prefix.

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "config/server_settings.h"

namespace gage::gagesrv {

class BoundSerialDevice {
  public:
    // On POSIX any device path (through a link in a private directory); on Windows COM1 to
    // COM64. Nothing (after saying why on err) when the path cannot be bound.
    static std::unique_ptr<BoundSerialDevice> Bind(const std::string& path, std::ostream& err);
    // prefix and portNumber name the device; linkDirectory (if any) is removed with the object.
    BoundSerialDevice(std::string prefix, int portNumber, std::string linkDirectory)
        : prefix_(std::move(prefix)),
          portNumber_(portNumber),
          linkDirectory_(std::move(linkDirectory)) {}
    ~BoundSerialDevice();
    BoundSerialDevice(const BoundSerialDevice&) = delete;
    BoundSerialDevice& operator=(const BoundSerialDevice&) = delete;

    const std::string& Prefix() const { return prefix_; }
    int PortNumber() const { return portNumber_; }

  private:
    std::string prefix_;
    int portNumber_;
    std::string linkDirectory_;  // empty: nothing to remove
};

// The COM port number (1 to 64) under which the server's own settings reach path, for a
// connection line that names it; nothing when none does.
std::optional<int> ConfiguredPortNumber(const ServerSettings& settings, const std::string& path);

}  // namespace gage::gagesrv
