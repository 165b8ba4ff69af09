#include "entry/runtime.h"

namespace gage {

Runtime::Runtime(void* module) : support(module) {}

Runtime::~Runtime() {
    TearDown();
}

void Runtime::TearDown() {
    for (ConnectionRecord& connection : connections) {
        ChannelClose(channels, connection);
        EmptyReceiveBuffer(connection);
        connection.RxBuffer.reset();
        connection.RxCount = 0;
    }
    gages.clear();
    gages.shrink_to_fit();
}

}  // namespace gage
