// The choice windows driven headless: the files window, the date window and the
// purge-type window, with the message boxes answered from a script.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "mainwin/FrmCEDateInput.h"
#include "mainwin/FrmSpecifyFiles.h"
#include "mainwin/FrmTypeOfPurge.h"
#include "mainwin/GuiTestEnvironment.h"
#include "selection/ScriptedDialogs.h"

using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;

namespace {

// Runs `step` once the modal window that the next call shows is open.
void WhenShown(const std::function<void()>& step) {
    QTimer::singleShot(0, step);
}

template <typename T>
T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(name);
    if (!child) {
        qFatal("no control %s", name);
    }
    return child;
}

void Click(QWidget& window, const char* name) {
    QTest::mouseClick(Child<QAbstractButton>(window, name), Qt::LeftButton);
}

}  // namespace

class ChoiceWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void refusedExtensionThenReturnInTheSpecification();
    void singleFileFromTheList();
    void textBoxesAreEmptiedAtEveryOpening();

    void refusedThenAcceptedDate();
    void removeRestriction();
    void escapeCancelsTheDate();

    void acceptQuestionAndNoKeepsTheWindowOpen();
    void cancelRestoresTheTypeAndKeepsThePasses();

  private:
    ScriptedDialogs dialogs;
};

// A refused extension keeps the window open with the text as typed; then clicking into
// the specification follows its option and Return accepts.
void ChoiceWindowsTest::refusedExtensionThenReturnInTheSpecification() {
    vorlane::FrmSpecifyFiles window(dialogs, nullptr);
    dialogs.asked.clear();
    bool stayedOpen = false;
    QString kept;
    bool optionFollowed = false;
    WhenShown([&] {
        Click(window, "optExtension");
        Child<QLineEdit>(window, "txbExtension")->setText("tar.gz");
        Click(window, "cmdAccept");
        stayedOpen = window.isVisible();
        kept = Child<QLineEdit>(window, "txbExtension")->text();
        auto* box = Child<QLineEdit>(window, "txbFilespec");
        box->setFocus();
        QTest::mouseClick(box, Qt::LeftButton);
        optionFollowed = Child<QRadioButton>(window, "optMultipleFiles")->isChecked();
        QTest::keyClicks(box, "Report*.D?C");
        QTest::keyClick(box, Qt::Key_Return);
    });
    const vorlane::FilesChoiceResult result = window.Choose("/nowhere", 0, "purge");
    QVERIFY(stayedOpen);
    QCOMPARE(kept, QString("tar.gz"));
    QCOMPARE(dialogs.asked.size(), std::size_t(1));
    QVERIFY(optionFollowed);
    QVERIFY(result.accepted);
    QCOMPARE(QString::fromStdString(result.fileSpec), QString("report*.d?c"));
}

void ChoiceWindowsTest::singleFileFromTheList() {
    TempFolder folder;
    folder.WriteTree({"Beta.TXT=b", "alpha.txt=a", "sub"});
    vorlane::FrmSpecifyFiles window(dialogs, nullptr);
    int listed = 0;
    WhenShown([&] {
        auto* list = Child<QListWidget>(window, "File");
        listed = list->count();
        list->setCurrentRow(0);
        emit list->itemClicked(list->item(0));
        Click(window, "cmdAccept");
    });
    const vorlane::FilesChoiceResult result = window.Choose(folder.Path(), 2, "purge");
    QCOMPARE(listed, 2);
    QVERIFY(window.SingleFileSelected());
    QCOMPARE(QString::fromStdString(result.fileSpec), QString("Beta.TXT"));
}

void ChoiceWindowsTest::textBoxesAreEmptiedAtEveryOpening() {
    vorlane::FrmSpecifyFiles window(dialogs, nullptr);
    WhenShown([&] {
        Child<QLineEdit>(window, "txbFilespec")->setText("left over");
        Click(window, "cmdCancel");
    });
    window.Choose("/nowhere", 0, "purge");
    QString shown = "x";
    WhenShown([&] {
        shown = Child<QLineEdit>(window, "txbFilespec")->text();
        Click(window, "cmdCancel");
    });
    window.Choose("/nowhere", 0, "purge");
    QCOMPARE(shown, QString());
}

namespace {

void EnterDate(QWidget& window, int month, int day, const QString& year) {
    Child<QComboBox>(window, "cboMonthNames")->setCurrentIndex(month);
    Child<QComboBox>(window, "cboDayNumbers")->setCurrentIndex(day);
    Child<QLineEdit>(window, "txbYear")->setText(year);
}

}  // namespace

// A refused date keeps the window open; the next date is taken.
void ChoiceWindowsTest::refusedThenAcceptedDate() {
    vorlane::FrmCEDateInput window(dialogs, nullptr);
    dialogs.asked.clear();
    bool removeEnabled = true;
    QString year = "x";
    bool open = false;
    WhenShown([&] {
        removeEnabled = Child<QPushButton>(window, "cmdClear")->isEnabled();
        year = Child<QLineEdit>(window, "txbYear")->text();
        EnterDate(window, 2, 31, "2023");
        Click(window, "cmdAccept");
        open = window.isVisible();
        EnterDate(window, 1, 1, "1980");
        Click(window, "cmdAccept");
    });
    std::int32_t jdn = vorlane::kNoDateRestrictionJdn;
    QVERIFY(window.Choose(jdn, "Only files before ...") == vorlane::DateWindowResult::Accepted);
    QVERIFY(open);
    QCOMPARE(dialogs.asked.size(), std::size_t(1));
    QCOMPARE(jdn, 2444240);
    QVERIFY(!removeEnabled);
    QCOMPARE(year, QString());
}

void ChoiceWindowsTest::removeRestriction() {
    vorlane::FrmCEDateInput window(dialogs, nullptr);
    QString shown;
    WhenShown([&] {
        shown = Child<QComboBox>(window, "cboMonthNames")->currentText() + " " +
                Child<QComboBox>(window, "cboDayNumbers")->currentText() + " " +
                Child<QLineEdit>(window, "txbYear")->text();
        QVERIFY(Child<QPushButton>(window, "cmdClear")->isEnabled());
        Click(window, "cmdClear");
    });
    std::int32_t jdn = 2452703;
    QVERIFY(window.Choose(jdn, "Only files before ...") == vorlane::DateWindowResult::Removed);
    QCOMPARE(shown, QString("March 4 2003"));
}

void ChoiceWindowsTest::escapeCancelsTheDate() {
    vorlane::FrmCEDateInput window(dialogs, nullptr);
    WhenShown([&] {
        EnterDate(window, 1, 1, "1990");
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    std::int32_t jdn = vorlane::kNoDateRestrictionJdn;
    QVERIFY(window.Choose(jdn, "Only files before ...") == vorlane::DateWindowResult::Cancelled);
    QCOMPARE(jdn, vorlane::kNoDateRestrictionJdn);
}

void ChoiceWindowsTest::acceptQuestionAndNoKeepsTheWindowOpen() {
    vorlane::FrmTypeOfPurge window(dialogs, nullptr);
    dialogs.asked.clear();
    dialogs.answers = {vorlane::MessageAnswer::No, vorlane::MessageAnswer::Yes};
    bool openAfterNo = false;
    WhenShown([&] {
        Click(window, "optPurgeType_2");
        Child<QComboBox>(window, "cboNumberOfPasses_2")->setCurrentIndex(0);
        Click(window, "cmdAccept");
        openAfterNo = window.isVisible();
        Click(window, "cmdAccept");
    });
    vorlane::PurgeTypeChoice choice;
    QVERIFY(window.Choose(choice));
    QVERIFY(openAfterNo);
    QCOMPARE(dialogs.asked.size(), std::size_t(2));
    QVERIFY(dialogs.asked[0].buttons == vorlane::MessageButtons::YesNo);
    QCOMPARE(choice.GetPurgeType(), 2);
    QCOMPARE(choice.GetNumberOfPasses(), 1);
}

void ChoiceWindowsTest::cancelRestoresTheTypeAndKeepsThePasses() {
    vorlane::FrmTypeOfPurge window(dialogs, nullptr);
    WhenShown([&] {
        Click(window, "optPurgeType_1");
        Child<QComboBox>(window, "cboNumberOfPasses_1")->setCurrentIndex(7);
        Click(window, "cmdCancel");
    });
    vorlane::PurgeTypeChoice choice;
    QVERIFY(!window.Choose(choice));
    QCOMPARE(choice.GetPurgeType(), 0);
    QCOMPARE(choice.PassesOf(1), 8);
    QCOMPARE(window.SelectedType(), 0);

    WhenShown([&] {
        Click(window, "optPurgeType_2");
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    QVERIFY(!window.Choose(choice));
    QCOMPARE(choice.GetPurgeType(), 0);
}

VORLANE_GUI_TEST_MAIN(ChoiceWindowsTest)
#include "ChoiceWindowsTest.moc"
