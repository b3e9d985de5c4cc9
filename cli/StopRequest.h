#pragma once
// Ctrl-C and SIGTERM act as the Stop button: the operation in hand stops at its next
// checkpoint and still writes its summary. A second signal ends the program at once.

#include <mutex>

#include "operation/OperationControl.h"
#include "platform/StopSignals.h"

namespace vorlane::cli {

class StopRequest {
  public:
    // Starts watching; create it before any other thread.
    StopRequest();

    // The control that a signal stops from now on; nullptr for none. A signal that
    // came before stops it at once.
    void Watch(OperationControl* control);
    // Stops the watched control again if a signal came: an operation that starts
    // resets its flags.
    void Reapply();
    bool Requested() const { return signals_.Received() != 0; }
    // Readable once a signal came: wakes a question waiting for an answer.
    int WakeDescriptor() const { return signals_.WakeDescriptor(); }

  private:
    void Stop();

    std::mutex mutex_;
    OperationControl* control_ = nullptr;
    platform::StopSignals signals_;  // last: its thread goes before the rest
};

}  // namespace vorlane::cli
