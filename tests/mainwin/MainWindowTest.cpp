// The main window driven headless: start-up, hover focus, F10, the menu disabled
// around modal windows, and commands wired once.

#include <QTimer>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "selection/ScriptedDialogs.h"
#include "support/Folders.h"

using vorlane::CommandButton;
using vorlane::GetText;
using vorlane::MainWindow;
using vorlane::testing::ScriptedDialogs;

namespace {

QString Text(const MainWindow& window, const char* label) {
    return window.Label(label)->text();
}

void MouseUp(CommandButton* button) {
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        dialogs = std::make_unique<ScriptedDialogs>();
        window = std::make_unique<MainWindow>(*dialogs);
        window->StartUp();
    }
    void cleanup() {
        window.reset();
        dialogs.reset();
    }
    void startUpWithoutSavedSetup();
    void hoverGivesTheFocus();
    void interruptKeyOnRelease();
    void menuIsDisabledAroundModalWindows();
    void aButtonKeepsItsFirstCommand();

  private:
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<MainWindow> window;
};

void MainWindowTest::startUpWithoutSavedSetup() {
    QVERIFY(window->isVisible());
    QCOMPARE(Text(*window, "lblDirectory_0").toStdString(), GetText(4));
    QCOMPARE(window->focusWidget(), window->Button("cmdSpecifyDirectory_0"));
    QVERIFY(window->State().startupCompleted);
    QCOMPARE(window->windowTitle().toStdString(), GetText(2));
}

void MainWindowTest::hoverGivesTheFocus() {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    CommandButton* quit = window->Button("cmdQuit");
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(quit, &enter);
    QCOMPARE(window->focusWidget(), quit);
    // Clear is not among the commands that follow the mouse.
    QApplication::sendEvent(window->Button("cmdClear"), &enter);
    QCOMPARE(window->focusWidget(), quit);
    window->EnableMenu(false);
    QApplication::sendEvent(window->Button("cmdHelp"), &enter);
    QVERIFY(window->focusWidget() != window->Button("cmdHelp"));
}

void MainWindowTest::interruptKeyOnRelease() {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    CommandButton* files = window->Button("cmdSpecifyFiles_0");
    files->setFocus();
    QTest::keyPress(files, Qt::Key_F10);
    QVERIFY(!window->Control().InterruptRequested());
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_F10, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(files, &repeated);
    QVERIFY(!window->Control().InterruptRequested());
    QTest::keyRelease(files, Qt::Key_F10);
    QVERIFY(window->Control().InterruptRequested());
}

void MainWindowTest::menuIsDisabledAroundModalWindows() {
    QList<bool> menuEnabled;
    QList<QWidget*> shown;
    for (const char* button : {"cmdTypeOfPurge", "cmdOnlyBefore"}) {
        QTimer::singleShot(0, [&] {
            menuEnabled << window->Menu()->isEnabled();
            shown << QApplication::activeModalWidget();
            if (shown.last()) {
                QTest::keyClick(shown.last(), Qt::Key_Escape);
            }
        });
        MouseUp(window->Button(button));
        QVERIFY(window->Menu()->isEnabled());
    }
    QCOMPARE(menuEnabled, (QList<bool>{false, false}));
    QVERIFY(shown[0] && shown[1]);
    QCOMPARE(shown[0]->objectName(), QString("frmTypeOfPurge"));
    QCOMPARE(shown[1]->objectName(), QString("frmCEDateInput"));
}

void MainWindowTest::aButtonKeepsItsFirstCommand() {
    int first = 0;
    int second = 0;
    QVERIFY(window->WireCommand(
        "cmdHelp", [&] { ++first; }, false));
    // A second handler neither replaces the first nor runs beside it, whether the
    // window or the tools wired the button.
    QVERIFY(!window->WireCommand(
        "cmdHelp", [&] { ++second; }, false));
    QVERIFY(!window->WireCommand("cmdQuit", [&] { ++second; }));
    window->Button("cmdHelp")->click();
    QCOMPARE(first, 1);
    QCOMPARE(second, 0);
}

VORLANE_GUI_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
