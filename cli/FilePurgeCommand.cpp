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
#include "support/Strings.h"

namespace vorlane::cli {
namespace {

struct FilePurgeChoices {
    int purgeType = 0;
    int passes = 0;
    bool keep = false;
    bool slackOnly = false;
    bool okReadOnly = true;
    bool okSystem = false;
    SafetyOverrides safety;
};

// One call for every pass, as a folder purge makes it: one descriptor for all of them.
// A stop, between passes or inside an overwrite, leaves the file unpurged at its size.
FileResult PurgeFile(FilePurger& purger, const std::string& path, const FilePurgeChoices& choices,
                     const StopRequest& stop, ProgressLine& progress) {
    const std::int64_t size = platform::Sys().StatNoFollow(path).size;
    PurgeRequest request;
    request.purgeType = choices.purgeType;
    request.passes = choices.passes;
    request.deleteFile = !choices.keep;
    request.slackOnly = choices.slackOnly;
    request.okToPurgeReadOnly = choices.okReadOnly;
    request.okToPurgeSystem = choices.okSystem;
    request.allowHardLinks = choices.safety.allowHardLinks;
    PurgeHooks hooks;
    hooks.betweenPasses = [&](int passesDone) {
        progress.StartPass(path, passesDone + 1, choices.passes, size);
        return !stop.Requested();
    };
    hooks.stopRequested = [&stop] { return stop.Requested(); };
    progress.StartPass(path, 1, choices.passes, size);
    const FileResult result = PurgeFileAtPath(purger, path, request, hooks);
    progress.StartPass(path, 0, choices.passes, size);
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
    FilePurgeChoices choices;
    if (!ReadPurgeTypeAndPasses(options, choices.purgeType, choices.passes)) {
        return UsageError(kCommand, options.Error());
    }
    if (options.Operands().empty()) {
        return UsageError(kCommand, "missing file operand");
    }
    choices.keep = options.Has("--keep");
    choices.slackOnly = options.Has("--slack-only");
    choices.okReadOnly = !options.Has("--no-read-only");
    choices.okSystem = options.Has("--system");
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
        if (const std::string problem = platform::NameProblem(path); !problem.empty()) {
            text = "not purged: " + problem;
            status = HeavierExitStatus(status, kExitNotAllPurged);
        } else {
            // The purge resolves the folder once and works from its descriptor from then on.
            progress.WithLineCleared([&] { NoteCopyOnWrite(volumes, path, noted); });
            const FileResult result = PurgeFile(purger, path, choices, stop, progress);
            status = HeavierExitStatus(status, ExitStatusOf(result.outcome));
            text = LineText(result, choices.slackOnly);
        }
        progress.WithLineCleared(
            [&] { std::cout << ShownName(path) << ": " << text << std::endl; });
    }
    return stop.Requested() ? kExitStopped : status;
}

}  // namespace vorlane::cli
