#pragma once
// Owning wrappers for the two kinds of operating-system handle a connection holds: the serial
// device (a Win32 HANDLE or a POSIX file descriptor) and the TCP socket. Closing happens in the
// platform files, so portable code never sees CloseHandle, closesocket or close.

#include <cstdint>
#include <utility>

namespace gage {

namespace detail {
void CloseNativePort(std::intptr_t handle) noexcept;
void CloseNativeSocket(std::intptr_t socket) noexcept;
}  // namespace detail

template <void (*Close)(std::intptr_t) noexcept>
class UniqueNativeHandle {
  public:
    using Native = std::intptr_t;
    static constexpr Native kInvalid = -1;  // INVALID_HANDLE_VALUE, INVALID_SOCKET and -1 alike

    UniqueNativeHandle() = default;
    explicit UniqueNativeHandle(Native value) : value_(value) {}
    ~UniqueNativeHandle() { reset(); }
    UniqueNativeHandle(const UniqueNativeHandle&) = delete;
    UniqueNativeHandle& operator=(const UniqueNativeHandle&) = delete;
    UniqueNativeHandle(UniqueNativeHandle&& other) noexcept : value_(other.release()) {}
    UniqueNativeHandle& operator=(UniqueNativeHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    Native get() const { return value_; }
    bool is_open() const { return value_ != kInvalid; }
    explicit operator bool() const { return is_open(); }
    Native release() { return std::exchange(value_, kInvalid); }
    void reset(Native value = kInvalid) {
        const Native old = std::exchange(value_, value);
        if (old != kInvalid) {
            Close(old);
        }
    }

  private:
    Native value_ = kInvalid;
};

using OwnedPort = UniqueNativeHandle<detail::CloseNativePort>;
using OwnedSocket = UniqueNativeHandle<detail::CloseNativeSocket>;

}  // namespace gage
