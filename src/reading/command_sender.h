#pragma once
// Sending command texts to gages, with their tokens expanded, and the pause between commands.
//
// Angle tokens (matched with case): <PAUSE...> and <START...> drive the serial line control,
// <dN> waits N x 100 ms and <sN> N x 1000 ms, <ID...> sends the gage identifier as one byte,
// <CH...>/<ch...> the channel number as one byte, and anything else the low 8 bits of the
// decimal number it starts with. Square tokens send text: [SN...] the serial number, [ID...] the
// identifier ("%i"), [CH...] the channel ("%02i"), [ch...] the channel ("%i"); any other square
// token is sent as it stands, brackets included. A bracket without its closing partner cuts the
// rest of the command.

#include <string_view>

#include "config/connection_record.h"
#include "config/gage_record.h"
#include "reading/read_context.h"
#include "support/window_handle.h"

namespace gage {

// Expands text and writes it to record. gage may be null (interface initialisation strings);
// the tokens that need a gage then send nothing. Returns the number of bytes handed to the
// channel.
int SendGageCommand(ReadContext& context, WindowHandle owner, const GageRecord* gage,
                    ConnectionRecord& record, std::string_view text);

// Waits milliseconds (nothing for zero or less) and returns the milliseconds that passed.
int DelayMilliseconds(ReadContext& context, int milliseconds);

}  // namespace gage
