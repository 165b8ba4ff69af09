#include <sys/ioctl.h>

#include <string>

#include "helpers/temporary_directory.h"
#include "serial_gage.h"
#include "simulator.h"

namespace gage::test {

struct SerialGage::Line {
    // A short path: "<dir>/com" must fit the serial prefix.
    TemporaryDirectory directory{"/tmp", ""};
    gagesim::Simulator simulator{{.linkPath = directory.File("com3"),
                                  .recordTemplate = "{value:%+.3f}<13><10>",
                                  .values = {1.5, -2.25},
                                  .trigger = "?\r"}};
};

SerialGage::SerialGage(ServerSettings& settings) : line_(std::make_unique<Line>()) {
    std::string error;
    if (line_->simulator.Start(error)) {
        settings.ComPrefix = line_->directory.File("com");
        port_ = 3;
    }
}

SerialGage::~SerialGage() = default;

int QueuedInput(const ConnectionRecord& record) {
    int queued = 0;
    ::ioctl(static_cast<int>(record.PortHandle.get()), FIONREAD, &queued);
    return queued;
}

bool PortsHeldExclusively() {
    return true;
}

}  // namespace gage::test
