// The worker of the windows: its result comes back on the GUI thread after what the
// work queued there, one work at a time, a continuation may start the next, and the
// owner's end waits for the work in hand. The bridge hands a purge's progress over
// coalesced: the latest of many, once.

#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

#include "mainwin/BackgroundWork.h"
#include "mainwin/GuiBridge.h"
#include "mainwin/GuiTestEnvironment.h"
#include "selection/ScriptedDialogs.h"

using vorlane::BackgroundWork;
using vorlane::GuiBridge;
using vorlane::PurgeProgress;

class WorkerTest : public QObject {
    Q_OBJECT

  private slots:
    void resultComesBackAfterWhatTheWorkQueued();
    void oneWorkAtATimeAndAContinuationMayStartTheNext();
    void theEndWaitsForTheWorkInHand();
    void progressIsCoalescedToTheLatest();
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
    vorlane::testing::ScriptedDialogs dialogs;
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

VORLANE_GUI_TEST_MAIN(WorkerTest)
#include "WorkerTest.moc"
