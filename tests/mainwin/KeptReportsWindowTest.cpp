// The main window's listing keeps its report as the window shows it, and "Save as..."
// reaches the dialogs the main window was given.

#include <filesystem>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "mainwin/ReportWindow.h"
#include "selection/ScriptedDialogs.h"
#include "selection/TargetDisplay.h"

using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;

class KeptReportsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void listingIsKeptAndSavedAsShown();
};

void KeptReportsWindowTest::listingIsKeptAndSavedAsShown() {
    TempFolder tree;
    tree.WriteTree({"target/a.txt=alpha", "target/b.txt=beta"});
    ScriptedDialogs dialogs;
    vorlane::MainWindow window(dialogs);
    window.StartUp();
    vorlane::MainState& state = window.State();
    state.choices.targetFolder = tree.File("target");
    state.choices.targetFilespec = "*.*";
    vorlane::ShowTarget(state);
    QTest::mouseClick(window.Button("cmdProcessFiles_2"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.Reports().Busy(), 30000);
    vorlane::ReportWindow& report = window.Reports().Report();
    QVERIFY(!report.ReportText().empty());

    const std::string kept = std::string(std::getenv("XDG_STATE_HOME")) + "/vorlane/reports";
    std::vector<std::filesystem::path> reports;
    for (const auto& entry : std::filesystem::directory_iterator(kept)) {
        reports.push_back(entry.path());
    }
    QCOMPARE(reports.size(), std::size_t{1});
    QVERIFY(reports.front().filename().string().ends_with("-list.txt"));
    QCOMPARE(TempFolder::Read(reports.front().string()), report.ReportText());

    dialogs.files.push_back(tree.File("saved.txt"));
    QTest::mouseClick(report.Button("cmdSaveAs"), Qt::LeftButton);
    QCOMPARE(TempFolder::Read(tree.File("saved.txt")), report.ReportText());
}

VORLANE_GUI_TEST_MAIN(KeptReportsWindowTest)
#include "KeptReportsWindowTest.moc"
