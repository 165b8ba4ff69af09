#pragma once
// Ctrl-C (and a polite kill) asks a long-running command to stop: it finishes the call into the
// library or the poll under way, closes what it opened and exits normally instead of being torn
// down mid-read.

namespace gage::gagesrv {

// Catches SIGINT and SIGTERM for its lifetime and puts back the previous handlers afterwards.
class StopRequests {
  public:
    StopRequests();
    ~StopRequests();
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    bool Requested() const;

  private:
    using Handler = void (*)(int);
    Handler previousInterrupt_;
    Handler previousTerminate_;
};

}  // namespace gage::gagesrv
