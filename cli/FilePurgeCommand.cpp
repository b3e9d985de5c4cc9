#include "cli/FilePurgeCommand.h"

#include <iostream>

#include "cli/Arguments.h"
#include "cli/TargetOptions.h"
#include "cli/Usage.h"
#include "engine/FilePurge.h"
#include "engine/PurgeTypes.h"
#include "platform/MountTable.h"

namespace vorlane::cli {
namespace {

struct FilePurgeChoices {
    int purgeType = 0;
    int passes = 0;
    bool keep = false;
    bool okReadOnly = true;
    bool okSystem = false;
};

// Each pass is one call with one pass, and only the last pass deletes, exactly as a
// folder purge does it, so a file looks untouched between passes.
PurgeResultCode PurgeFile(const std::string& path, const FilePurgeChoices& choices) {
    PurgeResultCode result = purge_result::kPurged;
    for (int pass = 1; pass <= choices.passes; ++pass) {
        const bool last = pass == choices.passes;
        if (!VorlPurgeFile(path, choices.purgeType, 1, last && !choices.keep, choices.okReadOnly,
                           choices.okSystem, result)) {
            break;
        }
    }
    return result;
}

std::optional<FilePurgeChoices> ParseChoices(Arguments& args) {
    FilePurgeChoices choices;
    if (!ReadPurgeTypeAndPasses(args, choices.purgeType, choices.passes)) {
        return std::nullopt;
    }
    choices.keep = args.Has("--keep");
    choices.okReadOnly = !args.Has("--no-read-only");
    choices.okSystem = args.Has("--system");
    return choices;
}

}  // namespace

int RunFilePurgeCommand(const std::vector<std::string>& words) {
    Arguments args(words, {"--keep", "--no-read-only", "--system"}, {"--type", "--passes"});
    const auto choices = ParseChoices(args);
    if (!choices || args.Words().empty()) {
        return UsageError(args.Valid() ? "no file named" : args.Error());
    }
    bool allPurged = true;
    for (const std::string& path : args.Words()) {
        // The purge insists on the resolved name, so folders the user reached through a
        // link are resolved once, here, where the name still means what the user meant.
        const PurgeResultCode result = PurgeFile(platform::ResolveParent(path), *choices);
        allPurged = allPurged && result == purge_result::kPurged;
        std::cout << path << ": " << (result == purge_result::kPurged ? "" : "not purged: ")
                  << PurgeResultMeaning(result) << '\n';
    }
    return allPurged ? 0 : 1;
}

}  // namespace vorlane::cli
