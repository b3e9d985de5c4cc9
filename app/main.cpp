// vorlane: the desktop program. `vorlane [PATH]` opens with PATH as the target: a file
// as the single file, a folder as the folder.

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string_view>

#include "engine/FreeSpaceLeftovers.h"
#include "mainwin/FatalMessageBox.h"
#include "mainwin/MainWindow.h"
#include "mainwin/QtDialogs.h"
#include "mainwin/WindowLook.h"
#include "platform/Platform.h"
#include "support/ProgramText.h"
#include "toolwin/ToolCommands.h"

namespace {

constexpr const char* kUsage = "usage: vorlane [FILE-OR-FOLDER]";

constexpr const char* kNoDisplay =
    "vorlane: cannot open a display: the windows need a graphical session.\n"
    "From a terminal, use the command line: vorlane-cli (see 'vorlane-cli --help').\n";

// Qt takes its window-system plugin from -platform or QT_QPA_PLATFORM, and its display from
// -display or the environment; with none of them named it can only abort.
bool DisplayNamed(int argc, char** argv) {
    const vorlane::platform::Environment& environment = vorlane::platform::SysEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!environment.EnvironmentValue(name).empty()) {
            return true;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-platform" || argument == "--platform" || argument == "-display" ||
            argument == "--display") {
            return true;
        }
    }
    return false;
}

QtMessageHandler qtMessages = nullptr;

// A display that is named but cannot be reached ends QApplication's start with a fatal
// message that advises reinstalling, and an abort. While the application starts, a fatal
// message means exactly that: say what is wrong instead, and end as a failure. Qt's
// warnings before it (which display it tried) still go out as Qt writes them.
void EndWithoutDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        qtMessages(type, context, message);
        return;
    }
    std::cerr << kNoDisplay;
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

// For bench/startup-time.sh: with VORLANE_QUIT_WHEN_SHOWN set, the program says how long
// it took from main() to the first expose of its window, and ends there.
class FirstExposeTimer : public QObject {
  public:
    explicit FirstExposeTimer(const QElapsedTimer& clock) : clock_(clock) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose) {
            std::cerr << "vorlane: window shown " << clock_.elapsed() << " ms after main()\n";
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    const QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    // Help and version need no display; Qt's own options (-platform ...) are taken by
    // QApplication.
    const std::string_view firstArgument = argc == 2 ? argv[1] : "";
    if (firstArgument == "--help" || firstArgument == "-h") {
        std::cout << kUsage << '\n';
        return EXIT_SUCCESS;
    }
    if (firstArgument == "--version" || firstArgument == "-V") {
        std::cout << "vorlane " << VORLANE_VERSION << '\n';
        return EXIT_SUCCESS;
    }
    if (!DisplayNamed(argc, argv)) {
        std::cerr << kNoDisplay;
        return EXIT_FAILURE;
    }
    qtMessages = qInstallMessageHandler(EndWithoutDisplay);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtMessages);
    QApplication::setApplicationName("vorlane");
    QApplication::setWindowIcon(vorlane::ProgramIcon());
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() > 1 || (arguments.size() == 1 && arguments.front().startsWith("-"))) {
        std::cerr << kUsage << '\n';
        return 2;
    }
    // Without its texts the program cannot name what it does: it says why and ends.
    vorlane::FatalMessageBox textFailure([](int status) { std::exit(status); });
    if (!vorlane::LoadProgramText(vorlane::kProgramTextFileName, textFailure)) {
        return EXIT_FAILURE;
    }
    vorlane::QtDialogs dialogs;
    vorlane::MainWindow window(dialogs);
    dialogs.SetOwner(&window);
    vorlane::ToolCommands tools(window, dialogs);
    FirstExposeTimer exposeTimer(clock);
    if (qEnvironmentVariableIsSet("VORLANE_QUIT_WHEN_SHOWN")) {
        window.winId();
        window.windowHandle()->installEventFilter(&exposeTimer);
    }
    window.StartUp();
    // A purge of free space killed mid-fill left its volume full: the space comes back
    // at once, and the person hears why, once the window is there to say it.
    const std::string leftovers = vorlane::LeftoverFillsText(vorlane::RemoveLeftoverFills());
    if (!leftovers.empty()) {
        QTimer::singleShot(0, &window, [&dialogs, leftovers] {
            vorlane::Tell(dialogs, leftovers, "Vorlane", vorlane::MessageIcon::Information);
        });
    }
    if (!arguments.isEmpty()) {
        window.OpenPath(arguments.front().toStdString());
    }
    return QApplication::exec();
}
