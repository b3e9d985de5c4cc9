// Purges from the main window, driven headless: the confirmation, the report window
// with its buttons, the emptied folder's offer, and closing mid-purge.

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
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

  private:
    void Target(const std::string& folder, const std::string& spec, bool subfolders);
    // Clicks "Purge files" and returns once the operation and what follows it are done.
    void Purge() {
        QTest::mouseClick(window->Button("cmdProcessFiles_1"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window->Reports().Busy(), 30000);
    }
    vorlane::ReportWindow& Report() { return window->Reports().Report(); }
    void SecretFiles(int count);
    void LeftFilesKeepTheirSize() const;

    std::unique_ptr<TempFolder> tree;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<MainWindow> window;
};

void ReportWindowsTest::init() {
    tree = std::make_unique<TempFolder>();
    dialogs = std::make_unique<ScriptedDialogs>();
    window = std::make_unique<MainWindow>(*dialogs);
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
    Purge();
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
    Purge();
    QCOMPARE(TempFolder::Read(tree->File("a.txt")), std::string("alpha"));
    QVERIFY(Report().ReportText().find("a.txt (5 bytes) slack purged\n") != std::string::npos);
}

// The confirmation closed by its title bar is a No.
void ReportWindowsTest::closingTheConfirmationPurgesNothing() {
    tree->Write("a.txt", "alpha");
    Target(tree->Path(), "a.txt", false);
    When([] { return ShownWindow("frmPurgeConfirmation") != nullptr; },
         [] { ShownWindow("frmPurgeConfirmation")->close(); });
    Purge();
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
    Purge();
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
    Purge();  // returns once the worker has ended
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
    Purge();
    QCOMPARE(dialogs->LastText(), "The folder " + tree->File("target") +
                                      " was not removed because it is no longer empty.");
    QVERIFY(fs::exists(tree->File("target/new.txt")));
}

VORLANE_GUI_TEST_MAIN(ReportWindowsTest)
#include "ReportWindowsTest.moc"
