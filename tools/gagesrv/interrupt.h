#pragma once
// Ctrl-C (and a plain kill) ends a long-running command in order: the current call into the
// library finishes, then the command stops, closes what it opened and unloads the library.

namespace gage::gagesrv {

// From now on, an interrupt only raises the flag below.
void CatchInterrupts();
bool Interrupted();

}  // namespace gage::gagesrv
