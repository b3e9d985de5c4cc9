#include "cli/FilePurgeCommand.h"

#include <iostream>
#include <set>

#include "cli/Arguments.h"
#include "cli/TargetOptions.h"
#include "cli/Usage.h"
#include "engine/FilePurge.h"
#include "engine/PurgeTypes.h"
#include "operation/Operation.h"
#include "platform/VolumeTable.h"

namespace vorlane::cli {
namespace {

struct FilePurgeChoices {
    int purgeType = 0;
    int passes = 0;
    bool keep = false;
    bool okReadOnly = true;
    bool okSystem = false;
};

// One call for every pass, as a folder purge makes it: one descriptor for all of them.
PurgeResultCode PurgeFile(FilePurger& purger, const std::string& path,
                          const FilePurgeChoices& choices, bool allowHardLinks) {
    PurgeRequest request;
    request.purgeType = choices.purgeType;
    request.passes = choices.passes;
    request.deleteFile = !choices.keep;
    request.okToPurgeReadOnly = choices.okReadOnly;
    request.okToPurgeSystem = choices.okSystem;
    request.allowHardLinks = allowHardLinks;
    return PurgeFileAtPath(purger, path, request);
}

// Once per volume: where overwriting in place cannot reach the old data.
void NoteCopyOnWrite(const platform::VolumeTable& volumes, const std::string& path,
                     std::set<dev_t>& noted) {
    const platform::FileStatus status = platform::Sys().StatNoFollow(path);
    if (status.kind == platform::FileKind::Missing || !noted.insert(status.device).second) {
        return;
    }
    const std::string note = CopyOnWriteNote(volumes, status.device);
    if (!note.empty()) {
        std::cout << note << '\n';
    }
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
    FilePurger purger;
    const platform::VolumeTable volumes;
    std::set<dev_t> noted;
    for (const std::string& path : args.Words()) {
        // The purge resolves the folder once and works from its descriptor from then on.
        NoteCopyOnWrite(volumes, path, noted);
        const PurgeResultCode result = PurgeFile(purger, path, *choices, false);
        allPurged = allPurged && result == purge_result::kPurged;
        std::cout << path << ": " << (result == purge_result::kPurged ? "" : "not purged: ")
                  << PurgeResultMeaning(result) << '\n';
    }
    return allPurged ? 0 : 1;
}

}  // namespace vorlane::cli
