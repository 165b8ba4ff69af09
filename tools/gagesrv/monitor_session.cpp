#include "gagesrv/monitor_session.h"

#include <chrono>
#include <memory>
#include <span>
#include <thread>

#include "channels/channel.h"
#include "entry/engine_commands.h"
#include "gagesrv/monitor_input.h"
#include "gagesrv/stop_requests.h"
#include "reading/command_sender.h"
#include "ui/forms/serial_monitor_form.h"

namespace gage::gagesrv {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollPeriod = std::chrono::milliseconds(50);
// A lost connection is tried again this often, not on every tick.
constexpr auto kReopenPeriod = std::chrono::seconds(1);
// Reads per tick while data keeps coming, so a fast line does not fall behind the 50 ms rhythm.
constexpr int kReadsPerTick = 8;

class Session {
  public:
    Session(Runtime& runtime, ConnectionRecord& record, const MonitorOptions& options,
            std::ostream& out, std::ostream& err)
        : runtime_(runtime),
          record_(record),
          options_(options),
          out_(out),
          err_(err),
          renderer_(options.view),
          lines_(std::make_shared<InputLines>()) {}

    long long Run() {
        StartInputReader(lines_);
        const Clock::time_point start = Clock::now();
        Clock::time_point nextTick = start;
        while (!stop_.Requested() && !TimeIsUp(start)) {
            if (open_) {
                Poll();
            } else if (Clock::now() >= nextReopen_) {
                Reopen();
            }
            if (options_.bytes > 0 && received_ >= options_.bytes) {
                break;
            }
            SendTypedLines();
            nextTick += kPollPeriod;
            const Clock::time_point now = Clock::now();
            if (nextTick < now) {
                nextTick = now;  // after a long send, carry on rather than catch up
            }
            std::this_thread::sleep_until(nextTick);
        }
        out_ << renderer_.Finish() << std::flush;
        ChannelClose(runtime_.channels, record_);
        return received_;
    }

  private:
    bool TimeIsUp(Clock::time_point start) const {
        return options_.seconds > 0.0 &&
               std::chrono::duration<double>(Clock::now() - start).count() >= options_.seconds;
    }

    void Poll() {
        for (int read = 0; read < kReadsPerTick; ++read) {
            const int result = ChannelRead(runtime_.channels, nullptr, record_);
            if (result < 0) {
                // A read error the user would have aborted: start the connection afresh.
                ChannelClose(runtime_.channels, record_);
                if (ChannelPrepare(runtime_.channels, nullptr, record_) == 0) {
                    open_ = false;
                    nextReopen_ = Clock::now() + kReopenPeriod;
                    err_ << "The connection was lost; trying to open it again every second.\n";
                }
                return;
            }
            if (result == 0) {
                return;
            }
            Show();
        }
    }

    // Everything in the receive buffer is shown and consumed.
    void Show() {
        const int count = record_.RxCount;
        if (count <= 0 || !record_.HasReceiveBuffer()) {
            return;
        }
        out_ << renderer_.Render(std::span<const std::uint8_t>(record_.RxBuffer.get(),
                                                               static_cast<std::size_t>(count)))
             << std::flush;
        received_ += count;
        EmptyReceiveBuffer(record_);
    }

    void Reopen() {
        if (ChannelPrepare(runtime_.channels, nullptr, record_) != 0) {
            open_ = true;
            err_ << "The connection is open again.\n";
        } else {
            nextReopen_ = Clock::now() + kReopenPeriod;
        }
    }

    void SendTypedLines() {
        for (const std::string& line : lines_->TakeAll()) {
            if (!open_) {
                err_ << "Not sent, the connection is closed: " << line << "\n";
                continue;
            }
            const std::string text = options_.appendCrLf ? line + kLineEndTokens : line;
            ReadContext engine = EngineContext(runtime_);
            SendGageCommand(engine, nullptr, &standIn_, record_, text);
        }
    }

    Runtime& runtime_;
    ConnectionRecord& record_;
    const MonitorOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    ByteRenderer renderer_;
    std::shared_ptr<InputLines> lines_;
    StopRequests stop_;
    const GageRecord standIn_ = StandInGage();
    bool open_ = true;
    Clock::time_point nextReopen_{};
    long long received_ = 0;
};

}  // namespace

long long RunMonitorSession(Runtime& runtime, ConnectionRecord& record,
                            const MonitorOptions& options, std::ostream& out, std::ostream& err) {
    Session session(runtime, record, options, out, err);
    return session.Run();
}

}  // namespace gage::gagesrv
