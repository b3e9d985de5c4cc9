// Purges and listings from the main window, driven headless: the confirmation, the report
// window with its buttons and progress, the emptied folder's offer, closing mid-purge, the
// report in front after a question, and the report kept and saved as shown.

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "mainwin/ReportWindow.h"
#include "selection/ScriptedDialogs.h"
#include "selection/TargetDisplay.h"

using vorlane::MainWindow;
using vorlane::MessageAnswer;
using vorlane::testing::ClickWhenShown;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::ShownWindow;
using vorlane::testing::TempFolder;
using vorlane::testing::When;
namespace fs = std::filesystem;

namespace {

QString Caption(QWidget* window, const char* name) {
    if (auto* button = window->findChild<QPushButton*>(name)) {
        return button->isVisible() ? button->text() : QString();
    }
    return window->findChild<QLabel*>(name)->text();
}

int FileCount(const std::string& folder) {
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        count += entry.is_regular_file() ? 1 : 0;
    }
    return count;
}

}  // namespace

class ReportWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void purgeOfATreeThroughTheWindows();
    void closingTheConfirmationPurgesNothing();
    void slackOnlyKeepsTheFile();
    void pauseContinueAndStop();
    void closingMidPurgeStops_data();
    void closingMidPurgeStops();
    void folderDeletionKeepsAFileCreatedMeanwhile();
    void reportStaysInFrontAfterTheFileQuestion();
    void listingThatFindsNothingEndsTheWindow();
    void reportCommandShowsTheWholeReportCaption();
    void progressOfAFinishedPurge();
    void listingIsKeptAndSavedAsShown();

  private:
    void Target(const std::string& folder, const std::string& spec = "*.*",
                bool subfolders = false);
    // Clicks a command ("Purge files" unless told) and returns once the operation and what
    // follows it are done.
    void Run(const char* command = "cmdProcessFiles_1") {
        QTest::mouseClick(window->Button(command), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window->Reports().Busy(), 30000);
    }
    bool Shown(const char* button) { return Report().Button(button)->isVisible(); }
    vorlane::ReportWindow& Report() { return window->Reports().Report(); }
    void SecretFiles(int count);
    void LeftFilesKeepTheirSize() const;

    std::unique_ptr<TempFolder> tree;
    std::unique_ptr<TempFolder> kept;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<MainWindow> window;
};

void ReportWindowsTest::init() {
    tree = std::make_unique<TempFolder>();
    // Each test's kept reports apart from the others' and from its tree.
    kept = std::make_unique<TempFolder>();
    ::setenv("XDG_STATE_HOME", kept->Path().c_str(), 1);
    dialogs = std::make_unique<ScriptedDialogs>();
    window = std::make_unique<MainWindow>(*dialogs);
    window->StartUp();
}

void ReportWindowsTest::cleanup() {
    window.reset();
    dialogs.reset();
    tree.reset();
    kept.reset();
}

void ReportWindowsTest::Target(const std::string& folder, const std::string& spec,
                               bool subfolders) {
    vorlane::MainState& state = window->State();
    state.choices.targetFolder = folder;
    state.choices.targetFilespec = spec;
    state.choices.subdirectories = subfolders;
    state.purgeType.SetPassesOf(0, 1);
    vorlane::ShowTarget(state);
}

// A flat target of `count` files, each holding "secret".
void ReportWindowsTest::SecretFiles(int count) {
    for (int i = 0; i < count; ++i) {
        tree->Write("f" + std::to_string(1000 + i), "secret");
    }
    Target(tree->Path(), "*.*", false);
}

// Files left by a stop are not purged and keep their size; those of a stopped batch of
// small files have had overwrites already, the others are untouched.
void ReportWindowsTest::LeftFilesKeepTheirSize() const {
    for (const auto& entry : fs::directory_iterator(tree->Path())) {
        QCOMPARE(TempFolder::Read(entry.path().string()).size(), std::string("secret").size());
    }
}

void ReportWindowsTest::purgeOfATreeThroughTheWindows() {
    tree->WriteTree({"a.txt=alpha", "sub/b.txt=beta"});
    Target(tree->Path(), "*.*", true);
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge", [&](QWidget* confirmation) {
        QCOMPARE(confirmation->focusWidget()->objectName(), QString("cmdCancel"));
    });
    Run();
    QCOMPARE(FileCount(tree->Path()), 0);
    const std::string report = Report().ReportText();
    QVERIFY(report.find("Number of folders removed: 1\n") != std::string::npos);
    QCOMPARE(QGuiApplication::clipboard()->text(), vorlane::ReportForDisplay(report));
    // The emptied folder is offered; the script answers No.
    QCOMPARE(dialogs->LastText(), "Delete folder " + tree->Path() + "?");
}

// The slack box reaches the purge: the file stays, with its data, and its line says so.
void ReportWindowsTest::slackOnlyKeepsTheFile() {
    tree->Write("a.txt", "alpha");
    Target(tree->Path(), "a.txt", false);
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge", [](QWidget* confirmation) {
        confirmation->findChild<QCheckBox*>("chkPurgeSlackOnly")->setChecked(true);
        confirmation->findChild<QCheckBox*>("chkFolderNamesOnly")->setChecked(false);
    });
    Run();
    QCOMPARE(TempFolder::Read(tree->File("a.txt")), std::string("alpha"));
    QVERIFY(Report().ReportText().find("a.txt (5 bytes) slack purged\n") != std::string::npos);
}

// The confirmation closed by its title bar is a No.
void ReportWindowsTest::closingTheConfirmationPurgesNothing() {
    tree->Write("a.txt", "alpha");
    Target(tree->Path(), "a.txt", false);
    When([] { return ShownWindow("frmPurgeConfirmation") != nullptr; },
         [] { ShownWindow("frmPurgeConfirmation")->close(); });
    Run();
    QCOMPARE(dialogs->LastText(), std::string("No files purged."));
    QCOMPARE(TempFolder::Read(tree->File("a.txt")), std::string("alpha"));
}

void ReportWindowsTest::pauseContinueAndStop() {
    constexpr int kFiles = 300;
    SecretFiles(kFiles);
    QStringList captions;
    auto purged = [this] { return kFiles - FileCount(tree->Path()); };
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge");
    When([&] { return ShownWindow("frmReport") && purged() > 2; },
         [&] {
             captions << Caption(&Report(), "cmdPauseContinue");
             Report().Button("cmdPauseContinue")->click();
             captions << Caption(&Report(), "cmdPauseContinue") << Caption(&Report(), "cmdStop")
                      << Caption(&Report(), "lblPausedDone");
             Report().Button("cmdPauseContinue")->click();  // Continue
             captions << Caption(&Report(), "cmdPauseContinue") << Caption(&Report(), "cmdStop");
             Report().Button("cmdPauseContinue")->click();  // Pause again, then Stop
             QTimer::singleShot(50, [&] {
                 Report().Button("cmdStop")->click();
                 captions << Caption(&Report(), "lblPausedDone") << Caption(&Report(), "cmdClose");
             });
         });
    Run();
    QCOMPARE(captions, QStringList({"Pause at next purge", "Continue", "Stop", "Paused",
                                    "Pause at next purge", "", "Stopped", "Close"}));
    const std::string report = Report().ReportText();
    QVERIFY(report.find("Purge operation was stopped.") != std::string::npos);
    const int left = FileCount(tree->Path());
    QVERIFY(left > 0);
    QVERIFY(report.find("Number of files purged: " + std::to_string(kFiles - left) + "\n") !=
            std::string::npos);
    LeftFilesKeepTheirSize();
}

void ReportWindowsTest::closingMidPurgeStops_data() {
    QTest::addColumn<bool>("mainWindow");
    QTest::newRow("report window") << false;
    QTest::newRow("main window") << true;
}

// Either window closed mid-purge stops at the next file: no hang, no file half-purged.
void ReportWindowsTest::closingMidPurgeStops() {
    QFETCH(bool, mainWindow);
    constexpr int kFiles = 200;
    SecretFiles(kFiles);
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge");
    When([&] { return ShownWindow("frmReport") && FileCount(tree->Path()) < kFiles - 2; },
         [&] { mainWindow ? (void)window->close() : (void)Report().close(); });
    Run();  // returns once the worker has ended
    QVERIFY(mainWindow ||
            Report().ReportText().find("Purge operation was stopped.") != std::string::npos);
    QVERIFY(FileCount(tree->Path()) > 0);
    LeftFilesKeepTheirSize();
    QCOMPARE(window->Quitting(), mainWindow);
    QVERIFY(mainWindow || window->Menu()->isEnabled());
}

void ReportWindowsTest::folderDeletionKeepsAFileCreatedMeanwhile() {
    tree->WriteTree({"target/a.txt=alpha"});
    Target(tree->File("target"), "*.*", false);
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge");
    dialogs->answers = {MessageAnswer::Yes};
    dialogs->onAsk = [this](const vorlane::Question& question) {
        if (question.title == "Delete folder?" &&
            question.buttons == vorlane::MessageButtons::YesNo) {
            tree->Write("target/new.txt", "created while the question was open");
        }
    };
    Run();
    QCOMPARE(dialogs->LastText(), "The folder " + tree->File("target") +
                                      " was not removed because it is no longer empty.");
    QVERIFY(fs::exists(tree->File("target/new.txt")));
}

// The per-file question belongs to the report it asks about; once answered, the report
// is the window in front, not the main window behind it.
void ReportWindowsTest::reportStaysInFrontAfterTheFileQuestion() {
    tree->WriteTree({"a.txt=alpha"});
    Target(tree->Path());
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge", [](QWidget* confirmation) {
        confirmation->findChild<QCheckBox*>("chkConfirmFiles")->setChecked(true);
    });
    QWidget* questionParent = nullptr;
    ClickWhenShown("frmConfirmFiles", "cmdYes",
                   [&](QWidget* question) { questionParent = question->parentWidget(); });
    Run();
    QCOMPARE(questionParent, static_cast<QWidget*>(&Report()));
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&Report()));
}

// After a report, a listing of an empty folder: the window shows the old report with the
// buttons of an ended operation, not a Pause that nothing answers.
void ReportWindowsTest::listingThatFindsNothingEndsTheWindow() {
    tree->WriteTree({"full/a.txt=alpha", "empty/.keep"});
    std::filesystem::remove(tree->File("empty/.keep"));
    Target(tree->File("full"));
    Run("cmdProcessFiles_2");
    QVERIFY(Report().isVisible());
    const std::string before = Report().ReportText();
    Target(tree->File("empty"));
    Run("cmdProcessFiles_2");
    QCOMPARE(dialogs->LastText(), "There are no files in " + tree->File("empty") + ".");
    QVERIFY(!Shown("cmdPauseContinue"));
    QVERIFY(Shown("cmdClose"));
    QVERIFY(Shown("cmdCopyToClipboard"));
    QCOMPARE(Report().ReportText(), before);
}

// A selection, then "Report": the report shows from its start with nothing selected, and
// the copy button says it copies the whole report.
void ReportWindowsTest::reportCommandShowsTheWholeReportCaption() {
    tree->WriteTree({"a.txt=alpha"});
    Target(tree->Path());
    Run("cmdProcessFiles_2");
    QPlainTextEdit* text = Report().TextBox();
    QTextCursor select = text->textCursor();
    select.movePosition(QTextCursor::Start);
    select.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
    text->setTextCursor(select);
    QTest::mouseRelease(text->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    const QString selectedCaption = Report().Button("cmdCopyToClipboard")->text();
    Run("cmdReportScreen");
    QVERIFY(selectedCaption != "Copy to clipboard");
    QVERIFY(!text->textCursor().hasSelection());
    QCOMPARE(Report().Button("cmdCopyToClipboard")->text(), QString("Copy to clipboard"));
}

// Beyond the report's text: the bar full, the line with the totals, the title without
// a share once the purge has ended.
void ReportWindowsTest::progressOfAFinishedPurge() {
    tree->WriteTree({"a.txt=alpha", "b.txt=beta!"});
    Target(tree->Path());
    window->State().purgeType.SetPassesOf(0, 2);  // full after the last pass, not the first
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge");
    Run();
    QTRY_VERIFY(Report().ProgressBar()->isVisible());
    QCOMPARE(Report().ProgressBar()->value(), 100);
    QVERIFY2(Report().ProgressLabel()->text().startsWith("2 of 2 files, 10 bytes of 10 bytes"),
             qPrintable(Report().ProgressLabel()->text()));
    QCOMPARE(Report().windowTitle(), QString("Purge files"));
}

// A listing's report is kept as the window shows it, and "Save as..." reaches the dialogs
// the main window was given.
void ReportWindowsTest::listingIsKeptAndSavedAsShown() {
    tree->WriteTree({"target/a.txt=alpha", "target/b.txt=beta"});
    Target(tree->File("target"));
    Run("cmdProcessFiles_2");
    QVERIFY(!Report().ReportText().empty());
    std::vector<fs::path> reports;
    for (const auto& entry : fs::directory_iterator(kept->File("vorlane/reports"))) {
        reports.push_back(entry.path());
    }
    QCOMPARE(reports.size(), std::size_t{1});
    QVERIFY(reports.front().filename().string().ends_with("-list.txt"));
    QCOMPARE(TempFolder::Read(reports.front().string()), Report().ReportText());

    dialogs->files.push_back(tree->File("saved.txt"));
    QTest::mouseClick(Report().Button("cmdSaveAs"), Qt::LeftButton);
    QCOMPARE(TempFolder::Read(tree->File("saved.txt")), Report().ReportText());
}

VORLANE_GUI_TEST_MAIN(ReportWindowsTest)
#include "ReportWindowsTest.moc"
