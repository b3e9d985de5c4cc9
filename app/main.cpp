// vorlane: the desktop program. `vorlane [PATH]` opens with PATH as the target: a file
// as the single file, a folder as the folder.

#include <QApplication>
#include <cstdlib>
#include <iostream>

#include "mainwin/FatalMessageBox.h"
#include "mainwin/FrmMain.h"
#include "mainwin/QtDialogs.h"
#include "support/ProgramText.h"
#include "toolwin/ToolCommands.h"

namespace {

constexpr const char* kUsage = "usage: vorlane [FILE-OR-FOLDER]";

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("vorlane");
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() > 1 || (arguments.size() == 1 && arguments.front().startsWith("-"))) {
        std::cerr << kUsage << '\n';
        return arguments.front() == "--help" ? EXIT_SUCCESS : 2;
    }
    // Without its texts the program cannot name what it does: it says why and ends.
    vorlane::FatalMessageBox textFailure([](int status) { std::exit(status); });
    if (!vorlane::LoadProgramText(vorlane::kProgramTextFileName, textFailure)) {
        return EXIT_FAILURE;
    }
    vorlane::QtDialogs dialogs;
    vorlane::FrmMain window(dialogs);
    dialogs.SetOwner(&window);
    vorlane::ToolCommands tools(window, dialogs);
    window.StartUp();
    if (!arguments.isEmpty()) {
        window.OpenPath(arguments.front().toStdString());
    }
    return QApplication::exec();
}
