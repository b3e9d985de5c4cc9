#include <iostream>
#include <optional>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/OptionTables.h"
#include "cli/TerminalInterface.h"
#include "engine/DriveInfo.h"
#include "operation/TrashPurge.h"
#include "platform/Platform.h"
#include "platform/Terminal.h"
#include "support/Folders.h"

namespace vorlane::cli {
namespace {

// The Trash questions on the terminal: --yes answers the one question, and the outcome
// goes to standard output, where a script reads it.
class TrashTerminal : public TerminalInterface {
  public:
    TrashTerminal(bool assumeYes, StopRequest& stop)
        : TerminalInterface({assumeYes, false, 1}, stop),
          assumeYes_(assumeYes),
          interactive_(platform::IsTerminal(platform::kStandardInput)) {}

    bool Declined() const { return declined_; }
    bool NobodyToAsk() const { return nobodyToAsk_; }

    MessageAnswer Ask(const Question& question) override {
        if (question.buttons == MessageButtons::Ok && question.icon != MessageIcon::Exclamation) {
            std::string text;
            for (const char c : question.text) {
                if (c != '\r') {
                    text += c;
                }
            }
            std::cout << text << '\n';
            return MessageAnswer::Ok;
        }
        if (question.buttons != MessageButtons::YesNo || !assumeYes_) {
            nobodyToAsk_ = question.buttons == MessageButtons::YesNo && !interactive_;
            const MessageAnswer answer = TerminalInterface::Ask(question);
            declined_ = question.buttons == MessageButtons::YesNo && answer != MessageAnswer::Yes;
            return answer;
        }
        return MessageAnswer::Yes;
    }

  private:
    bool assumeYes_;
    bool interactive_;
    bool declined_ = false;
    bool nobodyToAsk_ = false;
};

// The Trash of the user's home: $XDG_DATA_HOME/Trash, by default ~/.local/share/Trash.
std::vector<std::string> HomeTrash() {
    const platform::Platform& sys = platform::Sys();
    std::string dataHome = sys.EnvironmentValue("XDG_DATA_HOME");
    if (dataHome.empty() || dataHome.front() != '/') {
        const std::string home = sys.EnvironmentValue("HOME");
        dataHome = home.empty() ? std::string() : home + "/.local/share";
    }
    const std::string trash = dataHome + "/Trash";
    if (dataHome.empty() || !FolderIsDirectory(trash)) {
        return {};
    }
    return {trash};
}

}  // namespace

int RunTrashPurgeCommand(const std::vector<std::string>& words, StopRequest& stop) {
    const CommandSpec& spec = TrashPurgeCommandSpec();
    Options options(words, spec.options);
    if (const auto status = FirstChecks(spec, options, false)) {
        return *status;
    }
    LoadProgramTexts();
    const std::optional<std::string> drive = options.Value("--drive");
    const std::vector<std::string> trashFolders = drive ? TrashFoldersOn(*drive) : HomeTrash();
    if (trashFolders.empty()) {
        std::cout << (drive ? "There is no Trash on " + *drive + "." : "There is no Trash.")
                  << "\n";
        return kExitNothingMatched;
    }
    TrashTerminal terminal(options.Has("--yes"), stop);
    OperationControl control;
    stop.Watch(&control);
    bool anyRan = false;
    bool allPurged = true;
    for (const std::string& trash : trashFolders) {
        const TrashPurgeResult result = PurgeTrash(trash, OperationChoices{}, terminal, control);
        anyRan = anyRan || result.ran;
        allPurged = allPurged && result.failed == 0 && !result.stopped;
        if (terminal.Declined()) {
            if (terminal.NobodyToAsk()) {
                std::cerr << "No terminal to confirm on; give --yes to purge.\n";
            }
            stop.Watch(nullptr);
            return kExitRefused;
        }
    }
    stop.Watch(nullptr);
    if (stop.Requested()) {
        return kExitStopped;
    }
    if (!anyRan) {
        return kExitNothingMatched;
    }
    return allPurged ? kExitAllDone : kExitNotAllPurged;
}

}  // namespace vorlane::cli
