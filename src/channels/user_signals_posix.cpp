#include "channels/user_signals.h"

namespace gage {

void ExclamationBeep() {}

ScopedWaitCursor::ScopedWaitCursor() = default;
ScopedWaitCursor::~ScopedWaitCursor() = default;

}  // namespace gage
