#pragma once
// Ctrl-C (SIGINT) and SIGTERM turned into a request the program can act on at its
// own pace. The signals are blocked and taken by a thread of their own with sigwait,
// so what runs on them is ordinary code, not a signal handler: the first one calls
// back (to set a stop flag) and makes a descriptor readable (to wake a read from the
// terminal); a second one ends the process at once, by that signal.

#include <signal.h>

#include <atomic>
#include <functional>
#include <thread>

namespace vorlane::platform {

class StopSignals {
  public:
    // Blocks the signals in the calling thread, and so in every thread it starts
    // afterwards: create it before any other thread.
    explicit StopSignals(std::function<void(int signalNumber)> onFirst);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Readable once the first signal came; -1 when the pipe could not be made.
    int WakeDescriptor() const { return pipe_[0]; }
    // The first signal's number, 0 while none came.
    int Received() const { return received_; }

  private:
    void Watch();

    std::function<void(int)> onFirst_;
    sigset_t watched_{};
    sigset_t previous_{};
    int pipe_[2] = {-1, -1};
    std::atomic<int> received_{0};
    std::atomic<bool> quitting_{false};
    std::thread watcher_;
};

}  // namespace vorlane::platform
