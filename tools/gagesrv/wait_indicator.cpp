#include "gagesrv/wait_indicator.h"

#include <cstdio>

namespace gage::gagesrv {

WaitIndicator::WaitIndicator(std::string what, std::chrono::milliseconds delay)
    : what_(std::move(what)) {
    if (StandardErrorIsTerminal()) {
        thread_ = std::thread([this, delay] { Spin(delay); });
    }
}

WaitIndicator::~WaitIndicator() {
    if (!thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    thread_.join();
    if (shown_) {
        // Blank the spinner's line (no terminal escapes: not every console knows them).
        std::fprintf(stderr, "\r%*s\r", static_cast<int>(what_.size() + 6), "");
        std::fflush(stderr);
    }
}

void WaitIndicator::Spin(std::chrono::milliseconds delay) {
    static constexpr char kFrames[] = {'|', '/', '-', '\\'};
    std::unique_lock<std::mutex> lock(mutex_);
    if (stop_.wait_for(lock, delay, [this] { return stopping_; })) {
        return;
    }
    for (std::size_t frame = 0;; ++frame) {
        std::fprintf(stderr, "\r%c %s ...", kFrames[frame % sizeof kFrames], what_.c_str());
        std::fflush(stderr);
        shown_ = true;
        if (stop_.wait_for(lock, std::chrono::milliseconds(120), [this] { return stopping_; })) {
            return;
        }
    }
}

}  // namespace gage::gagesrv
