// The worker of the windows: its result comes back on the GUI thread after what the
// work queued there, one work at a time, a continuation may start the next, and the
// owner's end waits for the work in hand. The bridge hands a purge's progress over
// coalesced: the latest of many, once; questions from a worker thread are answered on
// the GUI thread, closing while a question is pending answers it, and a bridge that goes
// before its queued reports are shown drops them.

#include <QMessageBox>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

#include "mainwin/BackgroundWork.h"
#include "mainwin/GuiBridge.h"
#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "mainwin/QtDialogs.h"
#include "selection/ScriptedDialogs.h"

using vorlane::BackgroundWork;
using vorlane::GuiBridge;
using vorlane::MessageAnswer;
using vorlane::MessageButtons;
using vorlane::MessageIcon;
using vorlane::PurgeProgress;
using vorlane::QtDialogs;
using vorlane::Question;
using vorlane::testing::Modal;
using vorlane::testing::ScriptedDialogs;

namespace {

const Question kQuestion{"Purge the next folder?", "Purge folders", MessageButtons::YesNoCancel, 2,
                         MessageIcon::Question};

// Asks on its own thread; the test waits for `done` while serving events.
class Worker {
  public:
    explicit Worker(std::function<void()> work)
        : thread_([this, work = std::move(work)] {
              work();
              done = true;
          }) {}
    ~Worker() { thread_.join(); }
    std::atomic<bool> done{false};

  private:
    std::thread thread_;
};

}  // namespace

class WorkerTest : public QObject {
    Q_OBJECT

  private slots:
    void resultComesBackAfterWhatTheWorkQueued();
    void oneWorkAtATimeAndAContinuationMayStartTheNext();
    void theEndWaitsForTheWorkInHand();
    void progressIsCoalescedToTheLatest();
    void workerQuestionIsAnsweredOnTheGuiThread();
    void closingBeforeTheGuiServesTheQuestionAnswersCancel();
    void closingTheMainWindowReleasesAWaitingWorker();
    void reportsStillQueuedWhenTheBridgeGoesAreDropped();
};

void WorkerTest::resultComesBackAfterWhatTheWorkQueued() {
    BackgroundWork work;
    QThread* workThread = nullptr;
    QThread* thenThread = nullptr;
    QStringList order;
    int result = 0;
    QVERIFY(work.Start<int>(
        [&] {
            workThread = QThread::currentThread();
            QMetaObject::invokeMethod(
                &work, [&] { order << "queued"; }, Qt::QueuedConnection);
            return 42;
        },
        [&](const int& value) {
            thenThread = QThread::currentThread();
            order << "then";
            result = value;
        }));
    QVERIFY(work.Busy());
    QTRY_VERIFY(!work.Busy());
    QCOMPARE(result, 42);
    QCOMPARE(order, QStringList({"queued", "then"}));
    QVERIFY(workThread != QThread::currentThread());
    QCOMPARE(thenThread, QThread::currentThread());
}

void WorkerTest::oneWorkAtATimeAndAContinuationMayStartTheNext() {
    BackgroundWork work;
    std::atomic<bool> release{false};
    QStringList done;
    QVERIFY(work.Start(
        [&] {
            while (!release) {
                std::this_thread::yield();
            }
        },
        [&] {
            done << "first";
            QVERIFY(!work.Busy());
            QVERIFY(work.Start([] {}, [&] { done << "second"; }));
        }));
    QVERIFY(!work.Start([] {}, [&] { done << "refused"; }));
    release = true;
    QTRY_COMPARE(done, QStringList({"first", "second"}));
    QVERIFY(!work.Busy());
}

void WorkerTest::theEndWaitsForTheWorkInHand() {
    std::atomic<bool> started{false};
    std::atomic<bool> release{false};
    std::atomic<bool> ended{false};
    bool continued = false;
    {
        BackgroundWork work;
        work.Start(
            [&] {
                started = true;
                while (!release) {
                    std::this_thread::yield();
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                ended = true;
            },
            [&] { continued = true; });
        while (!started) {
            std::this_thread::yield();
        }
        release = true;
    }
    QVERIFY(ended);
    QCoreApplication::processEvents();
    QVERIFY(!continued);  // what it would have touched may be gone
}

void WorkerTest::progressIsCoalescedToTheLatest() {
    ScriptedDialogs dialogs;
    GuiBridge bridge(dialogs);
    std::vector<PurgeProgress> shown;
    vorlane::ReportSinks sinks;
    sinks.purgeProgress = [&](const PurgeProgress& progress) { shown.push_back(progress); };
    bridge.SetSinks(sinks);
    constexpr int kUpdates = 10000;
    std::thread worker([&] {
        for (int i = 1; i <= kUpdates; ++i) {
            bridge.ShowPurgeProgress({.filesDone = i, .filesTotal = kUpdates});
        }
    });
    worker.join();
    QTRY_VERIFY(!shown.empty());
    QTest::qWait(300);  // a second delivery would have come by now
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(shown.back().filesDone, std::int64_t{kUpdates});
}

void WorkerTest::workerQuestionIsAnsweredOnTheGuiThread() {
    ScriptedDialogs dialogs;
    dialogs.answers = {MessageAnswer::Yes};
    GuiBridge bridge(dialogs);
    MessageAnswer answer = MessageAnswer::Ok;
    {
        Worker worker([&] { answer = bridge.Ask(kQuestion); });
        QTRY_VERIFY_WITH_TIMEOUT(worker.done, 5000);
    }
    QVERIFY(answer == MessageAnswer::Yes);
    QVERIFY(dialogs.askedOn == std::this_thread::get_id());
    QCOMPARE(dialogs.asked.size(), std::size_t(1));
    QCOMPARE(dialogs.asked[0].text, kQuestion.text);
}

void WorkerTest::closingBeforeTheGuiServesTheQuestionAnswersCancel() {
    ScriptedDialogs dialogs;
    dialogs.answers = {MessageAnswer::Yes};
    GuiBridge bridge(dialogs);
    MessageAnswer answer = MessageAnswer::Ok;
    {
        Worker worker([&] { answer = bridge.Ask(kQuestion); });
        // The GUI thread is busy (serves no events) when the windows close.
        QThread::msleep(50);
        bridge.Close();
    }
    QVERIFY(answer == MessageAnswer::Cancel);
    QCoreApplication::processEvents();
    QVERIFY(dialogs.asked.empty());
}

void WorkerTest::closingTheMainWindowReleasesAWaitingWorker() {
    QtDialogs dialogs;
    vorlane::MainWindow window(dialogs);
    dialogs.SetOwner(&window);
    window.StartUp();
    MessageAnswer answer = MessageAnswer::Ok;
    {
        bool seen = false;
        // The box runs its own event loop: the close must come from a timer.
        vorlane::testing::When([] { return Modal<QMessageBox>() != nullptr; },
                               [&] {
                                   seen = true;
                                   window.close();
                               });
        Worker worker([&] { answer = window.Bridge().Ask(kQuestion); });
        QTRY_VERIFY_WITH_TIMEOUT(worker.done, 5000);
        QVERIFY(seen);
    }
    QVERIFY(answer == MessageAnswer::Cancel);
    QVERIFY(window.Quitting());
    QVERIFY(window.Control().StopRequested());
}

void WorkerTest::reportsStillQueuedWhenTheBridgeGoesAreDropped() {
    ScriptedDialogs dialogs;
    // The sink outlives the bridge; a call that ran after the bridge went would reach
    // it through the freed bridge.
    auto shown = std::make_shared<std::atomic<int>>(0);
    vorlane::ReportSinks sinks;
    sinks.showCaption = [shown](const std::string&) { ++*shown; };
    auto bridge = std::make_unique<GuiBridge>(dialogs, sinks);
    {
        Worker worker([&] {
            bridge->ShowCaption("Purge files");
            bridge->ShowProgress("1 file");
        });
    }
    bridge.reset();
    QCoreApplication::processEvents();
    QCOMPARE(shown->load(), 0);
}

VORLANE_GUI_TEST_MAIN(WorkerTest)
#include "WorkerTest.moc"
