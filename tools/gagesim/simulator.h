#pragma once
// The gage simulator: a fake instrument on a pseudo-terminal or a TCP port on 127.0.0.1. It sends
// records built from a template (record_template.h) on a timer, in answer to a command, or when
// told to, and it can misbehave on purpose: noise, partial records, a line that drops.
// It runs on a background thread; every call here is thread-safe, and tests wait on its
// conditions (WaitForCommands, WaitForReceived, ...) instead of sleeping.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "record_template.h"

namespace gagesim {

enum class Transport { Pty, Tcp };

struct SimulatorOptions {
    Transport transport = Transport::Pty;
    std::string linkPath;       // Pty: a symbolic link to the terminal made here (replaced)
    std::uint16_t port = 0;     // Tcp: port on 127.0.0.1; 0 = any free one
    int backlog = 4;            // Tcp: listen backlog
    bool acceptClients = true;  // Tcp: false leaves connections waiting in the backlog

    std::string recordTemplate = "{value:%.4f}<13><10>";
    std::vector<double> values;  // sent in turn, cycling; empty = a random walk
    double walkStart = 0.0;
    double walkStep = 0.01;
    std::uint32_t seed = 1;
    std::vector<int> channels{1};  // channel of each record in turn (a multiplexer)
    bool allChannels = false;      // each trigger or tick sends one record per channel

    // A command that asks for a record; empty = none. A trigger holding "{ch}" addresses one
    // channel of a multiplexer: "#{ch}?\r" with channel 2 is "#02?\r", answered by a record of
    // that channel alone.
    std::string trigger;
    int intervalMs = 0;  // send a record this often; 0 = no timer
    // A command answered by burstBytes bytes of BurstPattern (burst_pattern.h) instead of a
    // record, sent as fast as the line takes them; empty = none.
    std::string burstTrigger{};
    std::size_t burstBytes = 0;

    int noiseBytes = 0;             // random bytes sent before each record
    int partialBytes = -1;          // send only this many bytes of each record; -1 = whole
    long long dropAfterBytes = -1;  // drop the line after this many record bytes; -1 = never

    // Pty: the line settings of the device, such as baud 4800 and frame "8N1" or "8N2" (a
    // pseudo-terminal keeps 8 data bits without parity, so only the stop bits can differ). While
    // the terminal is set otherwise, what the device sends arrives as garbage, as from a line at
    // the wrong speed or framing. Baud 0: any settings read it cleanly.
    unsigned lineBaud = 0;
    std::string lineFrame = "8N1";
};

class Simulator {
  public:
    explicit Simulator(SimulatorOptions options);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Opens the terminal or the listening socket and starts the thread. False with a message.
    bool Start(std::string& error);
    void Stop();

    std::string DevicePath() const;  // Pty: the terminal's name
    std::uint16_t Port() const;      // Tcp: the port listened on

    // Sends bytes as they are.
    void Send(std::string bytes);
    // Sends the next records from the template (as a trigger would).
    void SendRecords(int count = 1);
    // Answers the next triggers with these texts, one each, before template records again.
    void QueueReplies(std::vector<std::string> replies);
    // Pty: closes the terminal's master side (the device vanishes). Tcp: drops the client.
    void DropLine();

    int CommandCount() const;
    std::string Received() const;
    std::size_t BytesSent() const;
    bool LineDropped() const;
    bool WaitForCommands(int count, std::chrono::milliseconds timeout) const;
    bool WaitForReceived(const std::string& text, std::chrono::milliseconds timeout) const;
    bool WaitForClient(std::chrono::milliseconds timeout) const;

  private:
    void Run();
    void Wake();
    // channel < 0: the channels in turn.
    void QueueRecordsLocked(int count, int channel = -1);
    std::string NextRecordLocked(int channel);
    // The next trigger in what was received from `from` on: where it starts, its length and the
    // channel it addresses (-1: not addressed). False when none is there yet.
    bool FindTriggerLocked(std::size_t from, std::size_t& at, std::size_t& length,
                           int& channel) const;
    void FlushLocked();
    bool TerminalMatchesLineLocked() const;
    void DropLocked();
    void ReadFromLine();
    void AcceptClient();
    int LineFd() const;

    SimulatorOptions options_;
    RecordTemplate template_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::thread thread_;
    bool running_ = false;
    bool stopping_ = false;

    int master_ = -1;    // Pty master
    int slave_ = -1;     // Pty slave, held open so the terminal outlives its users
    int listener_ = -1;  // Tcp
    int client_ = -1;    // Tcp
    int wake_[2] = {-1, -1};
    std::string devicePath_;
    std::uint16_t port_ = 0;

    std::string outgoing_;
    std::string received_;
    std::size_t matchFrom_ = 0;
    std::size_t burstMatchFrom_ = 0;
    std::deque<std::string> replies_;
    int commands_ = 0;
    std::size_t bytesSent_ = 0;
    long long recordBytesSent_ = 0;
    bool dropped_ = false;
    bool clientSeen_ = false;
    std::map<int, int> recordCounts_;  // records sent per channel
    std::size_t valueIndex_ = 0;
    std::size_t channelIndex_ = 0;
    double walk_ = 0.0;
    std::mt19937 random_;
};

}  // namespace gagesim
