// The subfolder window driven headless: the rows that cannot be checked, the summary,
// what Accept hands back, and the wheel over the rows.

#include <QCheckBox>
#include <QWheelEvent>

#include "common/StandIns.h"
#include "mainwin/GuiTestEnvironment.h"
#include "selection/ScriptedDialogs.h"
#include "support/UserLocale.h"
#include "toolwin/SubfolderSelectionWindow.h"

using vorlane::SubfolderChoice;
using vorlane::SubfolderSelectionWindow;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;

class SubfolderWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { vorlane::SetUserLocale(std::locale::classic()); }

    void emptyAndUnreadableRowsStayUnchecked() {
        TempFolder temp;
        temp.WriteTree({"empty", "locked", "full/file=x"});
        vorlane::testing::DeniedFolders locked("/locked");
        vorlane::platform::ScopedPlatform scoped(locked);
        ScriptedDialogs dialogs;
        SubfolderSelectionWindow window(dialogs);
        QTimer::singleShot(0, [&] {
            QVERIFY(QTest::qWaitFor([&] {
                return window.isVisible() && !window.Busy() && !window.Summary()->text().isEmpty();
            }));
            for (QCheckBox* row : window.Rows()) {
                QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(5, row->height() / 2));
            }
            QCOMPARE(window.Rows()[0]->text(), QString("empty {no files and no subfolders}"));
            QVERIFY(!window.Rows()[0]->isChecked());
            QVERIFY(window.Rows()[1]->isChecked());
            QVERIFY(window.Rows()[2]->text().startsWith("locked {"));
            QVERIFY(!window.Rows()[2]->isChecked());
            window.SelectAllButton()->click();
            QVERIFY(!window.Rows()[0]->isChecked());
            QVERIFY(!window.Rows()[2]->isChecked());
            QCOMPARE(window.Summary()->text(), QString("One subfolder selected."));
            window.AcceptButton()->click();
        });
        const SubfolderChoice choice =
            window.Choose(temp.Path(), "Select subfolders of the folder to be purged.", {});
        QVERIFY(choice.accepted);
        QCOMPARE(choice.paths, std::vector<std::string>{temp.Path() + "/full"});
    }

    // The wheel over a row, not only over the scroll bar, moves the list.
    void wheelOverTheRowsScrollsTheList() {
        TempFolder temp;
        for (int folder = 0; folder < 30; ++folder) {
            temp.WriteTree({"folder" + std::to_string(100 + folder) + "/file=x"});
        }
        ScriptedDialogs dialogs;
        vorlane::SubfolderSelectionWindow window(dialogs);
        window.noSizes = true;
        int scrolled = -1;
        QTimer::singleShot(0, [&] {
            QVERIFY(QTest::qWaitFor([&] { return !window.Busy() && window.Rows().size() > 2; }));
            QCheckBox* row = window.Rows()[2];
            QWheelEvent down(QPointF(5, 5), row->mapToGlobal(QPointF(5, 5)), QPoint(),
                             QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                             false);
            QApplication::sendEvent(row, &down);
            scrolled = window.ScrollBar()->value();
            window.CancelButton()->click();
        });
        window.Choose(temp.Path(), "Select subfolders of the folder to be purged.", {});
        QVERIFY(scrolled > 0);
    }
};

VORLANE_GUI_TEST_MAIN(SubfolderWindowTest)
#include "SubfolderWindowTest.moc"
