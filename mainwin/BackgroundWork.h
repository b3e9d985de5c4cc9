#pragma once
// Runs a piece of work on a worker thread while the GUI thread keeps serving its
// events (painting, the close button), and returns when the work is done.

#include <functional>

namespace vorlane {

void RunWhileServingEvents(const std::function<void()>& work);

}  // namespace vorlane
