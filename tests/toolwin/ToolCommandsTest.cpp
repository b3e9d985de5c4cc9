// The tools in the main window, driven headless: the help viewer and its copy button,
// the web link's failure, the setup panel, the folder purge and the drive chooser.

#include <QClipboard>
#include <QPlainTextEdit>
#include <filesystem>

#include "common/StandIns.h"
#include "mainwin/FrmMain.h"
#include "mainwin/GuiTestEnvironment.h"
#include "selection/ScriptedDialogs.h"
#include "support/UserLocale.h"
#include "toolwin/FrmView.h"
#include "toolwin/ToolCommands.h"

using vorlane::FrmMain;
using vorlane::FrmView;
using vorlane::MessageAnswer;
using vorlane::ToolCommands;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;
using vorlane::testing::TestVolume;
namespace fs = std::filesystem;

namespace {

void Fire(FrmMain& main, const char* name) {
    emit main.Button(name)->fired();
}

}  // namespace

class ToolCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { vorlane::SetUserLocale(std::locale::classic()); }

    void missingFileIsTold() {
        TempFolder temp;
        ScriptedDialogs dialogs;
        FrmView view(dialogs);
        view.SetFilePath(temp.File("missing.txt"));
        view.show();
        QVERIFY(view.Text()->toPlainText().isEmpty());
        QCOMPARE(dialogs.asked.size(), size_t(1));
    }

    void copyTakesTheSelectionOrAll() {
        TempFolder temp;
        ScriptedDialogs dialogs;
        FrmView view(dialogs);
        view.SetFilePath(temp.Write("help.txt", "first line\nsecond line\n"));
        view.show();
        QTextCursor cursor = view.Text()->textCursor();
        cursor.setPosition(6);
        cursor.setPosition(17, QTextCursor::KeepAnchor);
        view.Text()->setTextCursor(cursor);
        QCOMPARE(view.CopyButton()->text(), QString("Copy selected text to clipboard"));
        view.CopyButton()->click();
        QCOMPARE(QApplication::clipboard()->text(), QString("line\nsecond"));
        QCOMPARE(view.CopyButton()->text(), QString("Copy to clipboard"));
        cursor.clearSelection();
        view.Text()->setTextCursor(cursor);
        view.CopyButton()->click();
        QCOMPARE(QApplication::clipboard()->text(), QString("first line\nsecond line\n"));
    }

    void helpShowsTheHelpFile() {
        ScriptedDialogs dialogs;
        FrmMain main(dialogs);
        ToolCommands tools(main, dialogs);
        main.StartUp();
        Fire(main, "cmdHelp");
        FrmView& view = tools.ViewWindow();
        QVERIFY(view.isVisible());
        QCOMPARE(view.windowTitle(), QString("Help for Vorlane"));
        QVERIFY(view.Text()->toPlainText().contains("vorlane-cli"));
        QVERIFY(dialogs.asked.empty());
    }

    void webLinkFailureIsExplained() {
        ScriptedDialogs dialogs;
        vorlane::OpenWebLink("/usr/share/doc/manual.PDF", dialogs,
                             [](const QUrl&) { return false; });
        QCOMPARE(dialogs.asked.size(), size_t(1));
        QVERIFY(dialogs.LastText().find("'pdf'") != std::string::npos);
        QUrl asked;
        vorlane::OpenWebLink("https://example.org/", dialogs, [&](const QUrl& url) {
            asked = url;
            return true;
        });
        QCOMPARE(asked, QUrl("https://example.org/"));
        QCOMPARE(dialogs.asked.size(), size_t(1));
    }

    void setupPanelOpensAndCloses() {
        ScriptedDialogs dialogs;
        FrmMain main(dialogs);
        ToolCommands tools(main, dialogs);
        main.StartUp();
        Fire(main, "cmdSetup");
        QVERIFY(main.SetupPanel()->isVisible());
        QVERIFY(!main.Menu()->isEnabled());
        Fire(main, "cmdSaveSetup");
        QVERIFY(main.SaveSetupPanel()->isVisible());
        QVERIFY(!main.Button("cmdLoadSetup")->isVisible());
        Fire(main, "cmdDontSaveSetup");
        QVERIFY(!main.SetupPanel()->isVisible());
        QVERIFY(main.Menu()->isEnabled());
    }

    void purgeFoldersThroughTheMainWindow() {
        TempFolder temp;
        temp.WriteTree({"a/deeper/file=data", "b/deeper/file=data", "kept/deeper/file=data"});
        ScriptedDialogs dialogs;
        FrmMain main(dialogs);
        ToolCommands tools(main, dialogs);
        main.StartUp();
        dialogs.asked.clear();
        dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Ok, MessageAnswer::Ok};
        dialogs.folders = {temp.Path()};
        bool menuWasEnabled = true;
        vorlane::testing::When(
            [&] {
                vorlane::FrmSelectSubfolders& window = tools.SubfolderWindow();
                return window.isVisible() && !window.Busy() && window.Rows().size() == 3;
            },
            [&] {
                vorlane::FrmSelectSubfolders& window = tools.SubfolderWindow();
                menuWasEnabled = main.Menu()->isEnabled();
                window.Rows()[0]->click();
                window.Rows()[1]->click();
                window.AcceptButton()->click();
            },
            &main);
        Fire(main, "cmdSpecifyDirectory_1");
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
        vorlane::FrmSpecifyDrive2 window;
        QTimer::singleShot(0, [&] {
            QCOMPARE(window.Drives()->count(), 1);
            QCOMPARE(window.Drives()->currentData().toString(),
                     QString::fromStdString(temp.Path()));
            window.AcceptButton()->click();
        });
        QCOMPARE(window.Choose("/elsewhere", "Test purge speed on which drive?"), temp.Path());
        QTimer::singleShot(0, [&] { window.CancelButton()->click(); });
        QCOMPARE(window.Choose(temp.Path(), "Test purge speed on which drive?"), std::string());
    }
};

VORLANE_GUI_TEST_MAIN(ToolCommandsTest)
#include "ToolCommandsTest.moc"
