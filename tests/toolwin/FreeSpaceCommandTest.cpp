// "Purge free space" from the main window, headless, on a volume of a few megabytes
// played in the test's folder: the chooser, the confirmation, the fill on the worker
// with its progress under the report, Pause and Stop, and a refusal.

#include <QLabel>
#include <QProgressBar>
#include <atomic>
#include <chrono>
#include <thread>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "mainwin/ReportWindow.h"
#include "operation/FreeSpaceVolume.h"
#include "selection/ScriptedDialogs.h"
#include "support/UserLocale.h"
#include "toolwin/ToolCommands.h"

using vorlane::MainWindow;
using vorlane::MessageAnswer;
using vorlane::ToolCommands;
using vorlane::testing::FreeSpaceVolume;
using vorlane::testing::ScriptedDialogs;
using vorlane::testing::TempFolder;
using vorlane::testing::When;

namespace {

constexpr std::uint64_t kMiB = 1 << 20;

// Holds the worker in a write until `done` holds, for ten seconds at most: what the
// window does meanwhile happens while the fill is half written.
void HoldUntil(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

bool ShowsButton(vorlane::ReportWindow& report, const char* name) {
    return report.isVisible() && report.Button(name)->isVisible();
}

}  // namespace

class FreeSpaceCommandTest : public QObject {
    Q_OBJECT

    struct Fixture {
        Fixture() {
            main.StartUp();
            dialogs.asked.clear();
        }
        // Accepts the volume in the chooser, then runs the command to its end.
        void Run() {
            vorlane::testing::ClickWhenShown("frmSpecifyDrive2", "cmdAccept");
            emit main.Button("cmdPurgeFreeSpace")->fired();
            QTRY_VERIFY_WITH_TIMEOUT(!main.Reports().Busy(), 20000);
        }
        vorlane::ReportWindow& Report() { return main.Reports().Report(); }

        TempFolder temp;
        FreeSpaceVolume volume{temp.Path()};
        vorlane::platform::ScopedPlatform inForce{volume};
        ScriptedDialogs dialogs;
        MainWindow main{dialogs};
        ToolCommands tools{main, dialogs};
    };

  private slots:
    void initTestCase() { vorlane::SetUserLocale(std::locale::classic()); }

    // The fill's speed and time left stand under the report with a moving bar, not in
    // the main window; a second fill's report starts anew.
    void fillRunsOnTheWorkerWithProgressInTheReport() {
        Fixture f;
        f.volume.freeBytes = 20 * kMiB;
        std::atomic<bool> seen = false;
        f.volume.onWrite = [&seen](int write) {
            if (write == 2) {
                HoldUntil([&seen] { return seen.load(); });
            }
        };
        QString line;
        bool menuEnabled = true;
        When(
            [&f] {
                return f.Report().ProgressBar()->isVisible() &&
                       f.Report().ProgressLabel()->text().startsWith("Filling: ");
            },
            [&] {
                line = f.Report().ProgressLabel()->text();
                menuEnabled = f.main.Menu()->isEnabled();
                seen = true;
            },
            &f.main);
        f.dialogs.answers = {MessageAnswer::Yes};
        f.Run();
        QVERIFY2(seen, "no progress under the report");
        QVERIFY2(line.contains(" of 20 MB, ") && line.contains(" MB/s, "), qPrintable(line));
        QVERIFY(!menuEnabled);
        QCOMPARE(f.main.Label("lblLargePurgeMessage")->text(), QString());
        QCOMPARE(f.volume.Live(), 0);

        f.volume.onWrite = {};
        f.dialogs.answers = {MessageAnswer::Yes};
        f.Run();
        const std::string& text = f.Report().ReportText();
        QCOMPARE(text.find("Names of deleted files stay"),
                 text.rfind("Names of deleted files stay"));
        QCOMPARE(f.volume.Live(), 0);
        // A fill quicker than its progress reports still ends full.
        QCOMPARE(f.Report().ProgressBar()->value(), 100);
        QCOMPARE(f.Report().ProgressLabel()->text(), QString("20.00 MB of 20.00 MB"));
    }

    // Pause holds the fill between two writes; Stop then removes it before anything else.
    void stopDuringTheFillLeavesNoFill() {
        Fixture f;
        f.volume.freeBytes = 64 * kMiB;
        vorlane::OperationControl& control = f.main.Control();
        std::atomic<bool> writing = false;
        f.volume.onWrite = [&control, &writing](int write) {
            if (write == 2) {
                writing = true;
                HoldUntil([&control] { return control.Paused(); });
            }
        };
        When([&f, &writing] { return writing && ShowsButton(f.Report(), "cmdPauseContinue"); },
             [&f] { f.Report().Button("cmdPauseContinue")->click(); }, &f.main);
        When([&f] { return ShowsButton(f.Report(), "cmdStop"); },
             [&f] { f.Report().Button("cmdStop")->click(); }, &f.main);
        f.dialogs.answers = {MessageAnswer::Yes};
        f.Run();
        QCOMPARE(f.volume.Live(), 0);
        QVERIFY2(f.volume.writes == 2, qPrintable(QString::number(f.volume.writes)));
        QVERIFY(f.Report().ReportText().find("Stopped: the fill was removed at once") !=
                std::string::npos);
    }

    // A volume whose free space a fill cannot reach: its message, no report window, no
    // write.
    void refusalShowsItsMessageAndRunsNothing() {
        Fixture f;
        f.volume.inMemory = true;
        f.Run();
        QCOMPARE(f.dialogs.asked.size(), size_t(1));
        QVERIFY(f.dialogs.asked[0].text.find("held in memory") != std::string::npos);
        QCOMPARE(f.dialogs.asked[0].icon, vorlane::MessageIcon::Exclamation);
        QVERIFY(!f.main.Reports().ReportShown());
        QCOMPARE(f.volume.writes, 0);
    }
};

VORLANE_GUI_TEST_MAIN(FreeSpaceCommandTest)
#include "FreeSpaceCommandTest.moc"
