#pragma once
// The flags by which buttons and keys steer a running operation. Buttons only set
// flags; the operation reads them at its checkpoints, between files and between
// passes. Safe to use from the GUI thread while the operation runs on a worker.

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace vorlane {

class OperationControl {
  public:
    // A fresh operation: not stopped, not paused, no interrupt pending.
    void Reset();

    // Pause/Continue button. Returns true when the operation is now paused.
    bool PauseContinue();
    // Stop button: acts only while paused, the only time it is shown.
    void Stop();
    // Close button: stops whatever runs.
    void Close();
    // Stops from inside the operation (Cancel in a query, full buffer of a listing).
    void RequestStop();

    // The interrupt key of the subfolder purge.
    void RequestInterrupt() { interrupt_ = true; }
    void ClearInterrupt() { interrupt_ = false; }
    bool InterruptRequested() const { return interrupt_; }

    bool StopRequested() const { return stop_; }
    bool Paused() const { return paused_; }
    // The Stop button ended the operation (not Close, not the operation itself).
    bool StoppedByButton() const { return stoppedByButton_; }

    // Blocks while paused; returns at Continue or Stop.
    void WaitWhilePaused();

  private:
    void Notify();

    std::atomic<bool> stop_{false};
    std::atomic<bool> paused_{false};
    std::atomic<bool> interrupt_{false};
    std::atomic<bool> stoppedByButton_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace vorlane
