#include "operation/TrashPurge.h"

#include "engine/DriveInfo.h"
#include "engine/ExclusionRules.h"
#include "operation/Operation.h"
#include "operation/RecursivePurge.h"
#include "platform/MountTable.h"
#include "platform/Platform.h"
#include "support/Folders.h"
#include "support/Strings.h"

namespace vorlane {
namespace {

bool IsOrLiesIn(const std::string& path, const std::string& folder) {
    return path == folder || (path.size() > folder.size() && path.starts_with(folder) &&
                              (folder.ends_with('/') || path[folder.size()] == '/'));
}

// Both sides resolved, so that a Trash reached through a link or ".." is still known.
std::string Resolved(const std::string& path) {
    return platform::ResolvePath(platform::AbsolutePath(path));
}

void Tell(OperationInterface& ui, const std::string& text, const std::string& title,
          MessageIcon icon = MessageIcon::None) {
    ui.Ask({text, title, MessageButtons::Ok, 1, icon});
}

// Files in the folder's whole tree; a missing folder holds none.
std::int32_t FilesInTree(const std::string& folder) {
    if (!FolderIsDirectory(folder)) {
        return 0;
    }
    return FolderSize(folder, "*.*", std::nullopt, false).count;
}

bool HoldsNothing(const std::string& folder) {
    return !FolderIsDirectory(folder) || FolderIsEmpty(folder);
}

std::string PurgeQuestion(std::int32_t files, const std::string& drive) {
    if (files == 1) {
        return "There is one file or folder in the Trash which was deleted from Drive " + drive +
               ".\r\nAre you sure you wish to purge this file?";
    }
    return "There are files or folders in the Trash which were deleted from Drive " + drive +
           ".\r\nAre you sure you wish to purge these files?";
}

std::string Outcome(const TrashPurgeResult& result, const std::string& drive) {
    std::string text = result.purged == 1
                           ? "One file in the Trash for Drive " + drive + " has been purged."
                           : " " + std::to_string(result.purged) +
                                 " files in the Trash for Drive " + drive + " have been purged.";
    if (result.failed > 0) {
        text += "\r\n" + std::to_string(result.failed) +
                (result.failed == 1 ? " file could not be purged." : " files could not be purged.");
    }
    return text;
}

// The fixed options of a Trash purge: everything in it goes, and its folders with it.
OperationChoices TrashChoices(const OperationChoices& choices, const std::string& trash) {
    OperationChoices trashChoices = choices;
    trashChoices.targetFolder = trash;
    trashChoices.targetFilespec = "*.*";
    trashChoices.subdirectories = true;
    trashChoices.dateRestriction.active = false;
    trashChoices.options = {.doNotDeletePurgedFiles = false,
                            .okToPurgeReadOnlyFiles = true,
                            .okToPurgeSystemFiles = true,
                            .okToPurgeSensitiveFiles = true,
                            .folderNamesOnly = false,
                            .confirmFiles = false,
                            .deleteEmptyFolders = true};
    return trashChoices;
}

// The deleted files first, then the .trashinfo files that name where they came from; a
// stop between the two leaves every remaining file with its .trashinfo.
TrashPurgeResult Purge(const OperationChoices& choices, const std::string& trash,
                       OperationInterface& ui, OperationControl& control) {
    control.Reset();
    ui.ReplaceReportTail(0, {});
    Operation op(TrashChoices(choices, trash), ui, control);
    op.State().purging = true;
    op.State().purgingTrash = true;
    const std::string root = WithTrailingSeparator(Resolved(trash));
    TrashPurgeResult result{true};
    VorlPurgeRecursive(op, root + "files", "*.*");
    result.purged = op.State().purgedFileCount;
    if (!op.Stopped()) {
        VorlPurgeRecursive(op, root + "info", "*.*");
    }
    result.failed = op.State().fileCount - op.State().purgedFileCount;
    result.stopped = op.Stopped();
    return result;
}

}  // namespace

std::string TrashRootOf(const std::string& folder) {
    const std::string path = Resolved(folder);
    for (const std::string& trash : FindProtectedPlaces().trashFolders) {
        if (FolderIsDirectory(trash) && IsOrLiesIn(path, Resolved(trash))) {
            return trash;
        }
    }
    return {};
}

std::vector<std::string> TrashFoldersOn(const std::string& mountPoint) {
    std::vector<std::string> found;
    for (const std::string& trash : FindProtectedPlaces().trashFolders) {
        if (FolderIsDirectory(trash) && DriveOfPath(trash) == mountPoint) {
            found.push_back(trash);
        }
    }
    return found;
}

TrashPurgeResult PurgeTrash(const std::string& trashFolder, const OperationChoices& choices,
                            OperationInterface& ui, OperationControl& control) {
    const std::string drive = DriveOfPath(trashFolder);
    const std::string title = "Purge files in Trash deleted from Drive " + drive;
    if (const std::error_code error = CountSubfolders(trashFolder).error) {
        Tell(ui,
             "Cannot access Trash for Drive " + drive + ":\r\n" +
                 platform::Platform::ErrorText(error),
             title, MessageIcon::Exclamation);
        return {};
    }
    const std::string root = WithTrailingSeparator(trashFolder);
    if (HoldsNothing(root + "files") && HoldsNothing(root + "info")) {
        Tell(ui, "The Trash is empty.", title);
        return {};
    }
    const std::int32_t files = FilesInTree(root + "files");
    if (files == 0) {
        Tell(ui,
             "The Trash does not contain any files which were deleted from Drive " + drive + ".",
             title);
        return {};
    }
    if (ui.Ask({PurgeQuestion(files, drive), title, MessageButtons::YesNo, 1,
                MessageIcon::Question}) != MessageAnswer::Yes) {
        return {};
    }
    const TrashPurgeResult result = Purge(choices, trashFolder, ui, control);
    Tell(ui, Outcome(result, drive), title);
    return result;
}

}  // namespace vorlane
