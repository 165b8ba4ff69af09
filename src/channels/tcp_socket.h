#pragma once
// The few socket calls that differ between Windows Sockets (tcp_socket_win32.cpp) and POSIX
// sockets (tcp_socket_posix.cpp). Errors come back as Windows Sockets codes on both, so the
// channel logs the same texts everywhere.

#include <cstdint>
#include <span>
#include <string>

namespace gage::tcp_socket {

using Native = std::intptr_t;
inline constexpr Native kInvalid = -1;
// A system error with no Windows Sockets counterpart; it is logged as "Unknown Error".
inline constexpr int kUnknownError = 99999;

// Starts the sockets layer asking for version 2.0: 0, or the failure code. versionOk tells
// whether exactly 2.0 was granted.
int Startup(bool& versionOk);
void Cleanup();
// The last sockets error of this thread, as a Windows Sockets code.
int LastError();

Native CreateStream();
void Close(Native socket);
bool SetReceiveBuffer(Native socket, int bytes);
bool SetKeepAlive(Native socket);
// Sends each write at once instead of holding small writes back for the peer's acknowledgement.
bool SetNoDelay(Native socket);
bool SetReceiveTimeout(Native socket, int milliseconds);
// A blocking send that finds no room for this long fails (would-block, or timed out on Windows).
bool SetSendTimeout(Native socket, int milliseconds);
bool SetNonBlocking(Native socket, bool on);
// Starts or makes a connection: 0 connected, else the error (would-block while in progress).
int Connect(Native socket, std::uint32_t address, std::uint16_t port);
// One wait over sockets whose connects are under way, until at least one of them has settled
// (connected or failed) or milliseconds pass (negative: no limit). settled[i] tells which; it has
// the size of sockets. The count settled, 0 timed out, -1 failed (LastError).
int WaitConnectsSettled(std::span<const Native> sockets, int milliseconds,
                        std::span<std::uint8_t> settled);
// Waits until the socket has data or has closed: 1 ready, 0 timed out, -1 failed.
int WaitReadable(Native socket, int milliseconds);
// The socket's pending error (SO_ERROR) into error; false when it cannot be read.
bool PendingError(Native socket, int& error);
// Bytes received (0: the peer closed), or -1 (LastError).
int Receive(Native socket, std::uint8_t* destination, int length);
// Bytes accepted, or -1 (LastError). Never raises a signal for a closed peer.
int Send(Native socket, const std::uint8_t* bytes, int length);

// A dotted IPv4 text to an address in network byte order; all ones for an invalid text.
std::uint32_t InetAddr(const char* text);
// The first IPv4 address of a host name (or dotted text); all ones when not found.
std::uint32_t LookUpHost(const char* name);
std::string AddressText(std::uint32_t address);

}  // namespace gage::tcp_socket
