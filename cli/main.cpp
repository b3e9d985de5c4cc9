// vorlane-cli: Vorlane's operations for scripts and terminals.

#include <clocale>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "support/ProgramText.h"

namespace vorlane::cli {
namespace {

// Without its texts the program cannot name what it does; it ends, as the windows will.
class EndOnTextFailure : public FatalMessageSink {
  public:
    void EndWithMessage(const std::string& message) override {
        PrintError(message);
        std::exit(kExitRefused);
    }
};

int RunHelpCommand(const std::vector<std::string>& words) {
    if (words.empty()) {
        PrintProgramHelp(std::cout);
        return kExitAllDone;
    }
    const CommandSpec* command = FindCommand(words.front());
    if (command == nullptr) {
        return UsageError("", "unknown command '" + words.front() + "'");
    }
    PrintCommandHelp(std::cout, *command);
    return kExitAllDone;
}

}  // namespace

void LoadProgramTexts() {
    EndOnTextFailure textFailure;
    LoadProgramText(kProgramTextFileName, textFailure);
}

}  // namespace vorlane::cli

int main(int argc, char** argv) {
    using namespace vorlane::cli;
    std::setlocale(LC_ALL, "");
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        return UsageError("", "missing command");
    }
    const std::string& command = words.front();
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (command == "--help" || command == "-h") {
        PrintProgramHelp(std::cout);
        return kExitAllDone;
    }
    if (command == "--version" || command == "-V") {
        PrintVersion(std::cout);
        return kExitAllDone;
    }
    if (command == "help") {
        return RunHelpCommand(rest);
    }
    if (command.starts_with("-")) {
        return UsageError("", "unrecognized option '" + command + "'");
    }
    RemoveLeftoverFillsAtStart();
    if (command == "save-setup") {
        return RunSaveSetupCommand(rest);
    }
    // Signals are watched before any other thread starts, so that all of them leave
    // the signals to the watcher.
    StopRequest stop;
    if (command == "purge-free-space") {
        return RunFreeSpaceCommand(rest, stop);
    }
    if (command == "purge") {
        return RunPurgeCommand(rest, stop);
    }
    if (command == "purge-trash") {
        return RunTrashPurgeCommand(rest, stop);
    }
    if (command == "list") {
        return RunListCommand(rest, stop);
    }
    if (command == "speed-test") {
        return RunSpeedTestCommand(rest, stop);
    }
    return UsageError("", "unknown command '" + command + "'");
}
