// Faults a person meets in the windows, each driven as that person would: the files
// window cancelled, tabbed through, the confirmation's ticks, the labels behind a
// question, and the date window's fields.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "common/TempFolder.h"
#include "mainwin/DateInputWindow.h"
#include "mainwin/FileSelectionWindow.h"
#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "mainwin/PurgeConfirmationWindow.h"
#include "selection/ScriptedDialogs.h"
#include "selection/TargetDisplay.h"
#include "support/Strings.h"

using vorlane::MainWindow;
using vorlane::MessageAnswer;
using vorlane::PurgeConfirmationWindow;
using vorlane::PurgeOptions;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;
using vorlane::testing::When;

namespace {

template <typename T>
T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(name);
    if (!child) {
        qFatal("no control %s", name);
    }
    return child;
}

QWidget* ShownWindow(const char* objectName) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == objectName && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// Presses `button` of the window `objectName` once it shows.
void PressWhenShown(const char* objectName, const char* button, QObject* context) {
    When([=] { return ShownWindow(objectName) != nullptr; },
         [=] { Child<QPushButton>(*ShownWindow(objectName), button)->click(); }, context);
}

void Focus(QWidget* widget, Qt::FocusReason reason) {
    QFocusEvent in(QEvent::FocusIn, reason);
    QApplication::sendEvent(widget, &in);
}

// Answers the confirmation window, after `act` has run in it.
bool Confirm(PurgeConfirmationWindow& window, bool subfolders, PurgeOptions& options,
             const std::function<void()>& act, const char* answer) {
    QTimer::singleShot(0, [&window, act, answer] {
        act();
        Child<QPushButton>(window, answer)->click();
    });
    return window.Choose("Are you sure?", "Yes, purge these files", subfolders, "/", options);
}

}  // namespace

class UserFaultsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        dialogs = std::make_unique<ScriptedDialogs>();
        window = std::make_unique<MainWindow>(*dialogs);
        window->StartUp();
        dialogs->asked.clear();
    }
    void cleanup() {
        window.reset();
        dialogs.reset();
    }
    void cancelledFilesWindowKeepsAWildcardTarget();
    void focusAloneNeverChangesTheFilesOption();
    void confirmationKeepsTicksMadeBeforeANo();
    void confirmationKeepsDeleteEmptyFoldersWhereItIsHidden();
    void labelsAreCurrentWhileAQuestionIsOpen();
    void dateFieldsHaveVisibleLabels();

  private:
    QString Label(const char* name) const { return window->Label(name)->text(); }
    // Specify folder on `folder`, answering the "purge ALL files" question with Yes.
    void SpecifyFolderWithAllFiles(const std::string& folder) {
        dialogs->folders = {folder};
        dialogs->answers = {MessageAnswer::Yes};
        emit window->Button("cmdSpecifyDirectory_0")->fired();
    }

    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<MainWindow> window;
};

// The files window opens on "a single file"; Cancel must not take that choice as the
// target's, and the folder's "all files" must still be taken afterwards.
void UserFaultsTest::cancelledFilesWindowKeepsAWildcardTarget() {
    TempFolder temp;
    temp.Write("letter.txt", "x");
    SpecifyFolderWithAllFiles(temp.Path());
    QCOMPARE(Label("lblFiles_0"), QString("*.*"));
    PressWhenShown("frmSpecifyFiles", "cmdCancel", window.get());
    emit window->Button("cmdSpecifyFiles_0")->fired();
    QCOMPARE(Label("lblFiles_0"), QString("*.*"));
    QCOMPARE(window->State().choices.targetFilespec, std::string("*.*"));
    SpecifyFolderWithAllFiles(temp.Path());
    QCOMPARE(Label("lblFiles_0"), QString("*.*"));
    // A loaded pattern is no file name either.
    window->State().choices.targetFilespec = "*.txt";
    window->State().singleFileOption = true;
    vorlane::ShowTarget(window->State());
    QCOMPARE(window->State().choices.targetFilespec, std::string("*.txt"));
    // A single file that has gone is still let go.
    window->State().choices.targetFilespec = "gone.txt";
    vorlane::ShowTarget(window->State());
    QVERIFY(window->State().choices.targetFilespec.empty());
}

// A keyboard user tabs past both text boxes to Accept: the option stays "all files".
// A click into a box, or typing into it, chooses that box's option.
void UserFaultsTest::focusAloneNeverChangesTheFilesOption() {
    vorlane::FileSelectionWindow files(*dialogs, nullptr);
    bool allFilesKept = false;
    bool clickChose = false;
    bool typingChose = false;
    QTimer::singleShot(0, [&] {
        Child<QRadioButton>(files, "optAllFiles")->click();
        auto* extension = Child<QLineEdit>(files, "txbExtension");
        auto* spec = Child<QLineEdit>(files, "txbFilespec");
        Focus(extension, Qt::TabFocusReason);
        Focus(spec, Qt::TabFocusReason);
        Focus(spec, Qt::OtherFocusReason);
        allFilesKept = Child<QRadioButton>(files, "optAllFiles")->isChecked();
        QTest::mouseClick(extension, Qt::LeftButton);
        clickChose = Child<QRadioButton>(files, "optExtension")->isChecked();
        QTest::keyClicks(spec, "a*");
        typingChose = Child<QRadioButton>(files, "optMultipleFiles")->isChecked();
        Child<QRadioButton>(files, "optAllFiles")->click();
        Child<QPushButton>(files, "cmdAccept")->click();
    });
    const vorlane::FilesChoiceResult result = files.Choose("/nowhere", 0, "purge");
    QVERIFY(allFilesKept);
    QVERIFY(clickChose);
    QVERIFY(typingChose);
    QVERIFY(result.accepted);
    QCOMPARE(QString::fromStdString(result.fileSpec), QString("*.*"));
}

// A tick made before a No is still there at the next opening; options loaded since
// (another setup) are shown instead.
void UserFaultsTest::confirmationKeepsTicksMadeBeforeANo() {
    PurgeConfirmationWindow confirmation(nullptr);
    PurgeOptions options;
    const PurgeOptions before = options;
    QVERIFY(!Confirm(
        confirmation, true, options,
        [&] { Child<QCheckBox>(confirmation, "chkConfirmFiles")->click(); }, "cmdCancel"));
    QVERIFY(options.confirmFiles == before.confirmFiles);
    bool stillTicked = false;
    QVERIFY(Confirm(
        confirmation, true, options,
        [&] { stillTicked = Child<QCheckBox>(confirmation, "chkConfirmFiles")->isChecked(); },
        "cmdDoPurge"));
    QVERIFY(stillTicked);
    QVERIFY(options.confirmFiles);
    options.confirmFiles = false;
    options.okToPurgeSystemFiles = true;
    bool loadedShown = false;
    QVERIFY(!Confirm(
        confirmation, true, options,
        [&] {
            loadedShown = !Child<QCheckBox>(confirmation, "chkConfirmFiles")->isChecked() &&
                          Child<QCheckBox>(confirmation, "chkOKToPurgeSystemFiles")->isChecked();
        },
        "cmdCancel"));
    QVERIFY(loadedShown);
}

// Without subfolders the box is hidden, and its value is the person's all the same.
void UserFaultsTest::confirmationKeepsDeleteEmptyFoldersWhereItIsHidden() {
    PurgeConfirmationWindow confirmation(nullptr);
    PurgeOptions options;
    options.deleteEmptyFolders = true;
    bool hidden = false;
    QVERIFY(Confirm(
        confirmation, false, options,
        [&] { hidden = !Child<QCheckBox>(confirmation, "chkDeleteEmptyFolders")->isVisible(); },
        "cmdDoPurge"));
    QVERIFY(hidden);
    QVERIFY(options.deleteEmptyFolders);
    bool shownTicked = false;
    QVERIFY(Confirm(
        confirmation, true, options,
        [&] {
            auto* box = Child<QCheckBox>(confirmation, "chkDeleteEmptyFolders");
            shownTicked = box->isVisible() && box->isChecked();
        },
        "cmdDoPurge"));
    QVERIFY(shownTicked);
    QVERIFY(options.deleteEmptyFolders);
}

// The question about a folder is asked with that folder in the label behind it.
void UserFaultsTest::labelsAreCurrentWhileAQuestionIsOpen() {
    TempFolder temp;
    temp.Write("letter.txt", "x");
    QString folderShown;
    dialogs->onAsk = [&](const vorlane::Question& question) {
        if (question.text.starts_with("Do you wish to purge ALL files")) {
            folderShown = Label("lblDirectory_0");
        }
    };
    SpecifyFolderWithAllFiles(temp.Path());
    QCOMPARE(folderShown, QString::fromStdString(temp.Path()));
}

// Month, Day and Year are written beside their fields, and name them.
void UserFaultsTest::dateFieldsHaveVisibleLabels() {
    vorlane::DateInputWindow date(*dialogs, nullptr);
    QStringList shown;
    QTimer::singleShot(0, [&] {
        for (const char* field : {"cboMonthNames", "cboDayNumbers", "txbYear"}) {
            QWidget* control = Child<QWidget>(date, field);
            for (QLabel* label : date.findChildren<QLabel*>()) {
                if (label->buddy() == control && label->isVisible()) {
                    shown << label->text();
                }
            }
        }
        Child<QPushButton>(date, "cmdCancel")->click();
    });
    std::int32_t jdn = vorlane::kNoDateRestrictionJdn;
    date.Choose(jdn, "Only files before ...");
    QCOMPARE(shown, (QStringList{"Month", "Day", "Year"}));
}

VORLANE_GUI_TEST_MAIN(UserFaultsTest)
#include "UserFaultsTest.moc"
