// gagesrv ports on a prepared device tree: which devices count as serial ports, and how each is
// shown with the ports that open it.

#include <gtest/gtest.h>

#include <filesystem>

#include "channels/serial_port.h"
#include "gagesrv/text/ports_listing.h"
#include "helpers/temporary_directory.h"

namespace gage::gagesrv {
namespace {

namespace fs = std::filesystem;

class PortsListingTest : public ::testing::Test {
  protected:
    test::TemporaryDirectory root;

    void Device(const std::string& name) { root.Write("dev/" + name, ""); }
    void Link(const fs::path& at, const fs::path& target) {
        fs::create_directories(root.path() / at.parent_path());
        fs::create_symlink(target, root.path() / at);
    }
    void PortType(const std::string& name, const std::string& type) {
        fs::create_directories(root.path() / "sys/class/tty" / name);
        root.Write("sys/class/tty/" + name + "/type", type);
    }

    void SetUp() override {
        fs::create_directories(root.path() / "dev");
        for (const char* name : {"ttyUSB10", "ttyUSB0", "ttyACM0", "ttyS0", "ttyS1", "ttyS2",
                                 "ttyS3", "tty1", "ttyUSBx"}) {
            Device(name);
        }
        Link("dev/serial/by-id/usb-FTDI_A50285BI-if00-port0", "../../ttyUSB0");
        PortType("ttyS0", "4\n");  // a 16550A
        PortType("ttyS1", "0\n");  // registered, no UART
        Link("sys/class/tty/ttyS2/device/driver", "../../../bus/platform/drivers/serial8250");
        Link("sys/class/tty/ttyS3/device/driver", "../../../bus/pnp/drivers/serial");
    }
};

TEST_F(PortsListingTest, ListsSerialDevicesWithThePortsThatOpenThem) {
    const SerialDeviceScan scan = ScanSerialDevices(root.str());
    ServerSettings settings;  // COM_PREFIX "COM": COM1 is /dev/ttyS0
    settings.PortMap.Map(5, "/dev/serial/by-id/usb-FTDI_A50285BI-if00-port0");
    settings.PortMap.Map(6, "ttyACM0");
    settings.PortMap.Map(7, "/dev/serial/by-id/usb-gone-if00-port0");
    const PortsListing listing = MakePortsListing(scan, settings, [this](const std::string& name) {
        return serial_port::DeviceExists(root.str() + name);
    });

    EXPECT_EQ(PortsText(listing),
              "Serial devices present:\n"
              "  /dev/serial/by-id/usb-FTDI_A50285BI-if00-port0 -> /dev/ttyUSB0: COM5\n"
              "  /dev/ttyACM0: COM6\n"
              "  /dev/ttyS0: COM1 (by COM_PREFIX)\n"
              "  /dev/ttyS3: COM4 (by COM_PREFIX)\n"
              "  /dev/ttyUSB0: COM5\n"
              "  /dev/ttyUSB10: not mapped\n"
              "Mapped devices that are missing:\n"
              "  COM7=/dev/serial/by-id/usb-gone-if00-port0: missing\n");
    EXPECT_EQ(PortsJson(listing),
              "{\"devices\":[{\"device\":\"/dev/serial/by-id/usb-FTDI_A50285BI-if00-port0\","
              "\"target\":\"/dev/ttyUSB0\",\"mapped\":[5],\"prefix_port\":null},"
              "{\"device\":\"/dev/ttyACM0\",\"target\":null,\"mapped\":[6],\"prefix_port\":null},"
              "{\"device\":\"/dev/ttyS0\",\"target\":null,\"mapped\":[],\"prefix_port\":1},"
              "{\"device\":\"/dev/ttyS3\",\"target\":null,\"mapped\":[],\"prefix_port\":4},"
              "{\"device\":\"/dev/ttyUSB0\",\"target\":null,\"mapped\":[5],\"prefix_port\":null},"
              "{\"device\":\"/dev/ttyUSB10\",\"target\":null,\"mapped\":[],\"prefix_port\":null}"
              "],\"missing\":[{\"port\":7,\"device\":\"/dev/serial/by-id/usb-gone-if00-port0\"}]}");
}

}  // namespace
}  // namespace gage::gagesrv
