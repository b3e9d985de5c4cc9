// The tools in the main window, driven headless: the folder purge, the drive chooser,
// the setups saved from the windows, and the online documentation's link with a
// stand-in for the desktop's opener.

#include <filesystem>

#include "common/StandIns.h"
#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "selection/ScriptedDialogs.h"
#include "support/ProgramText.h"
#include "support/UserLocale.h"
#include "toolwin/ToolCommands.h"
#include "toolwin/WebLink.h"

using vorlane::MainWindow;
using vorlane::MessageAnswer;
using vorlane::MessageButtons;
using vorlane::MessageIcon;
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

    // Nothing on the desktop could open the address: the person is told so, and gets the
    // address to open by hand, not a code about file extensions.
    void failedOpenGivesTheAddress() {
        ScriptedDialogs dialogs;
        vorlane::MainWindow main(dialogs);
        vorlane::ToolCommands tools(main, dialogs);
        QList<QUrl> requested;
        tools.opener = [&](const QUrl& url) {
            requested.append(url);
            return false;
        };
        tools.OpenOnlineDocumentation();

        const std::string address = vorlane::GetText(27);
        QVERIFY(!address.empty());
        QCOMPARE(requested, QList<QUrl>{QUrl(QString::fromStdString(address))});
        QCOMPARE(dialogs.asked.size(), size_t(1));
        const vorlane::Question& told = dialogs.asked.front();
        QCOMPARE(told.title, std::string("Cannot launch web browser"));
        QCOMPARE(told.buttons, MessageButtons::Ok);
        QCOMPARE(told.icon, MessageIcon::Exclamation);
        QCOMPARE(told.text,
                 "No web browser could be started.\n\nTo read the page, open this "
                 "address in a web browser:\n" +
                     address);
    }

    void openedLinkAsksNothing() {
        ScriptedDialogs dialogs;
        vorlane::OpenWebLink("https://example.org/page", dialogs,
                             [](const QUrl& url) { return url.host() == "example.org"; });
        QVERIFY(dialogs.asked.empty());
    }
};

VORLANE_GUI_TEST_MAIN(ToolCommandsTest)
#include "ToolCommandsTest.moc"
