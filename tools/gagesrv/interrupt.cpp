#include "gagesrv/interrupt.h"

#include <csignal>

namespace gage::gagesrv {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) {
    gInterrupted = 1;
}

}  // namespace

void CatchInterrupts() {
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
}

bool Interrupted() {
    return gInterrupted != 0;
}

}  // namespace gage::gagesrv
