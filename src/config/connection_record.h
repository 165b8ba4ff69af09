#pragma once
// One communication source (a row of the 64-row ConnectionTable) and its receive buffer.

#include <array>
#include <cstdint>
#include <memory>

#include "support/fixed_string.h"
#include "support/native_handles.h"

namespace gage {

inline constexpr int kConnectionCount = 64;
inline constexpr int kReceiveBufferSize = 16384;
// Appending stops short of the block's end: serial and simulated data two bytes short, TCP/IP
// at 4096 unconsumed bytes.
inline constexpr int kSerialAppendLimit = 16382;
inline constexpr int kTcpAppendLimit = 4096;
inline constexpr int kHostNameSize = 256;  // a DNS name (253 characters) fits whole

enum ConnectionKind : std::int32_t { KIND_SERIAL = 0, KIND_TCPIP = 1 };

inline constexpr std::uint32_t kInaddrNone = 0xFFFFFFFFu;

struct ConnectionRecord {
    FixedString<32> Name;
    std::uint16_t InterfaceType = 0;
    OwnedPort PortHandle;  // serial only; invalid = closed
    std::int32_t Kind = KIND_SERIAL;
    std::int32_t PortNumber = 0;    // COM port number or TCP port; above 0 = configured
    std::uint32_t BaudRate = 0;     // TCP/IP: first octet of the address
    std::uint32_t DataBits = 0;     // TCP/IP: second octet
    std::uint32_t StopBits = 0;     // 1 one, 2 two, 3 one and a half; TCP/IP: third octet
    std::uint32_t Parity = 0;       // 1 none, 2 odd, 3 even, 4 mark, 5 space; TCP/IP: fourth octet
    std::uint32_t FlowControl = 0;  // 1 none, 2 XON/XOFF, 3 CTS/RTS, 4 RTS off/DTR on
    std::int32_t BufferSize = 0;    // serial driver queues, at most 1024
    FixedString<kHostNameSize> HostName;
    std::uint16_t TcpPort = 0;    // host byte order
    std::uint32_t IpAddress = 0;  // network byte order; kInaddrNone = unresolved
    OwnedSocket Socket;           // TCP/IP only; invalid = closed
    // A connect made together with the other rows' that failed: its code, logged when the row
    // itself is opened, so that the log keeps row order. 0: none held.
    std::int32_t HeldConnectError = 0;
    std::unique_ptr<std::uint8_t[]> RxBuffer;  // kReceiveBufferSize bytes once allocated
    std::int32_t RxCount = 0;                  // bytes held; 0 whenever there is no buffer

    bool HasReceiveBuffer() const { return RxBuffer != nullptr; }
    bool IsTcp() const { return Kind == KIND_TCPIP; }
};

using ConnectionTable = std::array<ConnectionRecord, kConnectionCount>;

// Releases any buffer the record holds and allocates size zero-filled bytes. Returns 1, or 0
// with no buffer when memory is short.
int AllocateReceiveBuffer(ConnectionRecord& record, int size = kReceiveBufferSize);
// Empties the buffer (first byte and count only); does nothing when there is none.
void EmptyReceiveBuffer(ConnectionRecord& record);
// Frees the buffer, closes any open port or socket and zeroes every field.
void ClearConnection(ConnectionRecord& record);
// Copies the settings (name, type, kind, port, line settings, address) and none of the open
// port, socket or buffer.
void CopyConnectionSettings(const ConnectionRecord& from, ConnectionRecord& to);
// Removes count bytes from the front of the buffer, moving the rest down.
void ConsumeReceivedBytes(ConnectionRecord& record, int count);

}  // namespace gage
