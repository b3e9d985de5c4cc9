// The subfolder window driven headless: paging, the rows that cannot be checked, the
// summary, and what Accept hands back.

#include <QCheckBox>
#include <QScrollBar>
#include <filesystem>

#include "common/StandIns.h"
#include "mainwin/GuiTestEnvironment.h"
#include "selection/ScriptedDialogs.h"
#include "support/UserLocale.h"
#include "toolwin/FrmSelectSubfolders.h"

using vorlane::FrmSelectSubfolders;
using vorlane::SubfolderChoice;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

void MakeFolders(const TempFolder& temp, int count) {
    for (int i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%02d", i);
        temp.WriteTree({std::string(name) + ".keep=", std::string(name) + "/file=data"});
    }
}

// Opens the window on the folder, runs `step` once the rows are shown, and returns
// what the window handed back.
SubfolderChoice Drive(FrmSelectSubfolders& window, const std::string& folder,
                      const std::function<void()>& step,
                      const std::vector<std::string>& previous = {}) {
    QTimer::singleShot(0, [&] {
        QVERIFY(QTest::qWaitFor([&] {
            return window.isVisible() && !window.Busy() && !window.Summary()->text().isEmpty();
        }));
        step();
    });
    return window.Choose(folder, "Select subfolders of " + folder + " to be purged.", previous);
}

}  // namespace

class SubfolderWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { vorlane::SetUserLocale(std::locale::classic()); }

    void thirtyFoldersScroll() {
        TempFolder temp;
        MakeFolders(temp, 30);
        ScriptedDialogs dialogs;
        FrmSelectSubfolders window(dialogs);
        Drive(window, temp.Path(), [&] {
            QCOMPARE(window.Rows().size(), size_t(11));
            QVERIFY(window.ScrollBar()->isVisible());
            window.ScrollBar()->setValue(window.ScrollBar()->maximum());
            QCOMPARE(window.Rows().back()->text(),
                     QString("f29 {1 file and no subfolders, 4 bytes}"));
            window.CancelButton()->click();
        });
    }

    void emptyAndUnreadableRowsStayUnchecked() {
        TempFolder temp;
        temp.WriteTree({"empty", "locked", "full/file=x"});
        vorlane::testing::DeniedFolders locked("/locked");
        vorlane::platform::ScopedPlatform scoped(locked);
        ScriptedDialogs dialogs;
        FrmSelectSubfolders window(dialogs);
        const SubfolderChoice choice = Drive(window, temp.Path(), [&] {
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
        QVERIFY(choice.accepted);
        QCOMPARE(choice.paths, std::vector<std::string>{temp.Path() + "/full"});
    }

    void closingByTheFrameIsCancel() {
        TempFolder temp;
        MakeFolders(temp, 2);
        ScriptedDialogs dialogs;
        FrmSelectSubfolders window(dialogs);
        const SubfolderChoice choice = Drive(window, temp.Path(), [&] {
            window.SelectAllButton()->click();
            window.close();
        });
        QVERIFY(!choice.accepted);
        QCOMPARE(dialogs.asked.size(), size_t(1));  // Accept or Cancel, please
    }
};

VORLANE_GUI_TEST_MAIN(SubfolderWindowTest)
#include "SubfolderWindowTest.moc"
