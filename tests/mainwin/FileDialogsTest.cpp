// The real open-file dialog and folder browser behind the dialog seam.

#include <QFileDialog>
#include <filesystem>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/QtDialogs.h"

using vorlane::QtDialogs;
using vorlane::testing::Modal;
using vorlane::testing::TempFolder;

class FileDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void singleFileDialogKeepsLinks();
    void titleOfSeveralLinesIsOneLine();
};

void FileDialogsTest::singleFileDialogKeepsLinks() {
    TempFolder folder;
    const std::string target = folder.Write("README", "no dot in this name");
    const std::string link = folder.File("readme-link");
    std::filesystem::create_symlink(target, link);
    QtDialogs dialogs;
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
void FileDialogsTest::titleOfSeveralLinesIsOneLine() {
    QtDialogs dialogs;
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

VORLANE_GUI_TEST_MAIN(FileDialogsTest)
#include "FileDialogsTest.moc"
