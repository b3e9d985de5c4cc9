// Takes the README's pictures of the tool windows: run under Xvfb with the docs folder
// as argument (scripts/screenshots.sh). Built on request only.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench/ScreenshotLook.h"
#include "mainwin/MainWindow.h"
#include "mainwin/QtDialogs.h"
#include "operation/SpeedTestCommand.h"
#include "selection/TargetDisplay.h"
#include "support/ProgramText.h"
#include "tools/SettingsStore.h"
#include "toolwin/SubfolderSelectionWindow.h"
#include "toolwin/TextViewWindow.h"
#include "toolwin/ToolCommands.h"

namespace fs = std::filesystem;

namespace {

void Save(QWidget& widget, const QString& path) {
    widget.grab().save(path);
}

// The first visible message box, once one is open.
QMessageBox* OpenBox() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

void Write(const fs::path& file, std::size_t size) {
    std::ofstream(file, std::ios::binary) << std::string(size, 'x');
}

void MakeDemoTree(const fs::path& top) {
    const std::pair<const char*, int> folders[] = {
        {"Letters", 12}, {"Old drafts", 0}, {"Photos 2019", 40}, {"Tax returns", 7},
        {"archive", 3},  {"music", 25},     {"notes", 1}};
    for (const auto& [name, files] : folders) {
        fs::create_directories(top / name);
        for (int i = 0; i < files; ++i) {
            Write(top / name / ("file" + std::to_string(i)),
                  static_cast<std::size_t>(5000 * (i + 1)));
        }
    }
    fs::create_directories(top / "Letters/2018");
    Write(top / "Letters/2018/old letter", 1);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path work = fs::temp_directory_path() / "vorlane-toolwin-screenshots";
    if (argc < 2 || !PrepareScreenshotHome(work)) {
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    ApplyScreenshotLook();
    const QString docs = QString::fromLocal8Bit(argv[1]);
    const std::string top = (work / "Documents").string();
    MakeDemoTree(top);

    vorlane::QtDialogs dialogs;
    vorlane::MainWindow main(dialogs);
    dialogs.SetOwner(&main);
    vorlane::ToolCommands tools(main, dialogs);
    main.StartUp();

    // The subfolder window with three folders checked.
    vorlane::SubfolderSelectionWindow& window = tools.SubfolderWindow();
    window.resize(720, 200);
    QTimer::singleShot(0, [&] {
        if (!QTest::qWaitFor(
                [&] { return !window.Busy() && !window.Summary()->text().isEmpty(); })) {
            window.CancelButton()->click();
            return;
        }
        for (int row : {0, 2, 3}) {
            window.Rows()[static_cast<std::size_t>(row)]->click();
        }
        QTest::qWait(200);
        Save(window, docs + "/toolwin-subfolders.png");
        window.AcceptButton()->click();
    });
    window.Choose(top, "Select subfolders of " + top + " to be purged.", {});

    // The speed test's result as this machine's vfat image gave it.
    main.State().purgeType.SetPassesOf(0, 1);
    vorlane::ShowTypeOfPurge(main.State());
    main.State().labels.purgeSpeed = vorlane::PurgeSpeedLabel("/mnt/vfat", 61.39F);
    main.Refresh();
    QTimer::singleShot(300, [&] {
        if (QMessageBox* box = OpenBox()) {
            Save(*box, docs + "/toolwin-speed-result.png");
            box->accept();
        }
    });
    dialogs.Ask({vorlane::SpeedResultText(61.39F, 2, 1), "Test purge speed",
                 vorlane::MessageButtons::Ok, 1, vorlane::MessageIcon::Information});
    QTest::qWait(100);
    Save(main, docs + "/toolwin-main-speed.png");

    // The help viewer.
    tools.Help();
    vorlane::TextViewWindow& view = tools.ViewWindow();
    view.resize(820, 560);
    QTest::qWait(300);
    Save(view, docs + "/toolwin-help.png");
    fs::remove_all(work);
    return EXIT_SUCCESS;
}
