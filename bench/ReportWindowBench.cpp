// Purges through the real windows, headless, and prints what it cost the window:
// the largest delay of a 10 ms timer on the GUI thread while a large file and while
// many small files are purged, how often the progress bar moved and its longest
// standstill, and the time of the small-file purge against the same purge through
// vorlane-cli.
//
//   build/bin/bench_report_window [work folder] [size of the large file in MiB]
//                                 [number of small files]
// Run it with QT_QPA_PLATFORM=offscreen; vorlane-cli is taken from beside it.

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include <unistd.h>

#include "bench/QuietDialogs.h"
#include "mainwin/MainWindow.h"
#include "mainwin/ReportWindow.h"
#include "selection/TargetDisplay.h"
#include "support/ProgramText.h"

namespace fs = std::filesystem;

namespace {

int smallFiles = 20000;

struct Figures {
    double seconds = 0;
    qint64 largestDelayMs = 0;
    std::vector<qint64> delaysMs;  // of every tick, for the 99th percentile
    int barMoves = 0;              // changes of the bar or its line seen by the ticker
    qint64 longestStillMs = 0;     // the longest time neither changed, after the first
};

// Serves events until the operation and what follows it are done.
void AwaitEnd(vorlane::MainWindow& window) {
    while (window.Reports().Busy()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

// Answers Yes in the confirmation as soon as it shows.
void ConfirmWhenShown() {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "frmPurgeConfirmation" && window->isVisible()) {
                timer->stop();
                timer->deleteLater();
                window->findChild<QPushButton*>("cmdDoPurge")->click();
                return;
            }
        }
    });
    timer->start(1);
}

// With showProgress false the bridge hands no progress to the window: the same purge
// without the progress display, to see what the display costs the GUI thread.
Figures PurgeThroughWindow(vorlane::MainWindow& window, const std::string& folder,
                           bool showProgress) {
    vorlane::ReportSinks sinks = window.Reports().Sinks();
    if (!showProgress) {
        sinks.purgeProgress = nullptr;
    }
    window.Bridge().SetSinks(sinks);
    vorlane::MainState& state = window.State();
    state.choices.targetFolder = folder;
    state.choices.targetFilespec = "*.*";
    state.choices.subdirectories = false;
    state.purgeType.SetPassesOf(0, 1);
    vorlane::ShowTarget(state);
    QElapsedTimer sinceTick;
    QElapsedTimer sinceMove;
    Figures figures;
    QString lastLine;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 delay = sinceTick.restart() - 10;
        figures.largestDelayMs = std::max(figures.largestDelayMs, delay);
        figures.delaysMs.push_back(delay);
        const QString line = window.Reports().Report().ProgressLabel()->text();
        if (line != lastLine) {
            if (figures.barMoves > 0) {
                figures.longestStillMs = std::max(figures.longestStillMs, sinceMove.elapsed());
            }
            ++figures.barMoves;
            lastLine = line;
            sinceMove.start();
        }
    });
    ConfirmWhenShown();
    const auto start = std::chrono::steady_clock::now();
    sinceTick.start();
    ticker.start(10);
    window.Reports().PurgeFiles();
    AwaitEnd(window);
    ticker.stop();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    figures.seconds = took.count();
    return figures;
}

void WriteSmallFiles(const std::string& folder) {
    fs::create_directories(folder);
    const std::string bytes(1000, 'x');
    for (int i = 0; i < smallFiles; ++i) {
        std::ofstream(folder + "/f" + std::to_string(i)) << bytes;
    }
}

void WriteLargeFile(const std::string& path, long mebibytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream large(path, std::ios::binary);
    const std::string block(1 << 20, 'x');
    for (long i = 0; i < mebibytes; ++i) {
        large << block;
    }
}

void Merge(Figures& into, const Figures& run) {
    into.seconds += run.seconds;
    into.largestDelayMs = std::max(into.largestDelayMs, run.largestDelayMs);
    into.longestStillMs = std::max(into.longestStillMs, run.longestStillMs);
    into.barMoves += run.barMoves;
    into.delaysMs.insert(into.delaysMs.end(), run.delaysMs.begin(), run.delaysMs.end());
}

// The delay that 99 of 100 ticks stay within: the largest alone is one stall of a
// loaded machine.
qint64 Percentile99(std::vector<qint64> delays) {
    if (delays.empty()) {
        return 0;
    }
    const auto at = delays.begin() + static_cast<std::ptrdiff_t>(delays.size() * 99 / 100);
    std::nth_element(delays.begin(), at, delays.end());
    return *at;
}

double PurgeThroughCli(const std::string& cli, const std::string& folder) {
    const std::string command =
        "'" + cli + "' purge --folder '" + folder + "' --passes 1 --yes >/dev/null 2>&1";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return status == 0 ? took.count() : -1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string base = argc > 1 ? argv[1] : fs::temp_directory_path().string();
    const long largeMiB = argc > 2 ? std::atol(argv[2]) : 1024;
    smallFiles = argc > 3 ? std::atoi(argv[3]) : smallFiles;
    const std::string work = base + "/vorlane-window-bench-" + std::to_string(::getpid());
    // The user's own setup and settings stay out of it.
    fs::create_directories(work + "/home");
    ::setenv("XDG_DATA_HOME", (work + "/home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (work + "/home").c_str(), 1);
    if (vorlane::ReadProgramTextFile(vorlane::ProgramTextPath(vorlane::kProgramTextFileName))
            .status != vorlane::ProgramTextStatus::Loaded) {
        std::cerr << "cannot load the program texts\n";
        return EXIT_FAILURE;
    }
    const std::string cli = (fs::path(argv[0]).parent_path() / "vorlane-cli").string();
    QuietDialogs dialogs;
    vorlane::MainWindow window(dialogs);
    window.StartUp();

    // Other work on the machine moves fsync times and timer delays a lot: alternate the
    // purges with and without the progress display, twice.
    Figures large[2];
    Figures small[2];
    double cliSeconds = 0;
    for (int round = 0; round < 2; ++round) {
        for (const bool progress : {true, false}) {
            WriteLargeFile(work + "/large/one.dat", largeMiB);
            Merge(large[progress ? 0 : 1], PurgeThroughWindow(window, work + "/large", progress));
            WriteSmallFiles(work + "/small");
            Merge(small[progress ? 0 : 1], PurgeThroughWindow(window, work + "/small", progress));
        }
        WriteSmallFiles(work + "/small-cli");
        cliSeconds += PurgeThroughCli(cli, work + "/small-cli");
    }
    for (const bool progress : {true, false}) {
        const Figures& l = large[progress ? 0 : 1];
        const Figures& m = small[progress ? 0 : 1];
        std::printf(
            "%s progress display: large file %ld MiB, 1 pass, twice: %.1f s, timer delay "
            "largest %lld ms, 99%% within %lld ms, longest progress standstill %lld ms; %d "
            "small files, twice: %.2f s, timer delay largest %lld ms, 99%% within %lld ms, "
            "longest progress standstill %lld ms\n",
            progress ? "with" : "without", largeMiB, l.seconds,
            static_cast<long long>(l.largestDelayMs),
            static_cast<long long>(Percentile99(l.delaysMs)),
            static_cast<long long>(l.longestStillMs), smallFiles, m.seconds,
            static_cast<long long>(m.largestDelayMs),
            static_cast<long long>(Percentile99(m.delaysMs)),
            static_cast<long long>(m.longestStillMs));
    }
    std::printf("%d small files, twice, through vorlane-cli: %.2f s; window/cli = %.2f\n",
                smallFiles, cliSeconds, small[0].seconds / cliSeconds);
    fs::remove_all(work);
    return EXIT_SUCCESS;
}
