// vorlane-cli: Vorlane's operations for scripts and terminals.

#include <clocale>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/FilePurgeCommand.h"
#include "cli/OperationCommands.h"
#include "cli/SpeedTestCommand.h"
#include "cli/Usage.h"
#include "support/ProgramText.h"

namespace {

// Without its texts the program cannot name what it does; it ends, as the windows will.
class EndOnTextFailure : public vorlane::FatalMessageSink {
  public:
    void EndWithMessage(const std::string& message) override {
        std::cerr << "vorlane-cli: " << message << '\n';
        std::exit(EXIT_FAILURE);
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        return vorlane::cli::UsageError("no command given");
    }
    const std::string command = words.front();
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (command == "--help" || command == "help") {
        vorlane::cli::PrintUsage(std::cout);
        return 0;
    }
    EndOnTextFailure textFailure;
    vorlane::LoadProgramText(vorlane::kProgramTextFileName, textFailure);
    if (command == "purge") {
        return vorlane::cli::IsOperationPurge(rest) ? vorlane::cli::RunFolderPurgeCommand(rest)
                                                    : vorlane::cli::RunFilePurgeCommand(rest);
    }
    if (command == "list") {
        return vorlane::cli::RunListCommand(rest);
    }
    if (command == "speed-test") {
        return vorlane::cli::RunSpeedTestCommand(rest);
    }
    return vorlane::cli::UsageError("unknown command " + command);
}
