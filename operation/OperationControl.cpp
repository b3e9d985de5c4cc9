#include "operation/OperationControl.h"

namespace vorlane {

void OperationControl::Reset() {
    stop_ = false;
    paused_ = false;
    interrupt_ = false;
    stoppedByButton_ = false;
    Notify();
}

bool OperationControl::PauseContinue() {
    const bool nowPaused = !paused_.load();
    paused_ = nowPaused;
    Notify();
    return nowPaused;
}

void OperationControl::Stop() {
    if (paused_) {
        stoppedByButton_ = true;
        RequestStop();
    }
}

void OperationControl::Close() {
    RequestStop();
}

void OperationControl::RequestStop() {
    stop_ = true;
    Notify();
}

void OperationControl::WaitWhilePaused() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stop_ || !paused_; });
}

void OperationControl::Notify() {
    // Taking the lock orders the flag change before a waiter's predicate check.
    std::lock_guard lock(mutex_);
    changed_.notify_all();
}

}  // namespace vorlane
