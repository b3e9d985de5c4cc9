// "Purge folders" seen from the main window: its notices shown whole however many lines
// they hold, and its progress window, whose Stop and F10 both ask the walk to stop.

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "selection/ScriptedDialogs.h"
#include "toolwin/FolderPurgeProgressWindow.h"
#include "toolwin/ToolCommands.h"

using vorlane::FolderPurgeProgressWindow;
using vorlane::MainWindow;
using vorlane::OperationControl;
using vorlane::ToolCommands;
using vorlane::testing::ScriptedDialogs;

namespace {

// The height the label's text needs at the label's width, word wrapped.
int NeededHeight(const QLabel& label) {
    const QRect room = label.contentsRect();
    return QFontMetrics(label.font())
        .boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, label.text())
        .height();
}

}  // namespace

class FolderPurgeProgressTest : public QObject {
    Q_OBJECT

  private slots:
    void noticesOfSeveralLinesShowWhole();
    void progressWindowShowsTheShareAndStopInterrupts();
    void f10InTheProgressWindowInterrupts();
};

void FolderPurgeProgressTest::noticesOfSeveralLinesShowWhole() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ToolCommands tools(main, dialogs);
    main.StartUp();
    main.show();
    vorlane::MainLabels& labels = main.State().labels;
    labels.largePurgeMessage =
        "To interrupt this operation upon completion of the current file purge,\npress the F10 "
        "key twice and wait for the 'Cancel?' query.";
    labels.purgeFoldersMessage = "12 files purged (40% of 30). Now purging:\n/home/u/Letters/a.txt";
    main.Refresh();
    for (const char* name : {"lblLargePurgeMessage", "lblPurgeFoldersMessage"}) {
        QLabel* label = main.Label(name);
        QTRY_VERIFY2(NeededHeight(*label) <= label->contentsRect().height(), name);
    }
}

void FolderPurgeProgressTest::progressWindowShowsTheShareAndStopInterrupts() {
    OperationControl control;
    FolderPurgeProgressWindow window(control, nullptr);
    window.Reset();
    QVERIFY(!window.isVisible());
    window.ShowProgress({.filesDone = 1, .filesTotal = 4, .passes = 1});
    QVERIFY(window.isVisible());
    QCOMPARE(window.Panel()->Bar()->value(), 25);
    QCOMPARE(window.windowTitle(), QString("25% \u2013 Purge folders"));
    QVERIFY(!control.InterruptRequested());
    window.StopButton()->click();
    QVERIFY(control.InterruptRequested());
    window.Reset();
    QVERIFY(!window.isVisible());
    QCOMPARE(window.windowTitle(), QString("Purge folders"));
}

// Clicked, the progress window has the focus; F10 there is F10 in the main window.
void FolderPurgeProgressTest::f10InTheProgressWindowInterrupts() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ToolCommands tools(main, dialogs);
    main.StartUp();
    FolderPurgeProgressWindow& window = tools.ProgressWindow();
    window.ShowProgress({.filesDone = 1, .filesTotal = 4, .passes = 1});
    window.activateWindow();
    window.StopButton()->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window.StopButton()));
    main.Control().ClearInterrupt();
    QTest::keyRelease(window.StopButton(), Qt::Key_F10);
    QVERIFY(main.Control().InterruptRequested());
}

VORLANE_GUI_TEST_MAIN(FolderPurgeProgressTest)
#include "FolderPurgeProgressTest.moc"
