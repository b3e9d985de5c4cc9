#include "operation/PurgeCommands.h"

#include "engine/FileOperations.h"
#include "operation/ConfirmationMessage.h"
#include "operation/FileListing.h"
#include "operation/ProcessFiles.h"
#include "operation/RecursivePurge.h"
#include "operation/TargetMatch.h"
#include "platform/FolderWalk.h"
#include "platform/MountTable.h"
#include "platform/Platform.h"
#include "support/Dates.h"
#include "support/Folders.h"
#include "support/Strings.h"
#include "tools/FolderTreeSize.h"

namespace vorlane {
namespace {

constexpr std::int32_t kConfirmationCountLimit = 1001;
constexpr std::int32_t kDetailsCountLimit = 100;
constexpr const char* kPurgeCaption = "Purge files";
// A listing of a tree may hold files, folders or both.
constexpr const char* kTreeListCaption = "List files and/or folders";
constexpr std::string_view kRootRefused = "The folder / holds the whole system: it is not purged.";

void Tell(OperationInterface& ui, const std::string& text, const std::string& title,
          MessageIcon icon) {
    ui.Ask({text, title, MessageButtons::Ok, 1, icon});
}

std::string TargetFile(const OperationChoices& choices) {
    return WithTrailingSeparator(choices.targetFolder) + choices.targetFilespec;
}

bool SingleFile(const OperationChoices& choices) {
    return NamesOneFile(choices) && !choices.subdirectories;
}

bool CheckSingleFileDate(const OperationChoices& choices, OperationInterface& ui,
                         const std::string& title) {
    if (!SingleFile(choices) || !choices.dateRestriction.active) {
        return true;
    }
    const std::optional<std::int32_t> jdn = FileDateJdn(TargetFile(choices));
    if (!jdn) {
        Tell(ui, "Cannot ascertain the date of the specified file.", title, MessageIcon::None);
        return false;
    }
    if (!DayIsCovered(choices.dateRestriction, jdn)) {
        Tell(ui,
             "The date of the specified file is not before " +
                 ShortDateText(choices.dateRestriction.onlyBeforeJdn) + ".",
             title, MessageIcon::None);
        return false;
    }
    return true;
}

// Matching files directly in the target folder, or why it cannot be read.
FolderCount DirectMatches(const OperationChoices& choices,
                          const platform::WalkFolder* held = nullptr) {
    return CountNamedTargets(choices, held);
}

void TellUnreadable(OperationInterface& ui, const std::string& folder, const std::string& why,
                    const std::string& title) {
    Tell(ui, "Folder " + ShownName(WithTrailingSeparator(folder)) + " cannot be read: " + why + ".",
         title, MessageIcon::Exclamation);
}

bool IsRootFolder(const platform::FileStatus& folder) {
    const platform::FileStatus root = platform::Sys().StatNoFollow("/");
    return folder.device == root.device && folder.inode == root.inode;
}

std::optional<std::int32_t> CountTargetFiles(const OperationChoices& choices,
                                             OperationInterface& ui, OperationControl& control,
                                             std::int32_t limit, const platform::WalkFolder* target,
                                             double* sumOfSizes = nullptr) {
    Operation op(choices, ui, control);
    op.HoldTarget(target);
    const std::optional<std::int32_t> count = CountPurgeTargets(op, limit);
    if (count && sumOfSizes != nullptr) {
        *sumOfSizes = op.State().sumOfSizes;
    }
    return count;
}

OperationResult Finish(Operation& op, const std::string& caption) {
    op.Ui().ShowCaption(caption);
    return {true, false, op.State(), op.ReportText(), op.Stopped(), caption};
}

// sumOfSizes: the matching files' bytes, 0 when not counted.
std::optional<std::int32_t> CountForConfirmation(const OperationChoices& choices,
                                                 OperationInterface& ui, OperationControl& control,
                                                 const platform::WalkFolder& target,
                                                 double& sumOfSizes) {
    if (SingleFile(choices)) {
        platform::FileStatus file;
        if (!platform::Sys().StatAt(target.fd.Get(), choices.targetFilespec, file)) {
            sumOfSizes = static_cast<double>(file.size);
        }  // else the purge tells why; the display goes without a total
        return 1;
    }
    ui.ShowProgress("Now counting files ...");
    const std::optional<std::int32_t> count =
        CountTargetFiles(choices, ui, control, kConfirmationCountLimit, &target, &sumOfSizes);
    ui.ShowProgress("");
    return count;
}

OperationResult NothingMatched() {
    OperationResult result;
    result.nothingMatched = true;
    return result;
}

// dateFailed: a single file fails the date restriction, so nothing is asked.
bool ConfirmWithPerson(OperationChoices& choices, OperationInterface& ui,
                       std::optional<std::int32_t> count, bool& dateFailed) {
    const ConfirmationMessage message = BuildConfirmationMessage(
        {ShownName(choices.targetFolder), ShownName(choices.targetFilespec), !NamesOneFile(choices),
         choices.subdirectories, choices.dateRestriction.active,
         choices.dateRestriction.onlyBeforeJdn, count});
    if (!message.goOn) {
        dateFailed = true;
        return false;
    }
    if (ui.ConfirmPurge(message.text, PurgeYesCaption(count, choices.subdirectories),
                        choices.options)) {
        return true;
    }
    Tell(ui, "No files purged.", "Purge cancelled", MessageIcon::None);
    return false;
}

bool ListFileDetails(const OperationChoices& choices, bool listFolders) {
    if (!choices.subdirectories) {
        return true;
    }
    if (!listFolders) {
        return false;
    }
    return !FolderSize(choices.targetFolder, choices.targetFilespec, kDetailsCountLimit, false)
                .limitReached;
}

bool ReportNoFilesToList(const OperationChoices& choices, OperationInterface& ui) {
    const FolderCount matches = DirectMatches(choices);
    if (matches.error) {
        TellUnreadable(ui, choices.targetFolder, platform::Platform::ErrorText(matches.error),
                       "List files");
        return true;
    }
    if (choices.subdirectories || matches.count > 0) {
        return false;
    }
    const std::string spec = ShownName(choices.targetFilespec);
    const std::string folder = ShownName(choices.targetFolder);
    std::string text = "File " + spec + " not found.";
    if (spec == kAllFiles) {
        text = "There are no files in " + folder + ".";
    } else if (!NamesOneFile(choices)) {
        text = "There are no files in " + folder + " matching " + spec + ".";
    }
    Tell(ui, text, "List files", MessageIcon::Exclamation);
    return true;
}

}  // namespace

std::string ListCaption(const std::string& fileSpec, bool fileDetails, bool listFolders) {
    if (!fileDetails) {
        return listFolders ? "List folders" : "Estimate purge time";
    }
    if (fileSpec == kAllFiles) {
        return "List all files";
    }
    return HasWildcard(fileSpec) ? "List files " + fileSpec : "List files";
}

bool CheckTarget(const OperationChoices& choices, OperationInterface& ui, bool purge) {
    const std::string title = purge ? "Purge files" : "List files";
    if (choices.targetFolder.empty() || choices.targetFilespec.empty()) {
        Tell(ui, "No files specified.", "Error", MessageIcon::Exclamation);
        return false;
    }
    if (NamesOneFile(choices) && !FileExists(TargetFile(choices))) {
        Tell(ui, "The file " + ShownName(choices.targetFilespec) + " does not exist.", title,
             MessageIcon::Exclamation);
        return false;
    }
    if (!FolderIsDirectory(choices.targetFolder)) {
        Tell(ui, "Folder does not exist.", "Error", MessageIcon::Exclamation);
        return false;
    }
    return CheckSingleFileDate(choices, ui, title);
}

OperationResult RunPurge(const OperationChoices& snapshot, OperationInterface& ui,
                         OperationControl& control) {
    OperationChoices choices = snapshot;
    // The target is resolved and opened once, here: the count, the confirmation and the
    // walk all see this folder, whatever its name leads to later.
    platform::WalkFolder target;
    if (const std::error_code error = platform::OpenTargetFolder(choices.targetFolder, target)) {
        TellUnreadable(ui, choices.targetFolder, platform::Platform::ErrorText(error),
                       kPurgeCaption);
        return {};
    }
    // From here on every message names the folder the descriptor holds.
    choices.targetFolder = target.path == "/" ? target.path : WithoutTrailingSeparator(target.path);
    if (choices.safety.preserveRoot && IsRootFolder(target.status)) {
        Tell(ui, std::string(kRootRefused), kPurgeCaption, MessageIcon::Exclamation);
        return {};
    }
    const bool multipleFiles = !NamesOneFile(choices);
    const FolderCount matches = DirectMatches(choices, &target);
    if (matches.error) {
        TellUnreadable(ui, choices.targetFolder, platform::Platform::ErrorText(matches.error),
                       kPurgeCaption);
        return {};
    }
    if (!choices.subdirectories && matches.count == 0) {
        Tell(ui,
             multipleFiles ? "There are no files in " + ShownName(choices.targetFolder) +
                                 " matching " + ShownName(choices.targetFilespec) + "."
                           : "File " + ShownName(choices.targetFilespec) + " not found.",
             "Purge files", MessageIcon::Exclamation);
        return NothingMatched();
    }
    double sumOfSizes = 0;
    const std::optional<std::int32_t> count =
        CountForConfirmation(choices, ui, control, target, sumOfSizes);
    if (count == 0) {
        Tell(ui,
             "There are no files in " + ShownName(choices.targetFolder) +
                 " or in any of its subfolders matching " + ShownName(choices.targetFilespec) +
                 (choices.dateRestriction.active ? " (possibly due to the date restriction)" : "") +
                 ".",
             "Purge files", MessageIcon::Information);
        return NothingMatched();
    }
    bool dateFailed = false;
    if (!ConfirmWithPerson(choices, ui, count, dateFailed)) {
        return dateFailed ? NothingMatched() : OperationResult{};
    }
    ui.ShowCaption(kPurgeCaption);
    Operation op(choices, ui, control);
    op.HoldTarget(&target);
    op.SetProgressTotals(count.value_or(0), sumOfSizes);
    op.State().purging = true;
    ProcessFiles(op);
    return Finish(op, kPurgeCaption);
}

OperationResult RunList(const OperationChoices& choices, OperationInterface& ui,
                        OperationControl& control, bool listFolders) {
    if (ReportNoFilesToList(choices, ui)) {
        return NothingMatched();
    }
    Operation op(choices, ui, control);
    OperationState& state = op.State();
    state.listingFiles = true;
    state.listFolders = listFolders || !choices.subdirectories;
    state.fileDetails = ListFileDetails(choices, state.listFolders);
    const std::string caption =
        ListCaption(choices.targetFilespec, state.fileDetails, state.listFolders);
    ui.ShowCaption(caption);
    ProcessFiles(op);
    return Finish(op, choices.subdirectories ? std::string(kTreeListCaption) : caption);
}

}  // namespace vorlane
