#pragma once
// The dialog tests' converter on 127.0.0.1 is the channel tests' loopback peer.

#include "integration/loopback_peer.h"

namespace gage::test {
using Listener = LoopbackPeer;
}  // namespace gage::test
