// Questions from a worker thread answered on the GUI thread, the real message box
// behind the dialog seam, and closing while a question is pending.

#include <QMessageBox>
#include <atomic>
#include <thread>

#include "mainwin/FrmMain.h"
#include "mainwin/GuiBridge.h"
#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/QtDialogs.h"
#include "selection/ScriptedDialogs.h"

using vorlane::GuiBridge;
using vorlane::MessageAnswer;
using vorlane::MessageButtons;
using vorlane::MessageIcon;
using vorlane::QtDialogs;
using vorlane::Question;
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

QMessageBox* OpenMessageBox() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

// The box runs its own event loop on the GUI thread: what happens while it is open
// must come from a timer.
class WhenBoxOpens {
  public:
    explicit WhenBoxOpens(std::function<void()> step) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this, step = std::move(step)] {
            if (OpenMessageBox()) {
                timer_.stop();
                seen = true;
                step();
            }
        });
        timer_.start();
    }
    bool seen = false;

  private:
    QTimer timer_;
};

}  // namespace

class BridgeTest : public QObject {
    Q_OBJECT

  private slots:
    void workerQuestionIsAnsweredOnTheGuiThread();
    void guiThreadQuestionIsAskedDirectly();
    void closingBeforeTheGuiServesTheQuestionAnswersCancel();
    void closingTheMainWindowReleasesAWaitingWorker();
    void realBoxShowsTextTitleIconAndDefault();
    void confirmationsWithoutAWindowAreNo();
};

void BridgeTest::workerQuestionIsAnsweredOnTheGuiThread() {
    ScriptedDialogs dialogs;
    dialogs.answers = {MessageAnswer::Yes};
    QObject gui;
    GuiBridge bridge(&gui, dialogs);
    MessageAnswer answer = MessageAnswer::Ok;
    std::thread::id workerId;
    {
        Worker worker([&] {
            workerId = std::this_thread::get_id();
            answer = bridge.Ask(kQuestion);
        });
        QTRY_VERIFY_WITH_TIMEOUT(worker.done, 5000);
    }
    QVERIFY(answer == MessageAnswer::Yes);
    QVERIFY(dialogs.askedOn == std::this_thread::get_id());
    QVERIFY(workerId != std::this_thread::get_id());
    QCOMPARE(dialogs.asked.size(), std::size_t(1));
    QCOMPARE(dialogs.asked[0].text, kQuestion.text);
}

void BridgeTest::guiThreadQuestionIsAskedDirectly() {
    ScriptedDialogs dialogs;
    dialogs.answers = {MessageAnswer::No};
    QObject gui;
    GuiBridge bridge(&gui, dialogs);
    QVERIFY(bridge.Ask(kQuestion) == MessageAnswer::No);
    bridge.Close();
    QVERIFY(bridge.Ask(kQuestion) == MessageAnswer::Cancel);
    QCOMPARE(dialogs.asked.size(), std::size_t(1));
}

void BridgeTest::closingBeforeTheGuiServesTheQuestionAnswersCancel() {
    ScriptedDialogs dialogs;
    dialogs.answers = {MessageAnswer::Yes};
    QObject gui;
    GuiBridge bridge(&gui, dialogs);
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
    vorlane::FrmMain window(dialogs);
    dialogs.SetOwner(&window);
    window.StartUp();
    MessageAnswer answer = MessageAnswer::Ok;
    {
        WhenBoxOpens closing([&] { window.close(); });
        Worker worker([&] { answer = window.Bridge().Ask(kQuestion); });
        QTRY_VERIFY_WITH_TIMEOUT(worker.done, 5000);
        QVERIFY(closing.seen);
    }
    QVERIFY(answer == MessageAnswer::Cancel);
    QVERIFY(window.Quitting());
    QVERIFY(window.Control().StopRequested());
}

void BridgeTest::realBoxShowsTextTitleIconAndDefault() {
    QtDialogs dialogs;
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString defaultButton;
    QTimer::singleShot(0, [&] {
        QMessageBox* box = OpenMessageBox();
        QVERIFY(box);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(dialogs.Ask(kQuestion) == MessageAnswer::No);
    QCOMPARE(text, QString::fromStdString(kQuestion.text));
    QCOMPARE(title, QString("Purge folders"));
    QCOMPARE(icon, QMessageBox::Question);
    QCOMPARE(defaultButton.remove('&'), QString("No"));

    QTimer::singleShot(0, [&] { QTest::keyClick(OpenMessageBox(), Qt::Key_Escape); });
    QVERIFY(dialogs.Ask({"Gone?", "", MessageButtons::YesNo, 1, MessageIcon::Exclamation}) ==
            MessageAnswer::No);
}

void BridgeTest::confirmationsWithoutAWindowAreNo() {
    ScriptedDialogs dialogs;
    QObject gui;
    GuiBridge bridge(&gui, dialogs);
    vorlane::PurgeOptions options;
    QVERIFY(!bridge.ConfirmPurge("Purge?", "Yes", options));
    QVERIFY(bridge.ConfirmFile("a.txt") == vorlane::FileConfirmation::No);
    vorlane::ReportSinks sinks;
    sinks.confirmPurge = [](const std::string&, const std::string&, vorlane::PurgeOptions& o) {
        o.doNotDeletePurgedFiles = true;
        return true;
    };
    GuiBridge confirming(&gui, dialogs, sinks);
    bool confirmed = false;
    {
        Worker worker([&] { confirmed = confirming.ConfirmPurge("Purge?", "Yes", options); });
        QTRY_VERIFY_WITH_TIMEOUT(worker.done, 5000);
    }
    QVERIFY(confirmed);
    QVERIFY(options.doNotDeletePurgedFiles);
}

VORLANE_GUI_TEST_MAIN(BridgeTest)
#include "BridgeTest.moc"
