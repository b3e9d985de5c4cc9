#pragma once
// One question handed from the operation's thread to the thread that can answer it.
// The operation waits; the answer, or a cancellation from any thread (the windows
// close, the program quits), ends the wait. The first of the two wins, so a late
// answer to a cancelled question changes nothing.

#include <condition_variable>
#include <mutex>

namespace vorlane {

template <typename Answer>
class PendingAnswer {
  public:
    // cancelled: what the question means when nobody answers it (Cancel, No).
    explicit PendingAnswer(Answer cancelled) : answer_(cancelled) {}

    // From the answering thread. False when the question was already settled.
    bool Give(Answer answer) { return Settle(answer, false); }
    // From any thread.
    void Cancel() {
        std::lock_guard lock(mutex_);
        if (!settled_) {
            settled_ = true;
            cancelled_ = true;
        }
        settledChanged_.notify_all();
    }

    // Blocks until the question is answered or cancelled.
    Answer Wait() {
        std::unique_lock lock(mutex_);
        settledChanged_.wait(lock, [this] { return settled_; });
        return answer_;
    }
    bool Cancelled() const {
        std::lock_guard lock(mutex_);
        return cancelled_;
    }

  private:
    bool Settle(Answer answer, bool cancelled) {
        std::lock_guard lock(mutex_);
        if (settled_) {
            return false;
        }
        answer_ = answer;
        settled_ = true;
        cancelled_ = cancelled;
        settledChanged_.notify_all();
        return true;
    }

    mutable std::mutex mutex_;
    std::condition_variable settledChanged_;
    Answer answer_;
    bool settled_ = false;
    bool cancelled_ = false;
};

}  // namespace vorlane
