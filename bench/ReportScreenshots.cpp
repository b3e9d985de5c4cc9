// Takes the pictures of the purge windows for the README: the confirmation, the report
// window during a purge with its pass indicator, and the report after the purge.
//
//   xvfb-run -s "-screen 0 1280x900x24" build/bin/report_screenshots docs

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "bench/QuietDialogs.h"
#include "bench/ScreenshotLook.h"
#include "mainwin/MainWindow.h"
#include "mainwin/ReportWindow.h"
#include "selection/TargetDisplay.h"
#include "support/ProgramText.h"

namespace fs = std::filesystem;

namespace {

QWidget* Shown(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

void When(std::function<bool()> ready, std::function<void()> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, ready, act] {
        if (ready()) {
            timer->stop();
            timer->deleteLater();
            act();
        }
    });
    timer->start(2);
}

void Write(const std::string& path, std::size_t bytes) {
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ApplyScreenshotLook();
    const std::string out = argc > 1 ? argv[1] : "docs";
    const std::string work = (fs::temp_directory_path() / "vorlane-screenshots").string();
    fs::remove_all(work);
    fs::create_directories(work + "/home");
    fs::create_directories(work + "/Letters 2026/drafts");
    ::setenv("XDG_DATA_HOME", (work + "/home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (work + "/home").c_str(), 1);
    if (vorlane::ReadProgramTextFile(vorlane::ProgramTextPath(vorlane::kProgramTextFileName))
            .status != vorlane::ProgramTextStatus::Loaded) {
        return EXIT_FAILURE;
    }
    const std::string folder = work + "/Letters 2026";
    Write(folder + "/bank statement.pdf", 90000);
    Write(folder + "/contract.odt", 24000);
    Write(folder + "/scan of passport.png", 600 * 1024 * 1024);
    Write(folder + "/drafts/letter to the landlord.txt", 3000);
    Write(folder + "/drafts/notes.txt", 700);

    QuietDialogs dialogs;
    vorlane::MainWindow window(dialogs);
    window.StartUp();
    window.move(20, 20);
    vorlane::MainState& state = window.State();
    state.choices.targetFolder = folder;
    state.choices.targetFilespec = "*.*";
    state.choices.subdirectories = true;
    state.choices.options.folderNamesOnly = false;
    state.purgeType.SetPassesOf(0, 3);
    vorlane::ShowTarget(state);
    vorlane::ShowSubfoldersChoice(state);
    vorlane::ShowTypeOfPurge(state);
    window.Refresh();

    When(
        [] { return Shown("frmPurgeConfirmation") != nullptr; },
        [&] {
            QWidget* confirmation = Shown("frmPurgeConfirmation");
            QTimer::singleShot(300, [=] {
                confirmation->grab().save(QString::fromStdString(out + "/report-confirmation.png"));
                confirmation->findChild<QPushButton*>("cmdDoPurge")->click();
            });
        });
    vorlane::ReportWindow& report = window.Reports().Report();
    When([&] { return report.isVisible() && report.ReportText().ends_with("1__"); },
         [&] { report.grab().save(QString::fromStdString(out + "/report-running.png")); });
    window.Reports().PurgeFiles();
    // The purge runs on: the finished window is taken once it and its follow-up ended.
    When([&] { return !window.Reports().Busy(); },
         [&] {
             QTimer::singleShot(300, [&] {
                 report.grab().save(QString::fromStdString(out + "/report-finished.png"));
                 QApplication::quit();
             });
         });
    QApplication::exec();
    fs::remove_all(work);
    return EXIT_SUCCESS;
}
