#include <iostream>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/OptionTables.h"
#include "cli/ProgressLine.h"
#include "cli/TargetOptions.h"
#include "engine/FilePurge.h"
#include "engine/PurgeTypes.h"
#include "operation/OperationChoices.h"
#include "platform/MountTable.h"
#include "platform/Platform.h"
#include "platform/Terminal.h"

namespace vorlane::cli {
namespace {

struct FilePurgeChoices {
    int purgeType = 0;
    int passes = 0;
    bool keep = false;
    bool okReadOnly = true;
    bool okSystem = false;
    SafetyOverrides safety;
};

struct FileOutcome {
    PurgeResultCode code = purge_result::kPurged;
    bool stopped = false;  // a stop signal came between passes
};

// Each pass is one call with one pass, and only the last pass deletes, exactly as a
// folder purge does it, so a file looks untouched between passes; a stop between
// passes leaves the file as it was, size and times included.
FileOutcome PurgeFile(const std::string& path, const std::string& shownName,
                      const FilePurgeChoices& choices, const StopRequest& stop,
                      ProgressLine& progress) {
    FileOutcome outcome;
    const std::int64_t size = platform::Sys().StatNoFollow(path).size;
    for (int pass = 1; pass <= choices.passes; ++pass) {
        const bool last = pass == choices.passes;
        progress.StartPass(shownName, pass, choices.passes, size);
        // The purge call that takes choices.safety replaces this one.
        [[maybe_unused]] const SafetyOverrides& safety = choices.safety;
        if (!VorlPurgeFile(path, choices.purgeType, 1, last && !choices.keep, choices.okReadOnly,
                           choices.okSystem, outcome.code)) {
            break;
        }
        if (!last && stop.Requested()) {
            outcome.stopped = true;
            break;
        }
    }
    progress.StartPass(shownName, 0, choices.passes, size);
    return outcome;
}

std::string OutcomeText(const FileOutcome& outcome) {
    if (outcome.stopped) {
        return "not purged: stopped";
    }
    return (outcome.code == purge_result::kPurged ? "" : "not purged: ") +
           std::string(PurgeResultMeaning(outcome.code));
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
    choices.okReadOnly = !options.Has("--no-read-only");
    choices.okSystem = options.Has("--system");
    choices.safety = SafetyFrom(options);
    LoadProgramTexts();
    ProgressLine progress(platform::IsTerminal(platform::kStandardError),
                          GetNumOverwritesPerPass(choices.purgeType), [] { return true; });
    bool allPurged = true;
    for (const std::string& path : options.Operands()) {
        if (stop.Requested()) {
            break;
        }
        std::string text;
        if (const std::string problem = platform::NameProblem(path); !problem.empty()) {
            text = "not purged: " + problem;
            allPurged = false;
        } else {
            // The purge insists on the resolved name, so folders the user reached through
            // a link are resolved once, here, where the name still means what was meant.
            const FileOutcome outcome =
                PurgeFile(platform::ResolveParent(path), path, choices, stop, progress);
            allPurged = allPurged && !outcome.stopped && outcome.code == purge_result::kPurged;
            text = OutcomeText(outcome);
        }
        progress.WithLineCleared([&] { std::cout << path << ": " << text << std::endl; });
    }
    if (stop.Requested()) {
        return kExitStopped;
    }
    return allPurged ? kExitAllDone : kExitNotAllPurged;
}

}  // namespace vorlane::cli
