// Serial ports as POSIX terminal devices: raw mode, reads that never wait, modem-control ioctls
// for DTR and RTS. Pseudo-terminals work too (they keep the settings but ignore most of them).

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "channels/comm_errors.h"
#include "channels/serial_port.h"
#include "support/fixed_string.h"

namespace gage::serial_port {
namespace {

int Fd(Native port) {
    return static_cast<int>(port);
}

speed_t SpeedFor(std::uint32_t baud, bool& known) {
    known = true;
    switch (baud) {
        case 110:
            return B110;
        case 150:
            return B150;
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            known = false;
            return B9600;
    }
}

tcflag_t SizeFor(std::uint8_t bits, bool& known) {
    known = true;
    switch (bits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        case 8:
            return CS8;
        default:
            known = false;
            return CS8;
    }
}

bool HungUp(Native port) {
    pollfd state{Fd(port), 0, 0};
    return ::poll(&state, 1, 0) > 0 && (state.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

std::string OpenFailureText(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENXIO:
        case ENODEV:
            return "it does not exist";
        case EBUSY:
            return "it is in use";
        case EACCES:
        case EPERM:
            return "permission denied (the user may need to be in the device's group)";
        case EISDIR:
            return "it is not a terminal";
        default:
            return std::strerror(error);
    }
}

}  // namespace

std::string DeviceName(const std::string& prefix, int number) {
    if (EqualsIgnoreCase(prefix, "COM")) {
        return "/dev/ttyS" + std::to_string(number - 1);
    }
    if (!prefix.empty() && prefix.front() == '/') {
        return prefix + std::to_string(number);
    }
    return "/dev/" + prefix + std::to_string(number);
}

std::string MappedDeviceName(const std::string& mapped) {
    return !mapped.empty() && mapped.front() == '/' ? mapped : "/dev/" + mapped;
}

bool DeviceExists(const std::string& deviceName) {
    struct stat status {};
    return ::stat(deviceName.c_str(), &status) == 0;
}

Native Open(const std::string& deviceName) {
    std::string ignored;
    return Open(deviceName, ignored);
}

Native Open(const std::string& deviceName, std::string& whyNot) {
    const int fd = ::open(deviceName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        whyNot = OpenFailureText(errno);
        return kInvalid;
    }
    termios settings{};
    // Only terminals are ports; and only one holder at a time, this library included.
    if (::tcgetattr(fd, &settings) != 0) {
        whyNot = "it is not a terminal";
        ::close(fd);
        return kInvalid;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        whyNot = "it is in use";
        ::close(fd);
        return kInvalid;
    }
    ::ioctl(fd, TIOCEXCL);
    return fd;
}

void Release(Native port) {
    // The exclusive flag belongs to the terminal, not to this descriptor: it would outlive the
    // close while anyone else (the far side of a pseudo-terminal) keeps the device open.
    ::ioctl(Fd(port), TIOCNXCL);
}

void Close(Native port) {
    if (port != kInvalid) {
        Release(port);
        ::close(Fd(port));
    }
}

bool SetQueueSizes(Native port, int) {
    // The kernel sizes its own tty buffers.
    return port != kInvalid;
}

bool Apply(Native port, const LineSettings& line) {
    termios t{};
    if (::tcgetattr(Fd(port), &t) != 0) {
        return false;
    }
    bool speedKnown = false;
    bool sizeKnown = false;
    const speed_t speed = SpeedFor(line.baudRate, speedKnown);
    const tcflag_t size = SizeFor(line.dataBits, sizeKnown);
    if (!speedKnown || !sizeKnown) {
        return false;  // like a refused device control block: the previous settings stay
    }
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= size | CLOCAL | CREAD;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | PARMRK | IGNPAR);
    switch (line.parity) {
        case 2:
            t.c_cflag |= PARENB | PARODD;
            break;
        case 3:
            t.c_cflag |= PARENB;
            break;
        case 4:
            t.c_cflag |= PARENB | CMSPAR | PARODD;
            break;
        case 5:
            t.c_cflag |= PARENB | CMSPAR;
            break;
        default:
            break;
    }
    // Parity is generated but not checked. With five data bits two stop bits are one and a half.
    if (line.stopBits == 2 || line.stopBits == 3) {
        t.c_cflag |= CSTOPB;
    }
    if (line.flowControl == 2) {
        t.c_iflag |= IXON | IXOFF;
        t.c_cc[VSTART] = 0x11;
        t.c_cc[VSTOP] = 0x13;
    } else if (line.flowControl == 3) {
        t.c_cflag |= CRTSCTS;
    }
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    const bool applied = ::tcsetattr(Fd(port), TCSANOW, &t) == 0;
    SetModemLine(port, ModemLine::Dtr, true);
    if (line.flowControl != 3) {
        SetModemLine(port, ModemLine::Rts, line.flowControl != 4);
    }
    return applied;
}

bool ReadAvailable(Native port, std::uint8_t* destination, int room, int& count) {
    count = 0;
    if (room <= 0) {
        return true;
    }
    const ssize_t n = ::read(Fd(port), destination, static_cast<std::size_t>(room));
    if (n > 0) {
        count = static_cast<int>(n);
        return true;
    }
    if (n == 0) {
        // With no minimum count an idle terminal reads 0 bytes; so does one that has hung up
        // (its device gone), which only the hang-up flag tells apart.
        return !HungUp(port);
    }
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

bool Write(Native port, const std::uint8_t* bytes, int length, int& written) {
    using Clock = std::chrono::steady_clock;
    written = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(10LL * length + 1000);
    while (written < length) {
        const ssize_t n =
            ::write(Fd(port), bytes + written, static_cast<std::size_t>(length - written));
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return true;  // the write time-out: what went out is the count written
        }
        pollfd waiting{Fd(port), POLLOUT, 0};
        if (::poll(&waiting, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
            return false;
        }
        if ((waiting.revents & (POLLERR | POLLNVAL)) != 0) {
            return false;
        }
    }
    return true;
}

int TakeLineErrors(Native port) {
    // A terminal reports no line-error flags of its own; a device that has gone away is the one
    // error it can show, and it shows as an unusable device.
    return HungUp(port) ? COMM_ERR_MODE : 0;
}

bool PurgeInput(Native port) {
    return ::tcflush(Fd(port), TCIFLUSH) == 0;
}
bool PurgeOutput(Native port) {
    return ::tcflush(Fd(port), TCOFLUSH) == 0;
}
int QueuedOutput(Native port) {
    int queued = 0;
    return ::ioctl(Fd(port), TIOCOUTQ, &queued) == 0 ? queued : 0;
}

void SetModemLine(Native port, ModemLine line, bool on) {
    int bits = line == ModemLine::Dtr ? TIOCM_DTR : TIOCM_RTS;
    // Pseudo-terminals have no modem lines; the call fails there and that is fine.
    ::ioctl(Fd(port), on ? TIOCMBIS : TIOCMBIC, &bits);
}

void SetTransmission(Native port, Transmission state) {
    ::tcflow(Fd(port), state == Transmission::Hold ? TCOOFF : TCOON);
}

}  // namespace gage::serial_port
