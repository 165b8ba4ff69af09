#pragma once
// Nobody can click a message box in a terminal session: the commands that drive connections
// directly show its text on a stream (and in the log) and answer it at once.

#include <ostream>

#include "entry/runtime.h"

namespace gage::gagesrv {

// A read error is answered with Abort, which makes the caller start the connection afresh;
// Retry would read the failing port again at once, for ever. Other boxes get their default.
void AnswerMessageBoxesInTerminal(Runtime& runtime, std::ostream& err);

}  // namespace gage::gagesrv
