// The real open-file dialog and folder browser behind the dialog seam.

#include <QFileDialog>
#include <filesystem>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/QtDialogs.h"

using vorlane::QtDialogs;
using vorlane::testing::TempFolder;

namespace {

QFileDialog* OpenFileDialog() {
    return qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
}

}  // namespace

class FileDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void singleFileDialogShowsAllFilesAndKeepsLinks();
    void singleFileDialogCancelledGivesNothing();
    void folderBrowserOffersFoldersOnly();
};

void FileDialogsTest::singleFileDialogShowsAllFilesAndKeepsLinks() {
    TempFolder folder;
    const std::string target = folder.Write("README", "no dot in this name");
    const std::string link = folder.File("readme-link");
    std::filesystem::create_symlink(target, link);
    QtDialogs dialogs;
    QStringList filters;
    QString title;
    bool native = true;
    bool resolves = true;
    QTimer::singleShot(0, [&] {
        QFileDialog* dialog = OpenFileDialog();
        QVERIFY(dialog);
        filters = dialog->nameFilters();
        title = dialog->windowTitle();
        native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
        resolves = !dialog->testOption(QFileDialog::DontResolveSymlinks);
        dialog->setDirectory(QString::fromStdString(folder.Path()));
        dialog->selectFile(QString::fromStdString(link));
        static_cast<QDialog*>(dialog)->accept();
    });
    const std::string chosen = dialogs.OpenFileName("Specify file to be purged.");
    QCOMPARE(filters, QStringList{"All files (*)"});
    QCOMPARE(title, QString("Specify file to be purged."));
    QVERIFY(!native);
    QVERIFY(!resolves);
    QCOMPARE(chosen, link);
}

void FileDialogsTest::singleFileDialogCancelledGivesNothing() {
    QtDialogs dialogs;
    QTimer::singleShot(0, [] { OpenFileDialog()->reject(); });
    QVERIFY(dialogs.OpenFileName("Specify file to be purged.").empty());
}

void FileDialogsTest::folderBrowserOffersFoldersOnly() {
    TempFolder folder;
    std::filesystem::create_directory(folder.File("Letters"));
    QtDialogs dialogs;
    bool foldersOnly = false;
    QTimer::singleShot(0, [&] {
        QFileDialog* dialog = OpenFileDialog();
        QVERIFY(dialog);
        foldersOnly = dialog->fileMode() == QFileDialog::Directory &&
                      dialog->testOption(QFileDialog::ShowDirsOnly) &&
                      dialog->testOption(QFileDialog::DontUseNativeDialog);
        dialog->setDirectory(QString::fromStdString(folder.File("Letters")));
        static_cast<QDialog*>(dialog)->accept();
    });
    const std::string chosen =
        dialogs.BrowseForFolder("Specify folder containing files to be purged");
    QVERIFY(foldersOnly);
    QCOMPARE(chosen, folder.File("Letters"));
    QTimer::singleShot(0, [] { OpenFileDialog()->reject(); });
    QVERIFY(dialogs.BrowseForFolder("Specify folder containing files to be purged").empty());
}

VORLANE_GUI_TEST_MAIN(FileDialogsTest)
#include "FileDialogsTest.moc"
