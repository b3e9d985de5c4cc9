#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include "platform/StopSignals.h"

namespace vorlane::testing {
namespace {

// Waits until the watcher took the first signal; false after about five seconds.
bool WaitForFirst(const platform::StopSignals& signals) {
    for (int i = 0; i < 500 && signals.Received() == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return signals.Received() != 0;
}

// Runs body in a child process, so that a signal may end it; returns its wait status.
template <typename Body>
int InChild(Body body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST(StopSignalsTest, FirstSignalCallsBackAndWakesTheReader) {
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        const int status = InChild([signalNumber] {
            std::atomic<int> seen{0};
            platform::StopSignals signals([&](int n) { seen = n; });
            ::kill(::getpid(), signalNumber);
            if (!WaitForFirst(signals) || seen != signalNumber) {
                return 1;
            }
            char byte = 0;
            return ::read(signals.WakeDescriptor(), &byte, 1) == 1 ? 0 : 2;
        });
        ASSERT_TRUE(WIFEXITED(status)) << signalNumber;
        EXPECT_EQ(WEXITSTATUS(status), 0) << signalNumber;
    }
}

TEST(StopSignalsTest, SecondSignalEndsTheProcessByThatSignal) {
    const int status = InChild([] {
        platform::StopSignals signals([](int) {});
        ::kill(::getpid(), SIGINT);
        if (!WaitForFirst(signals)) {
            return 1;
        }
        ::kill(::getpid(), SIGINT);
        std::this_thread::sleep_for(std::chrono::seconds(5));
        return 0;  // not reached: the second signal ends the process
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGINT);
}

}  // namespace
}  // namespace vorlane::testing
