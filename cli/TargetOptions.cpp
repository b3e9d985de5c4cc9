#include "cli/TargetOptions.h"

#include <cstdio>

#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "engine/DriveInfo.h"
#include "engine/PurgeTypes.h"
#include "operation/PurgeCommands.h"
#include "platform/FolderWalk.h"
#include "platform/Terminal.h"
#include "support/Dates.h"
#include "support/PathChecks.h"
#include "support/Strings.h"
#include "tools/DriveSpeeds.h"

namespace vorlane::cli {
namespace {

std::optional<std::int32_t> ParseDay(const std::string& text) {
    int year = 0;
    int month = 0;
    int day = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d%c", &year, &month, &day, &tail) != 3 ||
        !IsValidDate(year, month, day)) {
        return std::nullopt;
    }
    return DateToJdn(year, month, day);
}

}  // namespace

bool ReadPurgeTypeAndPasses(Options& options, int& purgeType, int& passes) {
    const auto type = options.IntValue("--type", 1, kPurgeTypeCount);
    if (!options.Valid()) {
        return false;
    }
    purgeType = type.value_or(1) - 1;
    const auto given = options.IntValue("--passes", kMinNumberOfPasses, MaxNumPasses(purgeType));
    passes = given.value_or(DefaultNumPasses(purgeType));
    return options.Valid();
}

std::string AbsoluteFolder(const std::string& folder) {
    platform::WalkFolder opened;
    if (folder.empty() || platform::OpenTargetFolder(folder, opened)) {
        return folder;  // the operation says why it cannot be read
    }
    return opened.path == "/" ? opened.path : opened.path.substr(0, opened.path.size() - 1);
}

bool EndsInLink(const std::string& folder) {
    platform::WalkFolder opened;
    const std::error_code error = platform::OpenTargetFolder(folder, opened);
    // A link as the last name fails the open with ENOTDIR (or ELOOP); the look at the
    // entry only chooses the words.
    return error == std::errc::too_many_symbolic_link_levels ||
           (error == std::errc::not_a_directory &&
            platform::SysFiles().StatNoFollow(folder).kind == platform::FileKind::Symlink);
}

Expected<OperationChoices, UsageFault> TargetChoices(Options& options) {
    using Fault = Unexpected<UsageFault>;
    OperationChoices choices;
    const auto folder = options.Value("--folder");
    if (!folder || folder->empty()) {
        return Fault({"option '--folder' is required"});
    }
    if (EndsInLink(*folder)) {
        // As rm -r LINK removes only the link, a link is no way into a tree to purge.
        return Fault({"'" + *folder +
                      "' is a symbolic link (or a link of /proc): not followed; name the folder "
                      "it leads to"});
    }
    choices.targetFolder = AbsoluteFolder(*folder);
    choices.targetFilespec = options.Value("--spec").value_or(std::string(kAllFiles));
    // A pattern means here what it means in a shell, never the windows' extension rule.
    choices.specRule = FileSpecRule::WholeName;
    if (choices.targetFilespec.empty()) {
        return Fault({"an empty --spec matches nothing; '*.*' is every file"});
    }
    choices.subdirectories = options.Has("--subfolders");
    if (const auto before = options.Value("--before")) {
        const auto day = ParseDay(*before);
        if (!day) {
            return Fault({"invalid date '" + *before + "' for --before: YYYY-MM-DD is needed"});
        }
        choices.dateRestriction = {true, *day};
    }
    if (!ReadPurgeTypeAndPasses(options, choices.purgeType, choices.numberOfPasses)) {
        return Fault({options.Error()});
    }
    choices.options = PurgeOptionsFrom(options);
    choices.safety = SafetyFrom(options);
    choices.batchSmallFiles = !options.Has("--no-batch");
    choices.keepReport = !options.Has("--no-keep-report");
    return choices;
}

PurgeOptions PurgeOptionsFrom(const Options& options) {
    PurgeOptions purge;
    purge.doNotDeletePurgedFiles = options.Has("--keep");
    purge.okToPurgeReadOnlyFiles = !options.Has("--no-read-only");
    purge.okToPurgeSystemFiles = options.Has("--system");
    purge.okToPurgeSensitiveFiles = options.Has("--sensitive");
    purge.folderNamesOnly = !options.Has("--file-names");
    purge.confirmFiles = options.Has("--confirm-each");
    purge.deleteEmptyFolders = !options.Has("--keep-empty-folders");
    purge.purgeSlackOnly = options.Has("--slack-only");
    purge.verifyLastOverwrite = options.Has("--verify");
    return purge;
}

SafetyOverrides SafetyFrom(const Options& options) {
    SafetyOverrides safety;
    safety.allowHardLinks = options.Has("--hard-links");
    safety.crossVolumes = options.Has("--cross-volumes");
    safety.preserveRoot = !options.Has("--no-preserve-root");
    return safety;
}

void AddDriveSpeed(OperationChoices& choices, std::optional<float> givenSpeed) {
    const std::string drive = DriveOfPath(choices.targetFolder);
    const float speed = givenSpeed ? *givenSpeed : StoredDriveSpeed(drive);
    if (speed > 0) {
        choices.drivePurgeSpeeds[drive] = speed;
    }
}

int CheckTargetForCommand(const OperationChoices& choices, OperationInterface& ui, bool purge) {
    const std::string verb = purge ? "purge" : "list";
    if (const std::error_code unusable = FolderAccessError(choices.targetFolder)) {
        PrintError("cannot " + verb + " in '" + ShownName(choices.targetFolder) +
                   "': " + platform::SystemErrorText(unusable));
        return kExitRefused;
    }
    if (NamesOneFile(choices)) {
        const std::string file =
            WithTrailingSeparator(choices.targetFolder) + choices.targetFilespec;
        if (const std::error_code unreachable = NameLookupError(file)) {
            PrintError("cannot " + verb + " '" + ShownName(file) +
                       "': " + platform::SystemErrorText(unreachable));
            return kExitNothingMatched;
        }
    }
    if (CheckTarget(choices, ui, purge)) {
        return kExitAllDone;
    }
    // A single file outside the date restriction matches nothing; any other refusal
    // (such as "/" as the folder) is a refusal.
    const bool singleFileDate =
        NamesOneFile(choices) && !choices.subdirectories && choices.dateRestriction.active;
    return singleFileDate ? kExitNothingMatched : kExitRefused;
}

}  // namespace vorlane::cli
