// The end of the program when its texts cannot be loaded.

#include <QMessageBox>
#include <QProcess>

#include "mainwin/FatalMessageBox.h"
#include "mainwin/GuiTestEnvironment.h"

using vorlane::testing::TempFolder;

class FatalMessageTest : public QObject {
    Q_OBJECT

  private slots:
    void missingTextFileShowsACriticalBoxWithThePath();
    void programWithoutItsTextsNamesTheFileAndShowsNoWindow();
};

void FatalMessageTest::missingTextFileShowsACriticalBoxWithThePath() {
    TempFolder folder;
    const std::string path = folder.File("vorlane.dat");
    int status = 0;
    vorlane::FatalMessageBox sink([&](int code) { status = code; });
    QString text;
    QString title = "x";
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        box->accept();
    });
    QVERIFY(!vorlane::LoadProgramTextFrom(path, sink));
    QCOMPARE(text, QString::fromStdString("Cannot open file containing program text.\n" + path));
    QCOMPARE(title, QString());
    QCOMPARE(icon, QMessageBox::Critical);
    QVERIFY(status != 0);
}

void FatalMessageTest::programWithoutItsTextsNamesTheFileAndShowsNoWindow() {
    const QByteArray program = qgetenv("VORLANE_GUI");
    if (program.isEmpty()) {
        QSKIP("VORLANE_GUI does not name the program");
    }
    // A copy of the program in a folder without its texts.
    TempFolder folder;
    const std::string copy = folder.File("vorlane");
    std::filesystem::copy_file(program.toStdString(), copy);
    QProcess process;
    process.start(QString::fromStdString(copy), {});
    QVERIFY(process.waitForStarted());
    const QString expected = QString::fromStdString(
        "vorlane: Cannot open file containing program "
        "text.\n" +
        folder.File("vorlane.dat"));
    QString errors;
    QTRY_VERIFY_WITH_TIMEOUT(
        (errors += QString::fromLocal8Bit(process.readAllStandardError())).contains(expected),
        10000);
    // The box waits for the person; nothing else runs meanwhile.
    QVERIFY(process.state() == QProcess::Running);
    process.kill();
    process.waitForFinished();
}

VORLANE_GUI_TEST_MAIN(FatalMessageTest)
#include "FatalMessageTest.moc"
