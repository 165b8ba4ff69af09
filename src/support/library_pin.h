#pragma once
// Keeps this library loaded until the process ends. For work left running on a thread of its own
// (a host-name look-up that outlived its wait): unloading under it would crash the host when the
// thread returns into code that is gone.

namespace gage {

void KeepLibraryLoaded();

}  // namespace gage
