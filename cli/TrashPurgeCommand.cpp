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
    TrashTerminal(bool assumeYes, StopRequest& stop, CommandOutput& output)
        : TerminalInterface({assumeYes, false, 1, &output}, stop),
          output_(output),
          assumeYes_(assumeYes),
          interactive_(platform::IsTerminal(platform::kStandardInput)) {}

    bool Declined() const { return declined_; }
    bool NobodyToAsk() const { return nobodyToAsk_; }

    MessageAnswer Ask(const Question& question) override {
        if (question.buttons == MessageButtons::Ok && question.icon != MessageIcon::Exclamation) {
            output_.Report() << question.text << '\n';
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
    CommandOutput& output_;
    bool assumeYes_;
    bool interactive_;
    bool declined_ = false;
    bool nobodyToAsk_ = false;
};

std::vector<OpenTrash> HomeTrash() {
    std::vector<OpenTrash> found;
    if (std::optional<OpenTrash> home = OpenHomeTrash()) {
        found.push_back(std::move(*home));
    }
    return found;
}

// What one Trash folder's purge adds to the command's status.
int StatusOf(const TrashPurgeResult& result) {
    if (!result.ran) {
        return kExitNothingMatched;
    }
    return result.failed == 0 && !result.stopped ? kExitAllDone : kExitNotAllPurged;
}

int StatusOf(const TrashPurgeResult& result, const TrashTerminal& terminal,
             const StopRequest& stop) {
    if (terminal.Declined()) {
        if (terminal.NobodyToAsk()) {
            std::cerr << "No terminal to confirm on; give --yes to purge.\n";
        }
        return kExitRefused;
    }
    return stop.Requested() ? kExitStopped : StatusOf(result);
}

int PurgeTrashFolders(const Options& options, StopRequest& stop, CommandOutput& output) {
    LoadProgramTexts();
    const std::optional<std::string> drive = options.Value("--drive");
    const std::vector<OpenTrash> trashFolders = drive ? OpenTrashFoldersOn(*drive) : HomeTrash();
    if (trashFolders.empty()) {
        output.Report() << (drive ? "There is no Trash on " + *drive + "." : "There is no Trash.")
                        << "\n";
        return kExitNothingMatched;
    }
    TrashTerminal terminal(options.Has("--yes"), stop, output);
    OperationControl control;
    stop.Watch(&control);
    int status = kExitNothingMatched;
    for (const OpenTrash& trash : trashFolders) {
        const TrashPurgeResult result = PurgeTrash(trash, OperationChoices{}, terminal, control);
        status = HeavierExitStatus(status, StatusOf(result));
        if (terminal.Declined()) {
            if (terminal.NobodyToAsk()) {
                std::cerr << "No terminal to confirm on; give --yes to purge.\n";
            }
            stop.Watch(nullptr);
            return kExitRefused;
        }
    }
    stop.Watch(nullptr);
    return stop.Requested() ? kExitStopped : status;
}

}  // namespace

int RunTrashPurgeCommand(const std::vector<std::string>& words, StopRequest& stop) {
    const CommandSpec& spec = TrashPurgeCommandSpec();
    Options options(words, spec.options);
    if (const auto status = FirstChecks(spec, options, false)) {
        return *status;
    }
    const OutputStyle style = OutputStyleFrom(options);
    if (const std::string conflict = OutputStyleConflict(style); !conflict.empty()) {
        return UsageError(spec.name, conflict);
    }
    CommandOutput output(style, spec.name);
    return output.Finish(PurgeTrashFolders(options, stop, output));
}

}  // namespace vorlane::cli

namespace vorlane::cli {

std::optional<int> PurgeIfInTrash(const std::string& folder, bool assumeYes, StopRequest& stop,
                                  CommandOutput& output) {
    if (!FindTrashScope(folder)) {
        return std::nullopt;
    }
    LoadProgramTexts();
    TrashTerminal terminal(assumeYes, stop, output);
    OperationControl control;
    stop.Watch(&control);
    const TrashPurgeResult result = PurgeTrash(folder, OperationChoices{}, terminal, control);
    stop.Watch(nullptr);
    return StatusOf(result, terminal, stop);
}

}  // namespace vorlane::cli
