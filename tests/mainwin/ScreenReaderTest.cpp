// The windows as a screen reader finds them: real windows with titles, each command
// saying what it has chosen, lists named by their purpose, no CR in any text, and an
// icon of the program's own.

#include <QAccessible>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

#include "common/TempFolder.h"
#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "mainwin/PurgeConfirmationWindow.h"
#include "mainwin/PurgeTypeWindow.h"
#include "mainwin/QtDialogs.h"
#include "mainwin/ReportWindow.h"
#include "mainwin/WindowLook.h"
#include "selection/ScriptedDialogs.h"

using vorlane::MainWindow;
using vorlane::MessageAnswer;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;

namespace {

QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// The texts of the labels that name `control` to a screen reader.
QStringList NamingLabels(QWidget* control) {
    QStringList names;
    for (const auto& [label, relation] : Accessible(control)->relations(QAccessible::Label)) {
        names << label->text(QAccessible::Name);
    }
    return names;
}

QMessageBox* OpenMessageBox() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

}  // namespace

class ScreenReaderTest : public QObject {
    Q_OBJECT

  private slots:
    void windowsAreFramesAndDialogs();
    void commandsSayWhatTheyHaveChosen();
    void passesListIsNamedByItsPurpose();
    void textsCarryNoCarriageReturn();
    void theProgramHasAnIconOfItsOwn();
};

void ScreenReaderTest::windowsAreFramesAndDialogs() {
    ScriptedDialogs dialogs;
    MainWindow window(dialogs);
    window.StartUp();
    QCOMPARE(Accessible(&window)->role(), QAccessible::Window);
    QVERIFY(!Accessible(&window)->text(QAccessible::Name).isEmpty());
    vorlane::PurgeTypeWindow type(dialogs, &window);
    QCOMPARE(Accessible(&type)->role(), QAccessible::Dialog);
    // A window built on a plain widget, the report window, is a frame too.
    QWidget& report = window.Reports().Report();
    report.setWindowTitle("Purge files");
    QCOMPARE(Accessible(&report)->role(), QAccessible::Window);
    QCOMPARE(Accessible(&report)->text(QAccessible::Name), QString("Purge files"));
    // A control on it keeps its own kind.
    QCOMPARE(Accessible(report.findChild<QPushButton*>("cmdClose"))->role(), QAccessible::Button);
}

void ScreenReaderTest::commandsSayWhatTheyHaveChosen() {
    TempFolder temp;
    temp.Write("letter.txt", "x");
    ScriptedDialogs dialogs;
    MainWindow window(dialogs);
    window.StartUp();
    dialogs.folders = {temp.Path()};
    dialogs.answers = {MessageAnswer::Yes};
    emit window.Button("cmdSpecifyDirectory_0")->fired();
    QCOMPARE(Accessible(window.Button("cmdSpecifyDirectory_0"))->text(QAccessible::Name),
             QString("Specify folder"));
    QCOMPARE(Accessible(window.Button("cmdSpecifyDirectory_0"))->text(QAccessible::Description),
             QString::fromStdString(temp.Path()));
    QCOMPARE(Accessible(window.Button("cmdSpecifyFiles_0"))->text(QAccessible::Description),
             QString("*.*, (All files.)"));
    // A hidden label says nothing.
    window.Label("lblDirectory_0")->hide();
    window.Refresh();
    QCOMPARE(Accessible(window.Button("cmdSpecifyDirectory_0"))->text(QAccessible::Description),
             QString());
}

// A list says its value as its name; the label beside it says what the value is of.
void ScreenReaderTest::passesListIsNamedByItsPurpose() {
    ScriptedDialogs dialogs;
    vorlane::PurgeTypeWindow window(dialogs, nullptr);
    vorlane::PurgeTypeChoice choice;
    choice.SelectType(2);
    QStringList names;
    QTimer::singleShot(0, [&] {
        for (QComboBox* list : window.findChildren<QComboBox*>()) {
            if (list->isVisible()) {
                names << NamingLabels(list);
            }
        }
        window.reject();
    });
    window.Choose(choice);
    QCOMPARE(names, QStringList{"Number of times ('passes'):"});
}

void ScreenReaderTest::textsCarryNoCarriageReturn() {
    vorlane::QtDialogs dialogs;
    QString boxText;
    vorlane::testing::When([] { return OpenMessageBox() != nullptr; },
                           [&] {
                               boxText = OpenMessageBox()->text();
                               OpenMessageBox()->accept();
                           });
    dialogs.Ask({"First line\r\nsecond line", "Title", vorlane::MessageButtons::Ok, 1,
                 vorlane::MessageIcon::Information});
    QCOMPARE(boxText, QString("First line\nsecond line"));

    vorlane::PurgeConfirmationWindow confirmation(nullptr);
    vorlane::PurgeOptions options;
    QString message;
    QTimer::singleShot(0, [&] {
        message = confirmation.findChild<QLabel*>("lblMessage")->text();
        confirmation.reject();
    });
    confirmation.Choose("Are you sure\r\nthis file?", "Yes", false, "/", options);
    QCOMPARE(message, QString("Are you sure\nthis file?"));
}

void ScreenReaderTest::theProgramHasAnIconOfItsOwn() {
    const QIcon icon = vorlane::ProgramIcon();
    for (const int size : {16, 48, 256}) {
        QCOMPARE(icon.pixmap(size).width(), size);
    }
}

VORLANE_GUI_TEST_MAIN(ScreenReaderTest)
#include "ScreenReaderTest.moc"
