// The tool windows as a person meets them: the setups they save, and the wheel over
// the subfolder list.

#include <QWheelEvent>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "selection/ScriptedDialogs.h"
#include "toolwin/SubfolderSelectionWindow.h"
#include "toolwin/ToolCommands.h"

using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;

class ToolWindowFaultsTest : public QObject {
    Q_OBJECT

  private slots:
    // Both ways of saving from the windows begin with the version, as vorlane-cli's.
    void savedSetupsBeginWithTheVersion() {
        TempFolder temp;
        ScriptedDialogs dialogs;
        vorlane::MainWindow main(dialogs);
        vorlane::ToolCommands tools(main, dialogs);
        main.StartUp();
        for (const char* save : {"cmdSaveSetupForNextRun", "cmdSaveSetupAsOperationFile"}) {
            dialogs.files = {temp.File("letters.vns")};
            for (const char* command : {"cmdSetup", "cmdSaveSetup", save}) {
                emit main.Button(command)->fired();
            }
        }
        for (const std::string& file : {main.State().userSetupFilePath, temp.File("letters.vns")}) {
            QVERIFY(TempFolder::Read(file).starts_with("0.12\r\n"));
        }
    }

    // The wheel over a row, not only over the scroll bar, moves the list.
    void wheelOverTheRowsScrollsTheList() {
        TempFolder temp;
        for (int folder = 0; folder < 30; ++folder) {
            temp.WriteTree({"folder" + std::to_string(100 + folder) + "/file=x"});
        }
        ScriptedDialogs dialogs;
        vorlane::SubfolderSelectionWindow window(dialogs);
        window.noSizes = true;
        int scrolled = -1;
        QTimer::singleShot(0, [&] {
            QVERIFY(QTest::qWaitFor([&] { return !window.Busy() && window.Rows().size() > 2; }));
            QCheckBox* row = window.Rows()[2];
            QWheelEvent down(QPointF(5, 5), row->mapToGlobal(QPointF(5, 5)), QPoint(),
                             QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                             false);
            QApplication::sendEvent(row, &down);
            scrolled = window.ScrollBar()->value();
            window.CancelButton()->click();
        });
        window.Choose(temp.Path(), "Select subfolders of the folder to be purged.", {});
        QVERIFY(scrolled > 0);
    }
};

VORLANE_GUI_TEST_MAIN(ToolWindowFaultsTest)
#include "ToolWindowFaultsTest.moc"
