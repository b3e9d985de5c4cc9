// The real dialogs behind the dialog seam: the open-file dialog and the folder browser,
// and "Save as..." and "Keep reports" in the report window through the save dialog.

#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <filesystem>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/QtDialogs.h"
#include "mainwin/ReportWindow.h"
#include "operation/KeptReports.h"

using vorlane::testing::AcceptMessageWhenShown;
using vorlane::testing::Modal;
using vorlane::testing::TempFolder;
using vorlane::testing::When;

namespace {

// Answers the save dialog with `path` once it shows.
void AnswerSaveDialog(const std::string& path) {
    When([] { return Modal<QFileDialog>() != nullptr; },
         [path] {
             QFileDialog* dialog = Modal<QFileDialog>();
             dialog->selectFile(QString::fromStdString(path));
             static_cast<QDialog*>(dialog)->accept();
         });
}

}  // namespace

class RealDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void savesTheFinishedReportAsShown();
    void keepReportsTurnsTheSettingOff();
    void singleFileDialogKeepsLinks();
    void titleOfSeveralLinesIsOneLine();
};

// Only a finished report can be saved. A failed save says why, in a box over the
// window; then the file holds the report's bytes, line feeds and all.
void RealDialogsTest::savesTheFinishedReportAsShown() {
    TempFolder folder;
    vorlane::OperationControl control;
    vorlane::QtDialogs dialogs;
    vorlane::ReportWindow window(control, nullptr, dialogs);
    dialogs.SetOwner(&window);
    window.show();
    QPushButton* saveAs = window.Button("cmdSaveAs");
    QCOMPARE(saveAs->accessibleName(), QString("Save report as"));
    QVERIFY(saveAs->focusPolicy() & Qt::TabFocus);
    window.StartOperation("Purge files", true, false);
    const std::string report = "Purge files: /home/ünï/\n\nNumber of files: 2\n";
    window.ApplyChange({0, report});
    QVERIFY(!saveAs->isEnabled());
    window.Finished();
    QVERIFY(saveAs->isEnabled());

    QString told;
    AcceptMessageWhenShown(told);
    // A file's name used as a folder: the dialog takes the name, the write cannot.
    const std::string blocked = folder.Write("file", "x") + "/report.txt";
    AnswerSaveDialog(blocked);
    saveAs->click();
    QVERIFY2(told.startsWith(QString::fromStdString("The report could not be saved as " + blocked)),
             qPrintable(told));

    const std::string path = folder.File("saved.txt");
    AnswerSaveDialog(path);
    saveAs->click();
    QCOMPARE(TempFolder::Read(path), report);
}

void RealDialogsTest::keepReportsTurnsTheSettingOff() {
    vorlane::OperationControl control;
    vorlane::QtDialogs dialogs;
    vorlane::ReportWindow window(control, nullptr, dialogs);
    auto* keep = window.findChild<QCheckBox*>("chkKeepReports");
    QVERIFY(keep);
    QVERIFY(keep->isChecked());
    keep->click();
    QVERIFY(!vorlane::ReportKeepingOn());
    vorlane::ReportWindow again(control, nullptr, dialogs);
    QVERIFY(!again.findChild<QCheckBox*>("chkKeepReports")->isChecked());
    again.findChild<QCheckBox*>("chkKeepReports")->click();
    QVERIFY(vorlane::ReportKeepingOn());
}

void RealDialogsTest::singleFileDialogKeepsLinks() {
    TempFolder folder;
    const std::string target = folder.Write("README", "no dot in this name");
    const std::string link = folder.File("readme-link");
    std::filesystem::create_symlink(target, link);
    vorlane::QtDialogs dialogs;
    bool resolves = true;
    QTimer::singleShot(0, [&] {
        QFileDialog* dialog = Modal<QFileDialog>();
        QVERIFY(dialog);
        resolves = !dialog->testOption(QFileDialog::DontResolveSymlinks);
        dialog->setDirectory(QString::fromStdString(folder.Path()));
        dialog->selectFile(QString::fromStdString(link));
        static_cast<QDialog*>(dialog)->accept();
    });
    const std::string chosen = dialogs.OpenFileName("Specify file to be purged.");
    QVERIFY(!resolves);
    QCOMPARE(chosen, link);
}

// A title bar shows a line break as a box, not as a break.
void RealDialogsTest::titleOfSeveralLinesIsOneLine() {
    vorlane::QtDialogs dialogs;
    QString title;
    QTimer::singleShot(0, [&] {
        QFileDialog* dialog = Modal<QFileDialog>();
        QVERIFY(dialog);
        title = dialog->windowTitle();
        static_cast<QDialog*>(dialog)->reject();
    });
    (void)dialogs.BrowseForFolder("Specify the folder\nto be purged");
    QCOMPARE(title, QString("Specify the folder to be purged"));
}

VORLANE_GUI_TEST_MAIN(RealDialogsTest)
#include "RealDialogsTest.moc"
