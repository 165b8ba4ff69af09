#include "gagesrv/monitor_input.h"

#include <array>
#include <thread>
#include <utility>

namespace gage::gagesrv {

void InputLines::Push(std::string line) {
    const std::scoped_lock lock(mutex_);
    lines_.push_back(std::move(line));
}

void InputLines::Finish() {
    const std::scoped_lock lock(mutex_);
    finished_ = true;
}

std::vector<std::string> InputLines::TakeAll() {
    const std::scoped_lock lock(mutex_);
    std::vector<std::string> taken(std::make_move_iterator(lines_.begin()),
                                   std::make_move_iterator(lines_.end()));
    lines_.clear();
    return taken;
}

bool InputLines::Finished() const {
    const std::scoped_lock lock(mutex_);
    return finished_;
}

void LineSplitter::Append(const char* bytes, std::size_t count, InputLines& lines) {
    for (std::size_t i = 0; i < count; ++i) {
        const char c = bytes[i];
        if (c == '\n') {
            if (!pending_.empty() && pending_.back() == '\r') {
                pending_.pop_back();
            }
            lines.Push(std::exchange(pending_, {}));
            continue;
        }
        pending_ += c;
        if (pending_.size() >= kLongestLine) {
            lines.Push(std::exchange(pending_, {}));
        }
    }
}

void LineSplitter::End(InputLines& lines) {
    if (!pending_.empty() && pending_.back() == '\r') {
        pending_.pop_back();
    }
    if (!pending_.empty()) {
        lines.Push(std::exchange(pending_, {}));
    }
    lines.Finish();
}

void StartInputReader(std::shared_ptr<InputLines> lines) {
    std::thread reader([lines = std::move(lines)] {
        LineSplitter splitter;
        std::array<char, 4096> buffer{};
        for (;;) {
            const int count = ReadStandardInput(buffer.data(), static_cast<int>(buffer.size()));
            if (count <= 0) {
                break;
            }
            splitter.Append(buffer.data(), static_cast<std::size_t>(count), *lines);
        }
        splitter.End(*lines);
    });
    // A read from a terminal cannot be interrupted portably; the monitor does not wait for it.
    reader.detach();
}

}  // namespace gage::gagesrv
