#pragma once
// The one object that owns the library's runtime state: the gage and connection tables, the
// settings and paths, the static reading result and the channel layer's shared state. The
// exported entry point uses a single instance; tests make fresh ones of their own.

#include <cstdint>

#include "channels/channel.h"
#include "config/connection_record.h"
#include "config/gage_record.h"
#include "config/server_settings.h"
#include "reading/reading_result.h"
#include "support/support.h"
#include "support/window_handle.h"

namespace gage {

class Runtime {
  public:
    explicit Runtime(void* module = nullptr);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    Support support;
    ServerSettings settings;
    GageTable gages;
    ConnectionTable connections;
    ChannelContext channels{support, settings};
    // Hosts read the measured value at byte 4; on an 8-byte boundary the block keeps that
    // double on the 4-byte boundary their declarations of the block give it.
    alignas(8) ReadingResult readingResult{};
    double readValue = 0.0;               // command 11's answer, valid until the next command 11
    WindowHandle configDialog = nullptr;  // the configuration dialog while it is open
    GageFormat formatEditingForm{};       // what the format dialog carries between openings

    // Closes every connection, frees the receive buffers and empties the gage table.
    void TearDown();
};

}  // namespace gage
