#pragma once
// A spinner on the terminal while gagesrv waits on the library (a load that opens connections, a
// read that waits for a gage). Shown only when standard error is a terminal, and only once the
// wait has lasted long enough to notice, so quick reads and scripts see nothing of it.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace gage::gagesrv {

class WaitIndicator {
  public:
    explicit WaitIndicator(std::string what,
                           std::chrono::milliseconds delay = std::chrono::milliseconds(250));
    // Stops the spinner and wipes its line.
    ~WaitIndicator();
    WaitIndicator(const WaitIndicator&) = delete;
    WaitIndicator& operator=(const WaitIndicator&) = delete;

  private:
    void Spin(std::chrono::milliseconds delay);

    std::string what_;
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    bool shown_ = false;
    std::thread thread_;
};

// Whether standard error goes to a terminal (terminal_posix.cpp / terminal_win32.cpp).
bool StandardErrorIsTerminal();

}  // namespace gage::gagesrv
