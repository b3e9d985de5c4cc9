// Faults a person meets in the tool windows: the setups they save, and the wheel over
// the subfolder list.

#include <QWheelEvent>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "selection/ScriptedDialogs.h"
#include "support/UserLocale.h"
#include "toolwin/SubfolderSelectionWindow.h"
#include "toolwin/ToolCommands.h"

using vorlane::MainWindow;
using vorlane::ToolCommands;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;

namespace {

std::string FirstLine(const std::string& file) {
    const std::string text = TempFolder::Read(file);
    return text.substr(0, text.find("\r\n"));
}

void Fire(MainWindow& main, const char* command) {
    emit main.Button(command)->fired();
}

}  // namespace

class ToolWindowFaultsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { vorlane::SetUserLocale(std::locale::classic()); }

    // Both ways of saving from the windows begin the file with the version, as
    // vorlane-cli does.
    void savedSetupsBeginWithTheVersion() {
        TempFolder temp;
        ScriptedDialogs dialogs;
        MainWindow main(dialogs);
        ToolCommands tools(main, dialogs);
        main.StartUp();
        for (const char* save : {"cmdSaveSetupForNextRun", "cmdSaveSetupAsOperationFile"}) {
            dialogs.files = {temp.File("letters.vns")};
            Fire(main, "cmdSetup");
            Fire(main, "cmdSaveSetup");
            Fire(main, save);
        }
        QCOMPARE(FirstLine(main.State().userSetupFilePath), std::string("0.12"));
        QCOMPARE(FirstLine(temp.File("letters.vns")), std::string("0.12"));
    }

    // The wheel over a row moves the list as the scroll bar does.
    void wheelOverTheRowsScrollsTheList() {
        TempFolder temp;
        for (int folder = 0; folder < 30; ++folder) {
            temp.WriteTree({"folder" + std::to_string(100 + folder) + "/file=x"});
        }
        ScriptedDialogs dialogs;
        vorlane::SubfolderSelectionWindow window(dialogs);
        window.noSizes = true;
        int before = -1;
        int after = -1;
        QString firstRow;
        QTimer::singleShot(0, [&] {
            QVERIFY(QTest::qWaitFor(
                [&] { return window.isVisible() && !window.Busy() && window.Rows().size() > 2; }));
            QCheckBox* row = window.Rows()[2];
            before = window.ScrollBar()->value();
            const QPointF at(5, row->height() / 2.0);
            QWheelEvent down(at, row->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                             Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(row, &down);
            after = window.ScrollBar()->value();
            firstRow = window.Rows().front()->text();
            window.CancelButton()->click();
        });
        window.Choose(temp.Path(), "Select subfolders of the folder to be purged.", {});
        QCOMPARE(before, 0);
        QVERIFY(after > 0);
        QVERIFY(!firstRow.startsWith("folder100"));
    }
};

VORLANE_GUI_TEST_MAIN(ToolWindowFaultsTest)
#include "ToolWindowFaultsTest.moc"
