// "Purge free space" in the command frame, as the eye and the keyboard find it.

#include <QAccessible>
#include <QSignalSpy>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "selection/ScriptedDialogs.h"

using vorlane::CommandButton;
using vorlane::MainWindow;

class FreeSpaceRowTest : public QObject {
    Q_OBJECT

    vorlane::testing::ScriptedDialogs dialogs;

  private slots:
    // Below the speed test on the screen and in the tab order; Alt+F fires it, and no
    // other control of the window answers to that key.
    void commandFollowsTheSpeedTestAndAnswersAltF() {
        MainWindow window(dialogs);
        window.StartUp();
        CommandButton* speed = window.Button("cmdTestPurgeSpeed");
        CommandButton* fill = window.Button("cmdPurgeFreeSpace");
        CommandButton* report = window.Button("cmdReportScreen");
        QVERIFY(fill && fill->isVisible());
        QVERIFY(fill->y() >= speed->y() + speed->height());
        QVERIFY(report->y() >= fill->y() + fill->height());
        QCOMPARE(speed->nextInFocusChain(), fill);
        QCOMPARE(fill->nextInFocusChain(), report);
        auto* accessible = QAccessible::queryAccessibleInterface(fill);
        QCOMPARE(accessible->text(QAccessible::Name), QString("Purge free space"));
        QVERIFY(!accessible->text(QAccessible::Description).isEmpty());

        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QKeySequence key(Qt::ALT | Qt::Key_F);
        int answering = 0;
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
            answering += button->shortcut() == key ? 1 : 0;
        }
        QCOMPARE(answering, 1);
        QSignalSpy fired(fill, &CommandButton::fired);
        QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
        QVERIFY(fired.wait(2000));
    }
};

VORLANE_GUI_TEST_MAIN(FreeSpaceRowTest)
#include "FreeSpaceRowTest.moc"
