#include <iostream>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/OptionTables.h"
#include "cli/TerminalInterface.h"
#include "engine/FreeSpaceLeftovers.h"
#include "engine/PurgeTypes.h"
#include "operation/FreeSpacePurge.h"
#include "platform/Terminal.h"

namespace vorlane::cli {
namespace {

constexpr const char* kCommand = "purge-free-space";

// --yes answers the one question; refusals and the question go to standard error, the
// report to standard output.
class FreeSpaceTerminal : public TerminalInterface {
  public:
    FreeSpaceTerminal(bool assumeYes, StopRequest& stop, CommandOutput& output)
        : TerminalInterface({assumeYes, false, 1, &output}, stop), assumeYes_(assumeYes) {}

    MessageAnswer Ask(const Question& question) override {
        if (question.buttons == MessageButtons::YesNo && assumeYes_) {
            return MessageAnswer::Yes;
        }
        return TerminalInterface::Ask(question);
    }

  private:
    bool assumeYes_;
};

// Without --type a pass is one fill of random bytes, and one pass is the default
// whatever the type: free space holds no file whose data a pattern could miss.
bool ReadChoices(Options& options, FreeSpaceChoices& choices) {
    const auto type = options.IntValue("--type", 1, kPurgeTypeCount);
    if (!options.Valid()) {
        return false;
    }
    choices.purgeType = type ? *type - 1 : kFreeSpaceRandomOnly;
    const int most = MaxNumPasses(type ? *type - 1 : 0);
    choices.passes = options.IntValue("--passes", kMinNumberOfPasses, most).value_or(1);
    choices.drive = options.Value("--drive").value_or(".");
    choices.keepReport = !options.Has("--no-keep-report");
    return options.Valid();
}

int StatusOf(FreeSpaceEnd end) {
    switch (end) {
        case FreeSpaceEnd::Done:
            return kExitAllDone;
        case FreeSpaceEnd::Stopped:
            return kExitStopped;
        case FreeSpaceEnd::Failed:
            return kExitNotAllPurged;
        case FreeSpaceEnd::Refused:
        case FreeSpaceEnd::Declined:
            break;
    }
    return kExitRefused;
}

// The end in the summary's word: "done", "stopped", "failed", "refused", "declined".
const char* EndWord(FreeSpaceEnd end) {
    switch (end) {
        case FreeSpaceEnd::Done:
            return "done";
        case FreeSpaceEnd::Stopped:
            return "stopped";
        case FreeSpaceEnd::Failed:
            return "failed";
        case FreeSpaceEnd::Declined:
            return "declined";
        case FreeSpaceEnd::Refused:
            break;
    }
    return "refused";
}

int PurgeWith(Options& options, StopRequest& stop, CommandOutput& output) {
    FreeSpaceChoices choices;
    if (!ReadChoices(options, choices)) {
        return UsageError(kCommand, options.Error());
    }
    LoadProgramTexts();
    FreeSpaceTerminal terminal(options.Has("--yes"), stop, output);
    OperationControl control;
    stop.Watch(&control);
    const FreeSpacePurgeResult result = PurgeFreeSpace(choices, terminal, control);
    stop.Watch(nullptr);
    if (result.end == FreeSpaceEnd::Declined && !platform::IsTerminal(platform::kStandardInput)) {
        std::cerr << "No terminal to confirm on; give --yes to purge.\n";
    }
    output.AddToSummary("end", EndWord(result.end));
    output.AddToSummary("free_bytes", static_cast<std::int64_t>(result.freeBytes));
    output.AddToSummary("written_bytes", static_cast<std::int64_t>(result.writtenBytes));
    return StatusOf(result.end);
}

}  // namespace

int RunFreeSpaceCommand(const std::vector<std::string>& words, StopRequest& stop) {
    const CommandSpec& spec = FreeSpaceCommandSpec();
    Options options(words, spec.options);
    if (const auto status = FirstChecks(spec, options, false)) {
        return *status;
    }
    CommandOutput output(OutputStyleFrom(options), kCommand, SummaryCounts::Nothing);
    return output.Finish(PurgeWith(options, stop, output));
}

void RemoveLeftoverFillsAtStart() {
    for (const LeftoverFill& fill : RemoveLeftoverFills()) {
        std::string line = LeftoverFillsText({fill});
        line.pop_back();  // PrintError ends the line itself
        PrintError(line);
    }
}

}  // namespace vorlane::cli
