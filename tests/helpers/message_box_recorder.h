#pragma once
// Answers the message boxes a test provokes and keeps them for the assertions: each box takes the
// next queued answer, and the fallback once the queue is empty.

#include <deque>
#include <vector>

#include "support/support.h"

namespace gage::test {

class MessageBoxRecorder {
  public:
    MessageBoxRecorder(Support& support, int fallback) : fallback_(fallback) {
        support.SetMessageBoxHook([this](const MessageBoxRequest& request) {
            boxes.push_back(request);
            if (answers.empty()) {
                return fallback_;
            }
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    // The hook holds this object's address.
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<MessageBoxRequest> boxes;
    std::deque<int> answers;

  private:
    int fallback_;
};

}  // namespace gage::test
