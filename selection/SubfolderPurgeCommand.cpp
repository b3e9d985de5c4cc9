#include "selection/SubfolderPurgeCommand.h"

#include <algorithm>
#include <memory>

#include "engine/SystemFolders.h"
#include "platform/FolderWalk.h"
#include "platform/MountTable.h"
#include "platform/Platform.h"
#include "selection/TargetCommands.h"
#include "selection/TargetDisplay.h"
#include "support/Folders.h"
#include "support/Strings.h"

namespace vorlane {
namespace {

constexpr std::size_t kListedPaths = 6;
constexpr std::size_t kLongPath = 40;
constexpr std::int32_t kFilesInWords = 21;

std::string Plural(std::int32_t n) {
    return n == 1 ? "" : "s";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    if (const auto at = text.find(from); at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string NotDoneText(std::int32_t files, std::int32_t folders) {
    if (files > 0 && folders > 0) {
        return std::to_string(files) + " file" + Plural(files) + " could not be deleted\nand " +
               std::to_string(folders) + " folder" + Plural(folders) + " could not be removed.";
    }
    if (files > 0) {
        return " " + std::to_string(files) + " file" + Plural(files) + " could not be deleted.";
    }
    return " " + std::to_string(folders) + " folder" + Plural(folders) + " could not be removed.";
}

}  // namespace

std::string SystemTopFolderWarning(const std::string& topFolder) {
    if (!IsSystemFolderPath(topFolder)) {
        return {};
    }
    return "You have selected the " + topFolder +
           " folder!\nThis folder contains the files for the operating system for\nthe PC that "
           "you are using. Purging files in this folder\nwill may make your computer unbootable "
           "and unusable\nunless you reinstall the operating system.\n\nAre you SURE that you "
           "wish to purge files\nin some or all subfolders of this folder?";
}

std::string SystemSubfolderWarning(const std::vector<std::string>& selected) {
    const auto found = std::find_if(selected.begin(), selected.end(), IsSystemFolderPath);
    if (found == selected.end()) {
        return {};
    }
    return "You have included the " + *found +
           " folder!\nIf this folder contains the files for the operating system for\nthe PC "
           "that you are using then purging the files in this folder\nwill almost certainly make "
           "your computer unbootable and unusable\nunless you reinstall the operating "
           "system.\n\nAre you SURE that you wish to purge all files in that folder (and its "
           "subfolders)?";
}

std::vector<std::string> ProgramFolderWarnings(const std::vector<std::string>& selected) {
    std::vector<std::string> warnings;
    for (const char* programs : {"/opt", "/usr/local"}) {
        for (const std::string& path : selected) {
            if (WithoutTrailingSeparator(path) == programs) {
                warnings.push_back(
                    "You have included the " + path +
                    " folder!\nThis folder normally contains many files allowing execution of "
                    "installed programs.\nIf you delete these files then you won't be able to "
                    "run these programs.\n\nAre you SURE that you wish to purge all files in "
                    "that folder (and its subfolders)?");
                break;
            }
        }
    }
    return warnings;
}

std::string SubfolderConfirmationText(const SubfolderChoice& choice, bool dateRestricted) {
    const auto& paths = choice.paths;
    std::string text;
    if (paths.size() == 1) {
        text =
            "One folder will be purged:" + std::string(paths[0].size() >= kLongPath ? "\n" : " ") +
            paths[0];
    } else {
        text = NumberWords(static_cast<std::int64_t>(paths.size()), false) +
               " folders will be purged:";
        for (std::size_t i = 0; i < std::min(paths.size(), kListedPaths); ++i) {
            text += "\n" + paths[i];
        }
        if (paths.size() > kListedPaths) {
            text += "\nand " + std::to_string(paths.size() - kListedPaths) + " more.";
        }
    }
    text += "\n\nThe total size of the files to be purged is " +
            std::string(choice.sizeIsLowerBound ? "over " : "") + SizeText(choice.totalSize, 1) +
            ".";
    if (choice.sizeIsLowerBound) {
        text +=
            "\nNote that not all files in each folder were checked for size\nso the actual "
            "total size may be MUCH greater than this.";
    }
    if (dateRestricted) {
        text +=
            "\n\nNote also that THE CURRENT DATE RESTRICTION DOES NOT APPLY\nwhen purging "
            "folders.  ALL files in the selected subfolders\n(and their subfolders) will be "
            "purged regardless of date.";
    }
    return text;
}

std::string FilesInSubfoldersText(std::int32_t files, std::size_t subfolders) {
    std::string text =
        files == 1 ? "One file in "
                   : (files <= kFilesInWords ? NumberWords(files, false) : std::to_string(files)) +
                         " files in ";
    text += subfolders == 1
                ? "one subfolder "
                : LowerCaseText(NumberWords(static_cast<std::int64_t>(subfolders), false)) +
                      " subfolders ";
    return text + (files == 1 ? "is " : "are ");
}

void SubfolderPurgeCommand::Tell(const std::string& text, const std::string& caption,
                                 MessageIcon icon) {
    dialogs_.Ask({text, caption, MessageButtons::Ok, 1, icon});
}

bool SubfolderPurgeCommand::ShowSubfolderSelection(const std::string& top,
                                                   const std::string& caption,
                                                   SubfolderChoice& choice) {
    if (IsTrashFolder(top)) {
        Tell(top + " cannot be selected as the top folder.", caption, MessageIcon::None);
        return false;
    }
    if (top != selectionTop_) {
        selected_.clear();
    }
    choice =
        hooks_.chooseSubfolders(top, "Select subfolders of " + top + " to be purged.", selected_);
    if (!choice.accepted) {
        Tell("Selection cancelled.", "Folder selection", MessageIcon::None);
        return false;
    }
    selectionTop_ = top;
    selected_ = choice.paths;
    return true;
}

bool SubfolderPurgeCommand::WarningsAccepted(const std::string& caption) {
    std::vector<std::string> warnings = ProgramFolderWarnings(selected_);
    if (const std::string system = SystemSubfolderWarning(selected_); !system.empty()) {
        warnings.insert(warnings.begin(), system);
    }
    return std::all_of(warnings.begin(), warnings.end(), [&](const std::string& warning) {
        return AskYesNo(dialogs_, warning, caption);
    });
}

void SubfolderPurgeCommand::Walk(const std::string& top, const std::string& caption,
                                 std::function<void()> then) {
    hooks_.runOnWorker(
        [this, top, caption] { VorlPurgeRecursive2(run_, top, caption, control_, workerUi_); },
        std::move(then));
}

void SubfolderPurgeCommand::CountFiles(const std::string& top, const std::string& caption,
                                       std::function<void()> counted) {
    run_ = SubfolderPurgeState{};
    run_.topFolder = top;
    run_.selectedSubfolders = selected_;
    run_.purgeType = state_.purgeType.GetPurgeType();
    run_.numberOfPasses = state_.purgeType.GetNumberOfPasses();
    run_.protectedPlaces = FindProtectedPlaces();
    run_.ResetCounters();
    run_.countingMode = true;
    control_.Reset();  // a key pressed before the command does not stop it
    Walk(top, caption, [this, counted = std::move(counted)] {
        state_.labels.purgeFoldersMessage.clear();
        if (!control_.InterruptRequested()) {
            counted();
        }
    });
}

void SubfolderPurgeCommand::Purge(const std::string& top, const std::string& caption) {
    state_.labels.subdirectories2 = "The folder with selected subfolders is " + top + "\n\n" +
                                    FilesInSubfoldersText(run_.filesCounted, selected_.size()) +
                                    "being purged.";
    state_.labels.topLevelFolder.clear();
    state_.labels.largePurgeMessage =
        "To interrupt this operation upon completion of the current file purge,\npress the F10 "
        "key twice and wait for the 'Cancel?' query.";
    hooks_.refresh();
    control_.ClearInterrupt();
    run_.countingMode = false;
    Walk(top, caption, [this, top, caption] {
        state_.labels.largePurgeMessage.clear();
        state_.labels.purgeFoldersMessage.clear();
        Finish(top, caption);
    });
}

void SubfolderPurgeCommand::Finish(const std::string& top, const std::string& caption) {
    if (run_.filesNotDeleted > 0 || run_.foldersNotRemoved > 0) {
        Tell(NotDoneText(run_.filesNotDeleted, run_.foldersNotRemoved), caption, MessageIcon::None);
    }
    if (control_.InterruptRequested()) {
        state_.labels.largePurgeMessage =
            "The top folder was " + top + "\nPurge of selected subfolders was stopped.";
        control_.ClearInterrupt();
    } else {
        // Only the files really purged: a file that failed is not reported as gone.
        const std::string done = FilesInSubfoldersText(run_.filesPurged, selected_.size());
        state_.labels.largePurgeMessage = "The folder with selected subfolders was " + top + "\n" +
                                          Replaced(Replaced(done, "are ", "have "), "is ", "has ") +
                                          "been purged.";
    }
    state_.labels.subdirectories2.clear();
}

void SubfolderPurgeCommand::TakeFolderWithoutSubfolders(const std::string& folder, int files,
                                                        const std::string& caption) {
    if (files > 0) {
        Tell(folder +
                 " has no subfolders.\n\nIf you wish to purge the files in this folder\nthen "
                 "click on 'Purge files'.",
             caption, MessageIcon::Information);
        state_.choices.targetFolder = folder;
        state_.choices.targetFilespec = kAllFiles;
        state_.choices.subdirectories = false;
        ShowTarget(state_);
        ShowSubfoldersChoice(state_);
        return;
    }
    if (!AskYesNo(dialogs_, folder + " is empty.\nDo you wish to delete this folder?", caption)) {
        return;
    }
    if (!platform::Sys().RemoveEmptyFolder(folder)) {
        state_.labels.topLevelFolder = folder + " has been deleted.";
    } else {
        Tell("Cannot remove " + folder + ".", caption, MessageIcon::Exclamation);
    }
}

void SubfolderPurgeCommand::PurgeFolders(const std::string& caption) {
    state_.labels.topLevelFolder.clear();
    state_.labels.largePurgeMessage.clear();
    if (!AskYesNo(dialogs_,
                  "Do you wish to purge all files in\nselected subfolders of some folder?\n(Note "
                  "that all files in all subfolders of the\nselected subfolders will also be "
                  "purged.)\n\nIf so, first select a folder, then select the subfolders\nof "
                  "that folder that you wish to purge.",
                  caption)) {
        return;
    }
    const std::string chosen = dialogs_.BrowseForFolder(
        "Specify the folder containing the subfolders\nto be purged (or a selection of them)");
    const std::string folder = platform::RealFolderPath(chosen);
    if (folder.empty()) {
        return;
    }
    if (IsOnPseudoFileSystem(folder)) {
        Tell(folder +
                 " lies on a file system of the operating system (such as /proc or /sys),"
                 "\nwhich holds no files to purge.",
             caption, MessageIcon::Exclamation);
        return;
    }
    auto contents = std::make_shared<FolderContents>();
    hooks_.runOnWorker(
        [contents, folder] { *contents = LookIntoFolder(folder, std::string(kAllFiles)); },
        [this, contents, folder, caption] {
            if (contents->error) {
                Tell("Cannot read " + folder + ".", caption, MessageIcon::Exclamation);
            } else if (contents->subfolders > 0) {
                PurgeSelectedSubfolders(folder, caption);
            } else {
                TakeFolderWithoutSubfolders(folder, contents->files, caption);
            }
            hooks_.refresh();
        });
}

bool SubfolderPurgeCommand::BeginConfirmed(const std::string& confirmation,
                                           const std::string& caption) {
    return dialogs_.Ask(
               {confirmation + "\n\nClick 'OK' to begin purging the files in the selected "
                               "folders\nor click 'Cancel' to terminate this operation.\n\nThe "
                               "operation can be interrupted (and then stopped)\nby pressing "
                               "the F10 key twice.",
                caption, MessageButtons::OkCancel, 2, MessageIcon::None}) == MessageAnswer::Ok;
}

void SubfolderPurgeCommand::CountAndPurge(const std::string& top, const std::string& caption,
                                          const std::string& confirmation) {
    CountFiles(top, caption,
               [this, top, caption, confirmation] { AfterCount(top, caption, confirmation); });
}

void SubfolderPurgeCommand::AfterCount(const std::string& top, const std::string& caption,
                                       const std::string& confirmation) {
    if (run_.filesCounted == 0) {
        Tell("There are no files in any of the selected folders.", caption, MessageIcon::None);
        return;
    }
    state_.labels.subdirectories2 = confirmation;
    hooks_.refresh();
    if (dialogs_.Ask({"The folder with selected subfolders is " + top + "\n\n" +
                          FilesInSubfoldersText(run_.filesCounted, selected_.size()) +
                          "to be purged.\n\nClick 'OK' to continue or 'Cancel' to cancel.",
                      caption, MessageButtons::OkCancel, 1, MessageIcon::None}) !=
        MessageAnswer::Ok) {
        state_.labels.subdirectories2.clear();
        return;
    }
    Purge(top, caption);
}

void SubfolderPurgeCommand::PurgeSelectedSubfolders(const std::string& top,
                                                    const std::string& caption) {
    if (const std::string warning = SystemTopFolderWarning(top);
        !warning.empty() && !AskYesNo(dialogs_, warning, caption)) {
        return;
    }
    SubfolderChoice choice;
    if (!ShowSubfolderSelection(top, caption, choice) || choice.paths.empty()) {
        if (!IsTrashFolder(top)) {
            Tell("No subolders were selected.", caption, MessageIcon::None);
        }
        return;
    }
    if (!WarningsAccepted(caption)) {
        return;
    }
    state_.labels.topLevelFolder = top;
    const std::string confirmation =
        SubfolderConfirmationText(choice, state_.choices.dateRestriction.active);
    if (!BeginConfirmed(confirmation, caption)) {
        return;
    }
    hooks_.showCommandArea(false);
    CountAndPurge(top, caption, confirmation);
    hooks_.showCommandArea(true);
    hooks_.refresh();
}

}  // namespace vorlane
