#pragma once
// Runs a piece of work on a worker QThread while the GUI thread keeps serving its
// events (painting, the close button, the bridge's questions), and returns when the
// work is done. The callers go on with the work's results, so the wait is a local
// event loop that the thread's finished signal ends.

#include <functional>

namespace vorlane {

void RunWhileServingEvents(const std::function<void()>& work);

}  // namespace vorlane
