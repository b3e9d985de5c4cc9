#include <iostream>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/OptionTables.h"
#include "cli/TargetOptions.h"
#include "cli/TerminalInterface.h"
#include "engine/PurgeTypes.h"
#include "operation/PurgeCommands.h"
#include "operation/SetupChoices.h"
#include "platform/Terminal.h"
#include "support/PathChecks.h"
#include "support/Strings.h"
#include "tools/SetupFile.h"

namespace vorlane::cli {
namespace {

constexpr const char* kCommand = "purge";

int PurgeStatus(const OperationResult& result, const TerminalInterface& terminal,
                const StopRequest& stop) {
    if (stop.Requested()) {
        return kExitStopped;
    }
    if (terminal.PurgeNotConfirmed()) {
        return kExitRefused;
    }
    if (!result.ran) {
        return result.nothingMatched ? kExitNothingMatched : kExitRefused;
    }
    // One merge of the walk's results, as rm merges its entries' statuses: a walk that met
    // no file nor folder matched nothing; one file or folder not purged makes it 1.
    int status = kExitNothingMatched;
    if (const std::optional<Seriousness> heaviest = result.state.heaviest) {
        status = HeavierExitStatus(
            status, *heaviest == Seriousness::Purged ? kExitAllDone : kExitNotAllPurged);
    }
    // Files the stop kept the walk from are not purged either.
    return result.stopped ? HeavierExitStatus(status, kExitNotAllPurged) : status;
}

int Purge(OperationChoices choices, bool assumeYes, StopRequest& stop, CommandOutput& output) {
    LoadProgramTexts();
    AddDriveSpeed(choices, std::nullopt);
    TerminalInterface terminal(
        {assumeYes, false, GetNumOverwritesPerPass(choices.purgeType), &output}, stop);
    if (const int refused = CheckTargetForCommand(choices, terminal, true)) {
        return refused;
    }
    OperationControl control;
    stop.Watch(&control);
    const OperationResult result = RunPurge(choices, terminal, control);
    stop.Watch(nullptr);
    return PurgeStatus(result, terminal, stop);
}

int PurgeFromSetup(const Options& options, StopRequest& stop, CommandOutput& output) {
    // The operation file holds every choice; another option would be silently lost.
    // --verify is no choice the file could hold.
    for (const std::string& name : options.Given()) {
        if (name != "--setup" && name != "--yes" && name != "--verify" &&
            name != "--no-keep-report" && !IsSafetyOption(name) && !IsOutputOption(name)) {
            return UsageError(kCommand, "option '" + name + "' cannot be combined with --setup");
        }
    }
    if (!options.Operands().empty()) {
        return UsageError(kCommand,
                          "unexpected file '" + options.Operands().front() + "' beside --setup");
    }
    const std::string path = *options.Value("--setup");
    if (const std::error_code unreadable = ReadAccessError(path)) {
        PrintError("cannot read operation file '" + ShownName(path) +
                   "': " + platform::SystemErrorText(unreadable));
        return kExitRefused;
    }
    const auto setup = ReadSetupFile(path, Setup{});
    if (!setup) {
        if (!setup.error().explanation.empty()) {
            return UsageError(kCommand, "'" + path + "': " + setup.error().explanation);
        }
        PrintError("'" + ShownName(path) +
                   "' is not an operation file (16 lines, see data/example.vns)");
        return kExitRefused;
    }
    OperationChoices choices = ChoicesFromSetup(*setup);
    choices.targetFolder = AbsoluteFolder(choices.targetFolder);
    choices.safety = SafetyFrom(options);
    choices.batchSmallFiles = !options.Has("--no-batch");
    choices.keepReport = !options.Has("--no-keep-report");
    choices.options.verifyLastOverwrite = options.Has("--verify");
    return Purge(choices, options.Has("--yes"), stop, output);
}

int PurgeFolder(Options& options, StopRequest& stop, CommandOutput& output) {
    for (const std::string& name : options.Given()) {
        if (IsFileListOption(name)) {
            return UsageError(kCommand, "option '" + name + "' cannot be combined with --folder");
        }
    }
    if (!options.Operands().empty()) {
        return UsageError(kCommand,
                          "unexpected file '" + options.Operands().front() + "' beside --folder");
    }
    const auto choices = TargetChoices(options);
    if (!choices) {
        return UsageError(kCommand, choices.error().text);
    }
    if (const std::optional<int> status =
            PurgeIfInTrash(choices->targetFolder, options.Has("--yes"), stop, output)) {
        return *status;
    }
    return Purge(*choices, options.Has("--yes"), stop, output);
}

}  // namespace

int RunPurgeCommand(const std::vector<std::string>& words, StopRequest& stop) {
    const CommandSpec& spec = PurgeCommandSpec();
    Options options(words, spec.options);
    if (const auto status = FirstChecks(spec, options, true)) {
        return *status;
    }
    const OutputStyle style = OutputStyleFrom(options);
    if (const std::string conflict = OutputStyleConflict(style); !conflict.empty()) {
        return UsageError(kCommand, conflict);
    }
    CommandOutput output(style, kCommand);
    if (options.Has("--setup")) {
        return output.Finish(PurgeFromSetup(options, stop, output));
    }
    if (options.Has("--folder")) {
        return output.Finish(PurgeFolder(options, stop, output));
    }
    return output.Finish(PurgeFiles(options, stop, output));
}

}  // namespace vorlane::cli
