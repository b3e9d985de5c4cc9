#include "cli/StopRequest.h"

namespace vorlane::cli {

StopRequest::StopRequest() : signals_([this](int) { Stop(); }) {}

void StopRequest::Watch(OperationControl* control) {
    std::lock_guard lock(mutex_);
    control_ = control;
    if (control_ != nullptr && Requested()) {
        control_->RequestStop();
    }
}

void StopRequest::Reapply() {
    if (Requested()) {
        Stop();
    }
}

void StopRequest::Stop() {
    std::lock_guard lock(mutex_);
    if (control_ != nullptr) {
        control_->RequestStop();
    }
}

}  // namespace vorlane::cli
