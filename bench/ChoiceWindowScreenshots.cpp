// Takes the pictures of the choice windows and the main window's setup panel: the
// purge type, the files, the date, the per-file question and the drive chooser. Run
// under Xvfb with the docs folder as argument (scripts/screenshots.sh). Built on
// request only.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "bench/QuietDialogs.h"
#include "bench/ScreenshotLook.h"
#include "mainwin/DateInputWindow.h"
#include "mainwin/FileConfirmationWindow.h"
#include "mainwin/FileSelectionWindow.h"
#include "mainwin/MainWindow.h"
#include "mainwin/PurgeTypeWindow.h"
#include "selection/TargetDisplay.h"
#include "support/ProgramText.h"
#include "tools/SettingsStore.h"
#include "toolwin/DriveSelectionWindow.h"
#include "toolwin/ToolCommands.h"

namespace fs = std::filesystem;

namespace {

QString docs;

// Shows `window` through `show` (which returns when it closes), saves it as `name`
// once it is drawn, then closes it with `close`.
void Shoot(QWidget& window, const QString& name, const std::function<void()>& show,
           const std::function<void()>& close) {
    QTimer::singleShot(300, [&window, name, close] {
        window.grab().save(docs + "/" + name);
        close();
    });
    show();
}

void Write(const fs::path& file, std::size_t size) {
    std::ofstream(file, std::ios::binary) << std::string(size, 'x');
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path work = fs::temp_directory_path() / "vorlane-choice-screenshots";
    if (argc < 2 || !PrepareScreenshotHome(work)) {
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    ApplyScreenshotLook();
    docs = QString::fromLocal8Bit(argv[1]);
    const fs::path letters = work / "Letters";
    fs::create_directories(letters);
    for (const char* name : {"bank statement.pdf", "contract.odt", "to the landlord.odt"}) {
        Write(letters / name, 4000);
    }

    QuietDialogs dialogs;
    vorlane::MainWindow main(dialogs);
    vorlane::ToolCommands tools(main, dialogs);
    main.StartUp();
    main.move(20, 20);
    vorlane::MainState& state = main.State();
    state.choices.targetFolder = letters.string();
    state.choices.targetFilespec = "*.odt";
    vorlane::ShowTarget(state);
    vorlane::ShowSubfoldersChoice(state);
    main.Refresh();

    // The setup panel open beside Setup.
    emit main.Button("cmdSetup")->fired();
    QTest::qWait(300);
    main.grab().save(docs + "/main-window-setup.png");
    emit main.Button("cmdKeepSetup")->fired();

    vorlane::PurgeTypeWindow& type = main.Windows().TypeOfPurgeWindow();
    Shoot(
        type, "choice-purge-type.png", [&] { type.Choose(state.purgeType); },
        [&] { type.reject(); });

    vorlane::FileSelectionWindow& files = main.Windows().SpecifyFilesWindow();
    Shoot(
        files, "choice-files.png", [&] { files.Choose(letters.string(), 3, "purge"); },
        [&] { files.reject(); });

    vorlane::DateInputWindow& date = main.Windows().DateWindow();
    std::int32_t jdn = 2459216;  // 1 January 2021
    Shoot(
        date, "choice-date.png", [&] { date.Choose(jdn, "Only files before ..."); },
        [&] { date.reject(); });

    vorlane::FileConfirmationWindow confirm(&main);
    Shoot(
        confirm, "confirm-file.png",
        [&] { confirm.Choose((letters / "contract.odt").string(), nullptr); },
        [&] { confirm.reject(); });

    vorlane::DriveSelectionWindow& drives = tools.DriveWindow();
    Shoot(
        drives, "toolwin-drives.png", [&] { drives.Choose("/", "Test purge speed"); },
        [&] { drives.reject(); });

    fs::remove_all(work);
    return EXIT_SUCCESS;
}
