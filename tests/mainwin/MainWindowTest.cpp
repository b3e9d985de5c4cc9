// The main window driven headless: start-up, its controls, the command conventions
// (mouse-up, hover focus, guard second, F10, the frame around modal windows), Clear
// and Quit.

#include <QAccessible>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include "mainwin/FrmMain.h"
#include "mainwin/GuiTestEnvironment.h"
#include "selection/ScriptedDialogs.h"
#include "support/Folders.h"

using vorlane::CommandButton;
using vorlane::FrmMain;
using vorlane::GetText;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;

namespace {

QString Text(const FrmMain& window, const char* label) {
    return window.Label(label)->text();
}

void MouseUp(CommandButton* button, Qt::MouseButton mouseButton = Qt::LeftButton) {
    QVERIFY(button);
    QTest::mouseClick(button, mouseButton);
}

std::string SetupPath() {
    vorlane::MainState state;
    vorlane::ResetState(state);
    return state.userSetupFilePath;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        dialogs = std::make_unique<ScriptedDialogs>();
        window = std::make_unique<FrmMain>(*dialogs);
        window->StartUp();
    }
    void cleanup() {
        window.reset();
        dialogs.reset();
    }
    void startUpWithoutSavedSetup();
    void startUpWithSavedSetup();
    void accessibleNamesAreTheCaptions();
    void rightButtonReleaseFiresMouseUpCommands();
    void keyboardActivatesCommands();
    void hoverGivesTheFocus();
    void quitIsIgnoredInTheGuardSecondAfterAFileDialog();
    void closingAlwaysEnds();
    void interruptKeyOnReleaseOverTheMainWindowOnly();
    void menuIsDisabledAroundModalWindowsThatAreReused();

  private:
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<FrmMain> window;
};

void MainWindowTest::startUpWithoutSavedSetup() {
    QVERIFY(window->isVisible());
    QCOMPARE(Text(*window, "lblDirectory_0").toStdString(), GetText(4));
    QCOMPARE(Text(*window, "lblSubdirectories"), QString());
    QCOMPARE(window->focusWidget(), window->Button("cmdSpecifyDirectory_0"));
    QVERIFY(window->State().startupCompleted);
    QVERIFY(dialogs->asked.empty());
    QCOMPARE(window->windowTitle().toStdString(), GetText(2));
}

void MainWindowTest::startUpWithSavedSetup() {
    TempFolder target;
    target.WriteTree({"sub", "a.txt=a"});
    vorlane::Setup setup;
    setup.targetFolder = target.Path();
    setup.targetFilespec = "*.txt";
    setup.subfolders = true;
    setup.purgeType = 2;
    setup.numberOfPasses = 3;
    const std::string path = SetupPath();
    QVERIFY(vorlane::SaveSetupToFile(path, setup));
    cleanup();
    init();  // starts with the saved setup
    std::filesystem::remove(path);
    QCOMPARE(Text(*window, "lblDirectory_0").toStdString(), target.Path());
    QCOMPARE(Text(*window, "lblFiles_0"), QString("*.txt"));
    QCOMPARE(Text(*window, "lblSubdirectories"), QString("Yes"));
    QVERIFY(Text(*window, "lblTypeOfPurge").contains("(= 18 overwrites)"));
}

void MainWindowTest::accessibleNamesAreTheCaptions() {
    for (CommandButton* button : window->findChildren<CommandButton*>()) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), button->text());
        QVERIFY(button->focusPolicy() & Qt::TabFocus);
    }
    QAccessibleInterface* label =
        QAccessible::queryAccessibleInterface(window->Label("lblDateRestriction"));
    QCOMPARE(label->text(QAccessible::Name), QString("No date restriction"));
    QCOMPARE(window->Menu()->accessibleName(), QString("Commands"));
}

void MainWindowTest::rightButtonReleaseFiresMouseUpCommands() {
    MouseUp(window->Button("cmdSpecifyDirectory_0"), Qt::RightButton);
    QCOMPARE(dialogs->folderTitles.size(), std::size_t(1));
    MouseUp(window->Button("cmdSpecifyDirectory_0"), Qt::MiddleButton);
    QCOMPARE(dialogs->folderTitles.size(), std::size_t(2));
    MouseUp(window->Button("cmdSpecifyDirectory_0"));
    QCOMPARE(dialogs->folderTitles.size(), std::size_t(3));
    // A click command keeps to the left button.
    MouseUp(window->Button("cmdClear"), Qt::RightButton);
    QVERIFY(dialogs->asked.empty());
    // A release outside the button is no command.
    CommandButton* folder = window->Button("cmdSpecifyDirectory_0");
    QTest::mousePress(folder, Qt::RightButton);
    QTest::mouseRelease(folder, Qt::RightButton, {}, QPoint(-5, -5));
    QCOMPARE(dialogs->folderTitles.size(), std::size_t(3));
}

void MainWindowTest::keyboardActivatesCommands() {
    CommandButton* folder = window->Button("cmdSpecifyDirectory_0");
    QTest::keyClick(folder, Qt::Key_Space);
    QTest::keyClick(folder, Qt::Key_Return);
    QCOMPARE(dialogs->folderTitles.size(), std::size_t(2));
    QTest::keyClick(window->Button("cmdClear"), Qt::Key_Space);
    QCOMPARE(dialogs->asked.size(), std::size_t(1));
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

void MainWindowTest::quitIsIgnoredInTheGuardSecondAfterAFileDialog() {
    QTRY_VERIFY_WITH_TIMEOUT(!window->DialogGuard(), 3000);
    MouseUp(window->Button("cmdSingleFile"));
    QCOMPARE(dialogs->fileTitles.size(), std::size_t(1));
    QVERIFY(window->DialogGuard());
    MouseUp(window->Button("cmdQuit"));
    QVERIFY(!window->Quitting());
    QVERIFY(window->isVisible());
    // The other guarded commands wait too; Help does not.
    MouseUp(window->Button("cmdSpecifyDirectory_0"));
    QCOMPARE(dialogs->folderTitles.size(), std::size_t(0));
    const std::size_t told = dialogs->asked.size();
    MouseUp(window->Button("cmdHelp"));
    QCOMPARE(dialogs->asked.size(), told + 1);
    QTRY_VERIFY_WITH_TIMEOUT(!window->DialogGuard(), 3000);
    MouseUp(window->Button("cmdQuit"));
    QVERIFY(window->Quitting());
    QVERIFY(!window->isVisible());
    QVERIFY(dialogs->closed);
}

void MainWindowTest::closingAlwaysEnds() {
    MouseUp(window->Button("cmdSingleFile"));
    QVERIFY(window->DialogGuard());
    window->close();
    QVERIFY(window->Quitting());
    QVERIFY(window->Control().StopRequested());
    QVERIFY(window->Bridge().Closed());
}

void MainWindowTest::interruptKeyOnReleaseOverTheMainWindowOnly() {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    CommandButton* files = window->Button("cmdSpecifyFiles_0");
    files->setFocus();
    QTest::keyPress(files, Qt::Key_F10);
    QVERIFY(!window->Control().InterruptRequested());
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_F10, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(files, &repeated);
    QVERIFY(!window->Control().InterruptRequested());
    QTest::keyRelease(files, Qt::Key_F9);
    QVERIFY(!window->Control().InterruptRequested());
    QTest::keyRelease(files, Qt::Key_F10);
    QVERIFY(window->Control().InterruptRequested());

    // Over another window nothing happens.
    window->Control().ClearInterrupt();
    QLineEdit other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    other.setFocus();
    QTest::keyRelease(&other, Qt::Key_F10);
    QVERIFY(!window->Control().InterruptRequested());
}

void MainWindowTest::menuIsDisabledAroundModalWindowsThatAreReused() {
    QList<bool> menuEnabled;
    QList<QWidget*> shown;
    for (const char* button : {"cmdTypeOfPurge", "cmdTypeOfPurge", "cmdOnlyBefore"}) {
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
    QCOMPARE(menuEnabled, (QList<bool>{false, false, false}));
    QVERIFY(shown[0] && shown[2]);
    QCOMPARE(shown[0]->objectName(), QString("frmTypeOfPurge"));
    QCOMPARE(shown[1], shown[0]);
    QCOMPARE(window->findChildren<QDialog*>("frmTypeOfPurge").size(), 1);
    QCOMPARE(shown[2]->objectName(), QString("frmCEDateInput"));
    QCOMPARE(shown[2]->windowTitle(), QString("Only files before ..."));
    QCOMPARE(Text(*window, "lblDateRestriction"), QString("No date restriction"));
}

VORLANE_GUI_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
