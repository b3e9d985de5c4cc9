#include "platform/StopSignals.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <cstdlib>

namespace vorlane::platform {

StopSignals::StopSignals(std::function<void(int)> onFirst) : onFirst_(std::move(onFirst)) {
    sigemptyset(&watched_);
    sigaddset(&watched_, SIGINT);
    sigaddset(&watched_, SIGTERM);
    // Blocked everywhere, the signals wait for sigwait instead of interrupting a write
    // or a flush halfway.
    pthread_sigmask(SIG_BLOCK, &watched_, &previous_);
    if (::pipe2(pipe_, O_CLOEXEC) != 0) {
        pipe_[0] = pipe_[1] = -1;
    }
    watcher_ = std::thread([this] { Watch(); });
}

StopSignals::~StopSignals() {
    quitting_ = true;
    // The watcher takes this signal itself and sees that it is to quit.
    pthread_kill(watcher_.native_handle(), SIGTERM);
    watcher_.join();
    for (const int fd : pipe_) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void StopSignals::Watch() {
    for (;;) {
        int signalNumber = 0;
        if (sigwait(&watched_, &signalNumber) != 0 || quitting_) {
            return;
        }
        if (received_ == 0) {
            received_ = signalNumber;
            if (pipe_[1] >= 0) {
                [[maybe_unused]] const ssize_t ignored = ::write(pipe_[1], "!", 1);
            }
            onFirst_(signalNumber);
            continue;
        }
        // A second signal: the person wants out now. Die by it, so that the shell
        // knows how the program ended; a half-overwritten file stays as it is.
        ::signal(signalNumber, SIG_DFL);
        sigset_t one;
        sigemptyset(&one);
        sigaddset(&one, signalNumber);
        pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
        ::raise(signalNumber);
        std::_Exit(128 + signalNumber);
    }
}

}  // namespace vorlane::platform
