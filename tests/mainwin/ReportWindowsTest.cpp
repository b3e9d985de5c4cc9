// Purge, list and the Trash from the main window, driven headless: the confirmation,
// the per-file confirmation and the report window with its buttons, on a worker.

#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "mainwin/FrmMain.h"
#include "mainwin/FrmReport.h"
#include "mainwin/GuiTestEnvironment.h"
#include "operation/FolderDeletionOffer.h"
#include "selection/ScriptedDialogs.h"
#include "selection/TargetDisplay.h"

using vorlane::FrmMain;
using vorlane::MessageAnswer;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;
using vorlane::testing::When;
namespace fs = std::filesystem;

namespace {

QWidget* ShownWindow(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// Clicks a button of a window as soon as the window shows.
void ClickWhenShown(const char* window, const char* button,
                    std::function<void(QWidget*)> look = {}) {
    When([window] { return ShownWindow(window) != nullptr; },
         [window, button, look] {
             QWidget* shown = ShownWindow(window);
             if (look) {
                 look(shown);
             }
             shown->findChild<QPushButton*>(button)->click();
         });
}

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
    void noOrClosingPurgesNothing();
    void doNotDeleteAppliesToOnePurgeOnly();
    void pauseContinueAndStop();
    void closingMidPurgeStops_data();
    void closingMidPurgeStops();
    void perFileConfirmation();
    void listThroughTheWindows();
    void folderDeletionKeepsAFileCreatedMeanwhile();
    void nothingToPurgeOrReport();
    void vanishedTargetIsCleared();
    void trashThroughSpecifyFolder();

  private:
    void Target(const std::string& folder, const std::string& spec, bool subfolders);
    void Purge() { QTest::mouseClick(window->Button("cmdProcessFiles_1"), Qt::LeftButton); }
    vorlane::FrmReport& Report() { return window->Reports().ReportWindow(); }
    void SecretFiles(int count);
    void LeftFilesKeepTheirSize() const;

    std::unique_ptr<TempFolder> tree;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<FrmMain> window;
};

void ReportWindowsTest::init() {
    tree = std::make_unique<TempFolder>();
    dialogs = std::make_unique<ScriptedDialogs>();
    window = std::make_unique<FrmMain>(*dialogs);
    window->StartUp();
}

void ReportWindowsTest::cleanup() {
    window.reset();
    dialogs.reset();
    tree.reset();
}

void ReportWindowsTest::Target(const std::string& folder, const std::string& spec,
                               bool subfolders) {
    vorlane::MainState& state = window->State();
    state.targetFolder = folder;
    state.targetFilespec = spec;
    state.subdirectories = subfolders;
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
    bool deleteEmptyShown = false;
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge", [&](QWidget* confirmation) {
        deleteEmptyShown =
            confirmation->findChild<QCheckBox*>("chkDeleteEmptyFolders")->isVisible();
        QCOMPARE(confirmation->focusWidget()->objectName(), QString("cmdCancel"));
    });
    Purge();
    QVERIFY(deleteEmptyShown);
    QCOMPARE(FileCount(tree->Path()), 0);
    const std::string report = Report().ReportText();
    QVERIFY(report.find("Number of files purged: 2\r\n") != std::string::npos);
    QVERIFY(report.find("Number of folders removed: 1\r\n") != std::string::npos);
    QCOMPARE(QGuiApplication::clipboard()->text(), vorlane::ReportForDisplay(report));
    QCOMPARE(Report().TextBox()->toPlainText(), vorlane::ReportForDisplay(report));
    QCOMPARE(window->State().targetFilespec, std::string());
    QCOMPARE(Caption(&Report(), "cmdPauseContinue"), QString());
    // The emptied folder is offered; the script answers No.
    QCOMPARE(dialogs->LastText(), "Delete folder " + tree->Path() + "?");
}

void ReportWindowsTest::noOrClosingPurgesNothing() {
    tree->Write("a.txt", "alpha");
    Target(tree->Path(), "a.txt", false);
    for (const char* answer : {"cmdCancel", ""}) {
        When([] { return ShownWindow("frmPurgeConfirmation") != nullptr; },
             [answer] {
                 QWidget* confirmation = ShownWindow("frmPurgeConfirmation");
                 if (*answer) {
                     confirmation->findChild<QPushButton*>(answer)->click();
                 } else {
                     confirmation->close();  // the title bar
                 }
             });
        Purge();
        QCOMPARE(dialogs->LastText(), std::string("No files purged."));
        QCOMPARE(dialogs->asked.back().title, std::string("Purge cancelled"));
        QCOMPARE(TempFolder::Read(tree->File("a.txt")), std::string("alpha"));
    }
}

void ReportWindowsTest::doNotDeleteAppliesToOnePurgeOnly() {
    tree->Write("a.txt", "alpha");
    Target(tree->Path(), "a.txt", false);
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge", [](QWidget* confirmation) {
        confirmation->findChild<QCheckBox*>("chkDoNotDeletePurgedFiles")->setChecked(true);
    });
    Purge();
    QVERIFY(fs::exists(tree->File("a.txt")));
    QCOMPARE(window->State().targetFilespec, std::string("a.txt"));  // still there
    bool tickedAgain = true;
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge", [&](QWidget* confirmation) {
        tickedAgain = confirmation->findChild<QCheckBox*>("chkDoNotDeletePurgedFiles")->isChecked();
    });
    Purge();
    QVERIFY(!tickedAgain);
    QVERIFY(!fs::exists(tree->File("a.txt")));
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
    Purge();
    QCOMPARE(captions, QStringList({"Pause at next purge", "Continue", "Stop", "Paused",
                                    "Pause at next purge", "", "Stopped", "Close"}));
    const std::string report = Report().ReportText();
    QVERIFY(report.find("Purge operation was stopped.") != std::string::npos);
    const int left = FileCount(tree->Path());
    QVERIFY(left > 0);
    QVERIFY(report.find("Number of files purged: " + std::to_string(kFiles - left) + "\r\n") !=
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
    Purge();  // returns once the worker has ended
    QVERIFY(mainWindow ||
            Report().ReportText().find("Purge operation was stopped.") != std::string::npos);
    QVERIFY(FileCount(tree->Path()) > 0);
    LeftFilesKeepTheirSize();
    QCOMPARE(window->Quitting(), mainWindow);
    QVERIFY(mainWindow || window->Menu()->isEnabled());
}

void ReportWindowsTest::perFileConfirmation() {
    for (const char* name : {"a", "b", "c", "d"}) {
        tree->Write(name, name);
    }
    Target(tree->Path(), "*.*", false);
    window->State().options.confirmFiles = true;
    struct Step {
        const char* button;  // empty: the title bar
        bool mainEnabled = true;
        bool pauseShown = true;
    };
    std::vector<Step> steps{{"cmdNo"}, {""}, {"cmdYesAndDontShowAgain"}};
    std::function<void()> answerNext = [&] {
        if (steps.empty()) {
            return;
        }
        When([] { return ShownWindow("frmConfirmFiles") != nullptr; },
             [&] {
                 Step step = steps.front();
                 steps.erase(steps.begin());
                 QWidget* confirm = ShownWindow("frmConfirmFiles");
                 QVERIFY(!window->Label("lblDirectory_0")->isEnabled());
                 QVERIFY(!Report().Button("cmdPauseContinue")->isVisible());
                 if (*step.button) {
                     confirm->findChild<QPushButton*>(step.button)->click();
                 } else {
                     confirm->close();
                 }
                 answerNext();
             });
    };
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge", [](QWidget* confirmation) {
        QVERIFY(confirmation->findChild<QCheckBox*>("chkConfirmFiles")->isChecked());
    });
    answerNext();
    Purge();
    QVERIFY(fs::exists(tree->File("a")));
    QVERIFY(fs::exists(tree->File("b")));
    QVERIFY(!fs::exists(tree->File("c")));
    QVERIFY(!fs::exists(tree->File("d")));
    QVERIFY(window->Label("lblDirectory_0")->isEnabled());

    // Stop this purge.
    tree->Write("c", "c");
    Target(tree->Path(), "*.*", false);
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge");
    ClickWhenShown("frmConfirmFiles", "cmdStopPurge");
    Purge();
    QCOMPARE(FileCount(tree->Path()), 3);
    QVERIFY(Report().ReportText().find("Purge operation was stopped.") != std::string::npos);
}

void ReportWindowsTest::listThroughTheWindows() {
    tree->WriteTree({"a.txt=alpha", "sub/b.txt=beta"});
    Target(tree->Path(), "*.*", true);
    dialogs->answers = {MessageAnswer::Yes, MessageAnswer::No};
    QTest::mouseClick(window->Button("cmdProcessFiles_2"), Qt::LeftButton);
    QCOMPARE(dialogs->asked.size(), std::size_t(2));
    QVERIFY(Report().ReportText().find("sub") != std::string::npos);
    QCOMPARE(window->focusWidget(), window->Button("cmdProcessFiles_2"));

    // Cancel at the first question lists nothing.
    dialogs->asked.clear();
    dialogs->answers = {MessageAnswer::Cancel};
    QTest::mouseClick(window->Button("cmdProcessFiles_2"), Qt::LeftButton);
    QCOMPARE(dialogs->asked.size(), std::size_t(1));
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
    Purge();
    QCOMPARE(dialogs->LastText(), "The folder " + tree->File("target") +
                                      " was not removed because it is no longer empty.");
    QVERIFY(fs::exists(tree->File("target/new.txt")));

    // Without a newcomer, Yes deletes it.
    dialogs->onAsk = {};
    fs::remove(tree->File("target/new.txt"));
    tree->Write("target/b.txt", "beta");
    Target(tree->File("target"), "*.*", false);
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge");
    dialogs->answers = {MessageAnswer::Yes};
    Purge();
    QVERIFY(!fs::exists(tree->File("target")));
    QCOMPARE(window->State().labels.topLevelFolder, tree->File("target") + " has been deleted.");

    // Never offered for a mount point or the Trash.
    QVERIFY(!vorlane::MayOfferFolderDeletion("/"));
    const std::string trash = std::string(std::getenv("XDG_DATA_HOME")) + "/Trash/files";
    fs::create_directories(trash);
    QVERIFY(!vorlane::MayOfferFolderDeletion(trash));
}

void ReportWindowsTest::nothingToPurgeOrReport() {
    Purge();
    QCOMPARE(dialogs->asked.size(), std::size_t(1));
    QTest::mouseClick(window->Button("cmdReportScreen"), Qt::LeftButton);
    QCOMPARE(dialogs->asked.size(), std::size_t(2));
    QVERIFY(!ShownWindow("frmReport"));
}

// A target gone since it was chosen is cleared: the file name, or the folder with it.
void ReportWindowsTest::vanishedTargetIsCleared() {
    tree->Write("a.txt", "alpha");
    Target(tree->Path(), "a.txt", false);
    fs::remove(tree->File("a.txt"));
    Purge();
    QCOMPARE(window->State().targetFilespec, std::string());
    QCOMPARE(window->State().targetFolder, tree->Path());

    Target(tree->Path() + "/gone", "*.*", false);
    Purge();
    QCOMPARE(window->State().targetFolder, std::string());
    QCOMPARE(dialogs->asked.size(), std::size_t(2));
}

// The Trash chosen as the folder: No touches nothing, Yes purges it and leaves the
// window's own options as they were.
void ReportWindowsTest::trashThroughSpecifyFolder() {
    const std::string trash = std::string(std::getenv("XDG_DATA_HOME")) + "/Trash";
    fs::create_directories(trash + "/files");
    fs::create_directories(trash + "/info");
    std::ofstream(trash + "/files/a.txt") << "alpha";
    std::ofstream(trash + "/info/a.txt.trashinfo") << "[Trash Info]\n";
    window->State().options.okToPurgeReadOnlyFiles = false;
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        dialogs->folders = {trash + "/files"};
        dialogs->answers = {answer};
        QTest::mouseClick(window->Button("cmdSpecifyDirectory_0"), Qt::LeftButton);
        QCOMPARE(fs::exists(trash + "/files/a.txt"), answer == MessageAnswer::No);
    }
    QVERIFY(!fs::exists(trash + "/info/a.txt.trashinfo"));
    QVERIFY(fs::is_directory(trash + "/files"));
    QVERIFY(!window->State().options.okToPurgeReadOnlyFiles);
    QVERIFY(window->Menu()->isEnabled());
}

VORLANE_GUI_TEST_MAIN(ReportWindowsTest)
#include "ReportWindowsTest.moc"
