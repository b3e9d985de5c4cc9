// The operation on a worker thread, steered from another thread as the windows steer
// it. Build with -DVORLANE_TSAN=ON to have ThreadSanitizer watch these.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "operation/PendingAnswer.h"
#include "operation/ProcessFiles.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kFileCount = 400;

int FilesLeft(const std::string& folder) {
    return static_cast<int>(std::distance(fs::directory_iterator(folder), {}));
}

// Polls until the condition holds; false after a generous wait.
template <typename Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 2000; ++i) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

class OperationThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < kFileCount; ++i) {
            folder.Write("f" + std::to_string(1000 + i) + ".txt", "secret " + std::to_string(i));
        }
        // The worker tells only through atomics: this thread never reads ui's fields
        // while the worker runs.
        ui.onReport = [this](const std::string&) { ++reports; };
        ui.onPhase = [this](ReportPhase phase) {
            if (phase == ReportPhase::Paused) {
                ++pausesSeen;
            }
        };
    }

    OperationChoices SteeredChoices() const {
        OperationChoices choices = ChoicesFor(folder.Path(), "*.txt");
        choices.numberOfPasses = 1;
        choices.batchSmallFiles = false;  // a report line per file to steer by
        return choices;
    }

    TempFolder folder;
    ScriptedInterface ui;
    OperationControl control;
    std::atomic<int> reports{0};
    std::atomic<int> pausesSeen{0};
};

TEST_F(OperationThreadTest, PauseContinueAndStopFromAnotherThread) {
    Operation op(SteeredChoices(), ui, control);
    op.State().purging = true;
    std::thread worker([&] { ProcessFiles(op); });

    ASSERT_TRUE(Eventually([&] { return FilesLeft(folder.Path()) < kFileCount; }));
    control.PauseContinue();
    ASSERT_TRUE(Eventually([&] { return pausesSeen == 1; }));
    const int whilePaused = FilesLeft(folder.Path());
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(FilesLeft(folder.Path()), whilePaused);  // nothing moves while paused

    control.Stop();  // Stop acts only while paused: this one ends the purge
    worker.join();

    const std::string report = op.ReportText();
    EXPECT_NE(report.find("Purge operation was stopped.\n"), std::string::npos);
    EXPECT_EQ(op.State().purgedFileCount, kFileCount - whilePaused);
    EXPECT_EQ(FilesLeft(folder.Path()), whilePaused);
    // Whatever was not reached is whole.
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        const std::string name = entry.path().filename().string();
        const int index = std::stoi(name.substr(1, 4)) - 1000;
        EXPECT_EQ(TempFolder::Read(entry.path().string()), "secret " + std::to_string(index));
    }
    // The report was sent as changes, ending as the operation's text.
    EXPECT_EQ(ui.lastReport, report);
    EXPECT_GT(ui.appendEvents, 0);
}

TEST_F(OperationThreadTest, ChoicesChangedAfterTheStartDoNotReachTheOperation) {
    OperationChoices choices = ChoicesFor(folder.Path(), "*.txt");
    choices.numberOfPasses = 1;
    choices.options.doNotDeletePurgedFiles = true;
    Operation op(choices, ui, control);
    choices.options.doNotDeletePurgedFiles = false;
    choices.targetFolder = "/nonexistent";
    op.State().purging = true;
    ProcessFiles(op);
    EXPECT_EQ(FilesLeft(folder.Path()), kFileCount);
    EXPECT_NE(op.ReportText().find("Purged files not deleted."), std::string::npos);
}

TEST(PendingAnswerTest, FirstOfAnswerAndCancelWins) {
    struct Case {
        bool answerFirst;
        MessageAnswer expected;
    };
    for (const Case& c : {Case{true, MessageAnswer::Yes}, Case{false, MessageAnswer::Cancel}}) {
        PendingAnswer<MessageAnswer> pending(MessageAnswer::Cancel);
        std::atomic<bool> waiting{false};
        MessageAnswer got = MessageAnswer::No;
        std::thread worker([&] {
            waiting = true;
            got = pending.Wait();
        });
        ASSERT_TRUE(Eventually([&] { return waiting.load(); }));
        if (c.answerFirst) {
            EXPECT_TRUE(pending.Give(MessageAnswer::Yes));
            pending.Cancel();
        } else {
            pending.Cancel();
            EXPECT_FALSE(pending.Give(MessageAnswer::Yes));  // too late
        }
        worker.join();
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(pending.Cancelled(), !c.answerFirst);
    }
}

}  // namespace
}  // namespace vorlane::testing
