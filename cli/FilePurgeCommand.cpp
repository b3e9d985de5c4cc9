#include <iostream>
#include <set>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/OptionTables.h"
#include "cli/ProgressLine.h"
#include "cli/TargetOptions.h"
#include "engine/FilePurge.h"
#include "engine/PurgeTypes.h"
#include "operation/Operation.h"
#include "operation/OperationChoices.h"
#include "platform/FolderWalk.h"
#include "platform/Platform.h"
#include "platform/Terminal.h"
#include "platform/VolumeTable.h"
#include "support/PathChecks.h"
#include "support/Strings.h"

namespace vorlane::cli {
namespace {

// One call for every pass, as a folder purge makes it: one descriptor for all of them.
// A stop, between passes or inside an overwrite, leaves the file unpurged at its size.
FileResult PurgeFile(FilePurger& purger, const std::string& path, const OperationChoices& choices,
                     const StopRequest& stop, ProgressLine& progress) {
    const std::int64_t size = platform::Sys().StatNoFollow(path).size;
    const int passes = choices.numberOfPasses;
    PurgeHooks hooks;
    hooks.betweenPasses = [&](int passesDone) {
        progress.StartPass(path, passesDone + 1, passes, size);
        return !stop.Requested();
    };
    hooks.stopRequested = [&stop] { return stop.Requested(); };
    progress.StartPass(path, 1, passes, size);
    const FileResult result = PurgeFileAtPath(purger, path, PurgeRequestFor(choices), hooks);
    progress.StartPass(path, 0, passes, size);
    return result;
}

// Once per volume: where overwriting in place cannot reach the old data.
void NoteCopyOnWrite(const platform::VolumeTable& volumes, const std::string& path,
                     std::set<dev_t>& noted) {
    platform::UniqueFd folder;
    platform::FileStatus status;
    if (platform::Sys().OpenFolderPath(platform::SplitPath(path).folder, folder, status) ||
        !noted.insert(status.device).second) {
        return;
    }
    const std::string note = CopyOnWriteNote(volumes, folder.Get());
    if (!note.empty()) {
        std::cout << note << '\n';
    }
}

std::string LineText(const FileResult& result, bool slackOnly) {
    if (result.Purged() && slackOnly) {
        return "slack purged";
    }
    return (result.Purged() ? "" : "not purged: ") + OutcomeText(result, OutcomeForm::Line);
}

}  // namespace

int PurgeFiles(Options& options, StopRequest& stop) {
    constexpr const char* kCommand = "purge";
    for (const std::string& name : options.Given()) {
        if (IsFolderPurgeOnlyOption(name)) {
            return UsageError(kCommand, "option '" + name + "' needs --folder");
        }
    }
    OperationChoices choices;
    if (!ReadPurgeTypeAndPasses(options, choices.purgeType, choices.numberOfPasses)) {
        return UsageError(kCommand, options.Error());
    }
    if (options.Operands().empty()) {
        return UsageError(kCommand, "missing file operand");
    }
    choices.options.doNotDeletePurgedFiles = options.Has("--keep");
    choices.options.purgeSlackOnly = options.Has("--slack-only");
    choices.options.verifyLastOverwrite = options.Has("--verify");
    choices.options.okToPurgeReadOnlyFiles = !options.Has("--no-read-only");
    choices.options.okToPurgeSystemFiles = options.Has("--system");
    choices.safety = SafetyFrom(options);
    LoadProgramTexts();
    ProgressLine progress(platform::IsTerminal(platform::kStandardError),
                          GetNumOverwritesPerPass(choices.purgeType), [] { return true; });
    FilePurger purger;
    const platform::VolumeTable volumes;
    std::set<dev_t> noted;
    int status = kExitAllDone;
    for (const std::string& path : options.Operands()) {
        if (stop.Requested()) {
            break;
        }
        std::string text;
        if (const std::error_code unreachable = NameLookupError(path)) {
            text = "not purged: " + platform::SystemErrorText(unreachable);
            status = HeavierExitStatus(status, kExitNotAllPurged);
        } else {
            // The purge resolves the folder once and works from its descriptor from then on.
            progress.WithLineCleared([&] { NoteCopyOnWrite(volumes, path, noted); });
            const FileResult result = PurgeFile(purger, path, choices, stop, progress);
            status = HeavierExitStatus(status, ExitStatusOf(result.outcome));
            text = LineText(result, choices.options.purgeSlackOnly);
        }
        progress.WithLineCleared(
            [&] { std::cout << ShownName(path) << ": " << text << std::endl; });
    }
    return stop.Requested() ? kExitStopped : status;
}

}  // namespace vorlane::cli
