// The tools in the main window, driven headless: the folder purge with its notices shown
// whole and its progress window, whose Stop and F10 both ask the walk to stop; the drive
// chooser; the setups saved from the windows; and the online documentation's link with a
// stand-in for the desktop's opener.

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <filesystem>

#include "common/StandIns.h"
#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "selection/ScriptedDialogs.h"
#include "support/ProgramText.h"
#include "support/UserLocale.h"
#include "toolwin/FolderPurgeProgressWindow.h"
#include "toolwin/ToolCommands.h"
#include "toolwin/WebLink.h"

using vorlane::FolderPurgeProgressWindow;
using vorlane::MainWindow;
using vorlane::MessageAnswer;
using vorlane::MessageButtons;
using vorlane::MessageIcon;
using vorlane::OperationControl;
using vorlane::ToolCommands;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;
using vorlane::testing::TestVolume;
namespace fs = std::filesystem;

namespace {

// The height the label's text needs at the label's width, word wrapped.
int NeededHeight(const QLabel& label) {
    const QRect room = label.contentsRect();
    return QFontMetrics(label.font())
        .boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, label.text())
        .height();
}

}  // namespace

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

    void noticesOfSeveralLinesShowWhole() {
        ScriptedDialogs dialogs;
        MainWindow main(dialogs);
        ToolCommands tools(main, dialogs);
        main.StartUp();
        main.show();
        vorlane::MainLabels& labels = main.State().labels;
        labels.largePurgeMessage =
            "To interrupt this operation upon completion of the current file purge,\npress the F10 "
            "key twice and wait for the 'Cancel?' query.";
        labels.purgeFoldersMessage =
            "12 files purged (40% of 30). Now purging:\n/home/u/Letters/a.txt";
        main.Refresh();
        for (const char* name : {"lblLargePurgeMessage", "lblPurgeFoldersMessage"}) {
            QLabel* label = main.Label(name);
            QTRY_VERIFY2(NeededHeight(*label) <= label->contentsRect().height(), name);
        }
    }

    void progressWindowShowsTheShareAndStopInterrupts() {
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
    void f10InTheProgressWindowInterrupts() {
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
};

VORLANE_GUI_TEST_MAIN(ToolCommandsTest)
#include "ToolCommandsTest.moc"
