// The report window around an operation: in front after the questions of a purge, the
// buttons of an ended operation after a listing that found nothing, the copy caption
// after "Report", and the progress a purge leaves shown.

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "mainwin/ReportWindow.h"
#include "selection/ScriptedDialogs.h"
#include "selection/TargetDisplay.h"

using vorlane::MainWindow;
using vorlane::testing::ClickWhenShown;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::ShownWindow;
using vorlane::testing::TempFolder;
using vorlane::testing::When;

namespace {

bool Shown(vorlane::ReportWindow& report, const char* button) {
    return report.Button(button)->isVisible();
}

}  // namespace

class ReportWindowStateTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void reportStaysInFrontAfterTheFileQuestion();
    void listingThatFindsNothingEndsTheWindow();
    void reportCommandShowsTheWholeReportCaption();
    void progressOfAFinishedPurge();

  private:
    void Target(const std::string& folder, bool subfolders);
    void Run(const char* command);
    vorlane::ReportWindow& Report() { return window->Reports().Report(); }

    std::unique_ptr<TempFolder> tree;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<MainWindow> window;
};

void ReportWindowStateTest::init() {
    tree = std::make_unique<TempFolder>();
    dialogs = std::make_unique<ScriptedDialogs>();
    window = std::make_unique<MainWindow>(*dialogs);
    window->StartUp();
}

void ReportWindowStateTest::cleanup() {
    window.reset();
    dialogs.reset();
    tree.reset();
}

void ReportWindowStateTest::Target(const std::string& folder, bool subfolders) {
    vorlane::MainState& state = window->State();
    state.choices.targetFolder = folder;
    state.choices.targetFilespec = "*.*";
    state.choices.subdirectories = subfolders;
    state.purgeType.SetPassesOf(0, 2);
    vorlane::ShowTarget(state);
}

// Clicks a command and returns once the operation and what follows it are done.
void ReportWindowStateTest::Run(const char* command) {
    QTest::mouseClick(window->Button(command), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window->Reports().Busy(), 30000);
}

// The per-file question belongs to the report it asks about; once answered, the report
// is the window in front, not the main window behind it.
void ReportWindowStateTest::reportStaysInFrontAfterTheFileQuestion() {
    tree->WriteTree({"a.txt=alpha"});
    Target(tree->Path(), false);
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge", [](QWidget* confirmation) {
        confirmation->findChild<QCheckBox*>("chkConfirmFiles")->setChecked(true);
    });
    QWidget* questionParent = nullptr;
    ClickWhenShown("frmConfirmFiles", "cmdYes",
                   [&](QWidget* question) { questionParent = question->parentWidget(); });
    Run("cmdProcessFiles_1");
    QCOMPARE(questionParent, static_cast<QWidget*>(&Report()));
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&Report()));
}

// After a report, a listing of an empty folder: the window shows the old report with the
// buttons of an ended operation, not a Pause that nothing answers.
void ReportWindowStateTest::listingThatFindsNothingEndsTheWindow() {
    tree->WriteTree({"full/a.txt=alpha", "empty/.keep"});
    std::filesystem::remove(tree->File("empty/.keep"));
    Target(tree->File("full"), false);
    Run("cmdProcessFiles_2");
    QVERIFY(Report().isVisible());
    const std::string before = Report().ReportText();
    Target(tree->File("empty"), false);
    Run("cmdProcessFiles_2");
    QCOMPARE(dialogs->LastText(), "There are no files in " + tree->File("empty") + ".");
    QVERIFY(!Shown(Report(), "cmdPauseContinue"));
    QVERIFY(Shown(Report(), "cmdClose"));
    QVERIFY(Shown(Report(), "cmdCopyToClipboard"));
    QCOMPARE(Report().ReportText(), before);
}

// A selection, then "Report": the report shows from its start with nothing selected, and
// the copy button says it copies the whole report.
void ReportWindowStateTest::reportCommandShowsTheWholeReportCaption() {
    tree->WriteTree({"a.txt=alpha"});
    Target(tree->Path(), false);
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
void ReportWindowStateTest::progressOfAFinishedPurge() {
    tree->WriteTree({"a.txt=alpha", "b.txt=beta!"});
    Target(tree->Path(), false);
    ClickWhenShown("frmPurgeConfirmation", "cmdDoPurge");
    Run("cmdProcessFiles_1");
    QTRY_VERIFY(Report().ProgressBar()->isVisible());
    QCOMPARE(Report().ProgressBar()->value(), 100);
    QVERIFY2(Report().ProgressLabel()->text().startsWith("2 of 2 files, 10 bytes of 10 bytes"),
             qPrintable(Report().ProgressLabel()->text()));
    QCOMPARE(Report().windowTitle(), QString("Purge files"));
}

VORLANE_GUI_TEST_MAIN(ReportWindowStateTest)
#include "ReportWindowStateTest.moc"
