#pragma once
// The lines a user types while gagesrv monitor watches a connection. A reader thread blocks on
// standard input and hands complete lines over through a guarded queue, so that waiting for the
// keyboard never holds up the polling of the connection.

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace gage::gagesrv {

class InputLines {
  public:
    void Push(std::string line);
    // No more lines will come.
    void Finish();
    // Every line queued so far, oldest first.
    std::vector<std::string> TakeAll();
    bool Finished() const;

  private:
    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
    bool finished_ = false;
};

// Splits the bytes read from standard input into lines (a line break is "\n" or "\r\n" and is
// not part of the line). A last line without a break counts too, once input ends.
class LineSplitter {
  public:
    // Longest line held back waiting for its break; a longer one is passed on in pieces.
    static constexpr std::size_t kLongestLine = 65536;

    void Append(const char* bytes, std::size_t count, InputLines& lines);
    void End(InputLines& lines);

  private:
    std::string pending_;
};

// Starts the reader thread. It runs until standard input ends; the process may exit while it
// still waits for input (it then shares nothing but the queue it co-owns).
void StartInputReader(std::shared_ptr<InputLines> lines);

// Platform part: reads from standard input into buffer. Bytes read, 0 at end of input, below 0
// when input cannot be read.
int ReadStandardInput(char* buffer, int size);

}  // namespace gage::gagesrv
