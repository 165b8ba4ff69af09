#pragma once
// A serial connection as most tests want it: the given COM port at 9600 baud, 8 data bits, no
// parity, one stop bit, no flow control, 1024-byte queues.

#include "config/connection_record.h"

namespace gage::test {

inline void MakeSerial9600(ConnectionRecord& record, int port) {
    record.PortNumber = port;
    record.BaudRate = 9600;
    record.DataBits = 8;
    record.Parity = 1;
    record.StopBits = 1;
    record.FlowControl = 1;
    record.BufferSize = 1024;
}

}  // namespace gage::test
