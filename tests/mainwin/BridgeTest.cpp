// Questions from a worker thread answered on the GUI thread, closing while a question
// is pending, and a bridge that goes before its queued reports are shown.

#include <QMessageBox>
#include <atomic>
#include <thread>

#include "mainwin/GuiBridge.h"
#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "mainwin/QtDialogs.h"
#include "selection/ScriptedDialogs.h"

using vorlane::GuiBridge;
using vorlane::MessageAnswer;
using vorlane::MessageButtons;
using vorlane::MessageIcon;
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

class BridgeTest : public QObject {
    Q_OBJECT

  private slots:
    void workerQuestionIsAnsweredOnTheGuiThread();
    void closingBeforeTheGuiServesTheQuestionAnswersCancel();
    void closingTheMainWindowReleasesAWaitingWorker();
    void reportsStillQueuedWhenTheBridgeGoesAreDropped();
};

void BridgeTest::workerQuestionIsAnsweredOnTheGuiThread() {
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

void BridgeTest::closingBeforeTheGuiServesTheQuestionAnswersCancel() {
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

void BridgeTest::closingTheMainWindowReleasesAWaitingWorker() {
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

void BridgeTest::reportsStillQueuedWhenTheBridgeGoesAreDropped() {
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

VORLANE_GUI_TEST_MAIN(BridgeTest)
#include "BridgeTest.moc"
