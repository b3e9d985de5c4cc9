// The choice windows driven headless: the files window and the date window, with the
// message boxes answered from a script.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include "mainwin/DateInputWindow.h"
#include "mainwin/FileSelectionWindow.h"
#include "mainwin/GuiTestEnvironment.h"
#include "selection/ScriptedDialogs.h"

using vorlane::testing::Child;
using vorlane::testing::ScriptedDialogs;

namespace {

// Runs `step` once the modal window that the next call shows is open.
void WhenShown(const std::function<void()>& step) {
    QTimer::singleShot(0, step);
}

void Click(QWidget& window, const char* name) {
    QTest::mouseClick(Child<QAbstractButton>(window, name), Qt::LeftButton);
}

void EnterDate(QWidget& window, int month, int day, const QString& year) {
    Child<QComboBox>(window, "cboMonthNames")->setCurrentIndex(month);
    Child<QComboBox>(window, "cboDayNumbers")->setCurrentIndex(day);
    Child<QLineEdit>(window, "txbYear")->setText(year);
}

}  // namespace

class ChoiceWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void returnInThePatternAccepts();
    void refusedThenAcceptedDate();

  private:
    ScriptedDialogs dialogs;
};

// Return in the file pattern accepts it, normalised.
void ChoiceWindowsTest::returnInThePatternAccepts() {
    vorlane::FileSelectionWindow window(dialogs, nullptr);
    WhenShown([&] {
        Click(window, "optMultipleFiles");
        auto* box = Child<QLineEdit>(window, "txbFilespec");
        QTest::keyClicks(box, "Report*.D?C");
        QTest::keyClick(box, Qt::Key_Return);
    });
    const vorlane::FilesChoiceResult result = window.Choose("/nowhere", 0, "purge");
    QVERIFY(result.accepted);
    QCOMPARE(QString::fromStdString(result.fileSpec), QString("report*.d?c"));
}

// A refused date keeps the window open; the next date is taken.
void ChoiceWindowsTest::refusedThenAcceptedDate() {
    vorlane::DateInputWindow window(dialogs, nullptr);
    dialogs.asked.clear();
    bool open = false;
    WhenShown([&] {
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
}

VORLANE_GUI_TEST_MAIN(ChoiceWindowsTest)
#include "ChoiceWindowsTest.moc"
