// The tools in the main window, driven headless: the folder purge and the drive chooser.

#include <filesystem>

#include "common/StandIns.h"
#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "selection/ScriptedDialogs.h"
#include "support/UserLocale.h"
#include "toolwin/ToolCommands.h"

using vorlane::MainWindow;
using vorlane::MessageAnswer;
using vorlane::ToolCommands;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;
using vorlane::testing::TestVolume;
namespace fs = std::filesystem;

class ToolCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { vorlane::SetUserLocale(std::locale::classic()); }

    void purgeFoldersThroughTheMainWindow() {
        TempFolder temp;
        temp.WriteTree({"a/deeper/file=data", "b/deeper/file=data", "kept/deeper/file=data"});
        ScriptedDialogs dialogs;
        MainWindow main(dialogs);
        ToolCommands tools(main, dialogs);
        main.StartUp();
        dialogs.asked.clear();
        dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Ok, MessageAnswer::Ok};
        dialogs.folders = {temp.Path()};
        bool menuWasEnabled = true;
        vorlane::testing::When(
            [&] {
                vorlane::SubfolderSelectionWindow& window = tools.SubfolderWindow();
                return window.isVisible() && !window.Busy() && window.Rows().size() == 3;
            },
            [&] {
                vorlane::SubfolderSelectionWindow& window = tools.SubfolderWindow();
                menuWasEnabled = main.Menu()->isEnabled();
                window.Rows()[0]->click();
                window.Rows()[1]->click();
                window.AcceptButton()->click();
            },
            &main);
        emit main.Button("cmdSpecifyDirectory_1")->fired();
        QTRY_VERIFY_WITH_TIMEOUT(!tools.Busy(), 20000);
        QVERIFY(!menuWasEnabled);
        QVERIFY(!fs::exists(temp.File("a")));
        QVERIFY(!fs::exists(temp.File("b")));
        QVERIFY(fs::exists(temp.File("kept/deeper/file")));
        QVERIFY(main.Menu()->isEnabled());
        QCOMPARE(tools.Subfolders().SelectedSubfolders().size(), size_t(2));
    }

    void driveChooserListsDrivesOnly() {
        TempFolder temp;
        TestVolume volume(temp.Path());
        vorlane::platform::ScopedPlatform scoped(volume);
        vorlane::DriveSelectionWindow window;
        QTimer::singleShot(0, [&] {
            QCOMPARE(window.Drives()->count(), 1);
            QCOMPARE(window.Drives()->currentData().toString(),
                     QString::fromStdString(temp.Path()));
            window.AcceptButton()->click();
        });
        QCOMPARE(window.Choose("/elsewhere", "Test purge speed on which drive?"), temp.Path());
    }
};

VORLANE_GUI_TEST_MAIN(ToolCommandsTest)
#include "ToolCommandsTest.moc"
