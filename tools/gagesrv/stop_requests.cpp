#include "gagesrv/stop_requests.h"

#include <atomic>
#include <csignal>

namespace gage::gagesrv {

namespace {

// A signal handler can reach nothing but a flag of static storage; it is the only thing the
// handler touches.
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> stopRequested{false};

void OnStopSignal(int) {
    stopRequested.store(true);
}

}  // namespace

StopRequests::StopRequests()
    : previousInterrupt_(std::signal(SIGINT, OnStopSignal)),
      previousTerminate_(std::signal(SIGTERM, OnStopSignal)) {
    stopRequested.store(false);
}

StopRequests::~StopRequests() {
    std::signal(SIGINT, previousInterrupt_ == SIG_ERR ? SIG_DFL : previousInterrupt_);
    std::signal(SIGTERM, previousTerminate_ == SIG_ERR ? SIG_DFL : previousTerminate_);
}

bool StopRequests::Requested() const {
    return stopRequested.load();
}

}  // namespace gage::gagesrv
