#include "selection/TargetCommands.h"

#include "engine/DateRestriction.h"
#include "engine/DriveInfo.h"
#include "engine/FileOperations.h"
#include "operation/EstimatedTimes.h"
#include "platform/FolderWalk.h"
#include "platform/MountTable.h"
#include "platform/Platform.h"
#include "selection/TargetDisplay.h"
#include "support/Folders.h"
#include "support/ProgramText.h"
#include "support/Strings.h"
#include "tools/DriveSpeeds.h"
#include "tools/FolderTreeSize.h"

namespace vorlane {

namespace {

constexpr int kFolderUnreadableText = 51;
constexpr int kFolderUnreadableTitle = 52;

MessageIcon IconOf(const DateExclusion& exclusion) {
    return exclusion.dateUnreadable ? MessageIcon::Exclamation : MessageIcon::Information;
}

bool IsTrashComponent(const std::string& name) {
    if (name == ".Trash") {
        return true;
    }
    const std::string prefix = ".Trash-";
    return name.starts_with(prefix) && name.size() > prefix.size() &&
           name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

}  // namespace

bool IsOnPseudoFileSystem(const std::string& folder) {
    platform::UniqueFd fd;
    platform::FileStatus status;
    return !platform::Sys().OpenFolderPath(folder + "/.", fd, status) &&
           platform::Sys().FileSystemOf(fd.Get()) == platform::FileSystemClass::Pseudo;
}

bool IsTrashFolder(const std::string& folder) {
    const auto& sys = platform::Sys();
    std::string dataHome = sys.EnvironmentValue("XDG_DATA_HOME");
    if (dataHome.empty() && !sys.EnvironmentValue("HOME").empty()) {
        dataHome = WithTrailingSeparator(sys.EnvironmentValue("HOME")) + ".local/share";
    }
    if (!dataHome.empty() && IsSameOrBelow(folder, WithTrailingSeparator(dataHome) + "Trash")) {
        return true;
    }
    std::size_t start = 0;
    while (start < folder.size()) {
        const std::size_t end = std::min(folder.find('/', start), folder.size());
        if (IsTrashComponent(folder.substr(start, end - start))) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::optional<int> TargetCommands::SubfolderCount(const std::string& folder) {
    FolderContents contents;
    windows_.RunLong([&] { contents = LookIntoFolder(folder, std::string(kAllFiles)); });
    if (contents.error) {
        return std::nullopt;
    }
    return contents.subfolders;
}

bool TargetCommands::AnyFileInTree(const std::string& folder) {
    bool any = false;
    windows_.RunLong([&] { any = AnyMatchingFileInTree(folder, std::string(kAllFiles)); });
    return any;
}

std::optional<FolderContents> TargetCommands::CheckFolderContents(const std::string& fileSpec) {
    FolderContents contents;
    windows_.RunLong([&] { contents = LookIntoFolder(state_.choices.targetFolder, fileSpec); });
    if (contents.error) {
        Tell(dialogs_, "Cannot access the folder.", "Error", MessageIcon::Critical);
        return std::nullopt;
    }
    if (contents.files == 0 && contents.subfolders == 0) {
        const std::string what = fileSpec == kAllFiles ? "The folder contains no files "
                                                       : "The folder contains no matching files ";
        Tell(dialogs_, what + "and no subfolders.", "Empty folder", MessageIcon::Exclamation);
        return std::nullopt;
    }
    return contents;
}

void TargetCommands::ShowEstimateForFile(const std::string& path) {
    ShowPurgeSpeed(state_, state_.choices.targetFolder);
    const std::string drive = DriveOfPath(state_.choices.targetFolder);
    const float speed = drive.empty() ? 0.0f : StoredDriveSpeed(drive);
    const std::int64_t length = FileLength(path).value_or(0);
    const std::optional<std::int32_t> seconds = SingleFileEstimateSeconds(
        static_cast<double>(length), speed, state_.purgeType.GetNumOverwrites(), state_.adjustA,
        state_.adjustB);
    if (!seconds) {
        state_.labels.estimatedTime.clear();
    } else if (*seconds < 60) {
        state_.labels.estimatedTime = "Less than a minute.";
    } else {
        state_.labels.estimatedTime = DurationText(*seconds, false, false);
    }
}

bool TargetCommands::TakeSingleFile(const std::string& path, const std::string& caption) {
    if (state_.choices.dateRestriction.active) {
        const DateExclusion exclusion =
            FileExcludedByDateRestriction(path, state_.choices.dateRestriction);
        if (exclusion.excluded) {
            // The target stays as it was: the labels must not show one thing and hold another.
            Tell(dialogs_, exclusion.message, caption, IconOf(exclusion));
            return false;
        }
    }
    state_.choices.targetFolder = FolderPart(path, false);
    state_.choices.targetFilespec = FileNamePart(path, false);
    state_.singleFileTarget = true;
    state_.choices.subdirectories = false;
    state_.labels.subdirectories = "No";
    ShowTarget(state_);
    ShowSubfoldersChoice(state_);
    ShowEstimateForFile(path);
    return true;
}

void TargetCommands::SingleFile(const std::string& caption) {
    const std::string chosen = dialogs_.OpenFileName("Specify file to be purged.");
    if (fileDialogClosed) {
        fileDialogClosed();
    }
    if (!chosen.empty()) {
        TakeSingleFile(platform::RealFilePath(chosen), caption);
    }
}

bool TargetCommands::RefusedFolder(const std::string& folder, const std::string& caption) {
    if (IsOnPseudoFileSystem(folder)) {
        Tell(dialogs_,
             folder + " lies on a file system of the operating system (such as /proc or /sys)," +
                 "\nwhich holds no files to purge.",
             caption, MessageIcon::Exclamation);
        return true;
    }
    if (IsTrashFolder(folder)) {
        if (purgeTrash) {
            purgeTrash(folder);
        } else {
            Tell(dialogs_, "The purge of the Trash is not ready yet.", caption,
                 MessageIcon::Information);
        }
        return true;
    }
    return false;
}

void TargetCommands::TakeFolder(const std::string& folder, const std::string& caption) {
    state_.choices.targetFolder = folder;
    ShowTarget(state_);
    const bool hasSubfolders = SubfolderCount(folder).value_or(0) > 0;
    state_.labels.subdirectories = "No";
    state_.labels.subdirectories2 = hasSubfolders ? "(Do not operate on files in lower subfolders.)"
                                                  : "(The folder has no subfolders.)";
    state_.choices.subdirectories = false;
    state_.labels.setupFilename.clear();
    state_.choices.targetFilespec.clear();
    state_.singleFileTarget = false;
    ShowTarget(state_);
    if (!AnyFileInTree(folder)) {
        return;
    }
    if (!AskYesNo(dialogs_,
                  "Do you wish to purge ALL files in " + folder +
                      "\n(subject to any date restriction which is in effect)?",
                  caption)) {
        return;
    }
    state_.choices.targetFilespec = kAllFiles;
    ShowTarget(state_);
    state_.labels.setupFilename.clear();
    state_.labels.estimatedTime.clear();
    CheckFolderContents(std::string(kAllFiles));
    if (hasSubfolders) {
        Tell(dialogs_,
             "If you wish also to purge all files in subfolders\n(subject to any date restriction "
             "which is in effect)\nthen click on the 'Subfolders?' button.",
             caption, MessageIcon::Information);
    }
}

void TargetCommands::SpecifyFolder(const std::string& caption) {
    state_.labels.topLevelFolder.clear();
    state_.labels.largePurgeMessage.clear();
    state_.labels.subdirectories2.clear();
    state_.labels.setupFilename.clear();
    const std::string chosen =
        dialogs_.BrowseForFolder("Specify folder containing files to be purged");
    const std::string folder = platform::RealFolderPath(chosen);
    if (!folder.empty() && !RefusedFolder(folder, caption)) {
        TakeFolder(folder, caption);
    } else {
        ShowTarget(state_);
        ShowSubfoldersChoice(state_);
    }
    ShowDateRestriction(state_);
}

void TargetCommands::SpecifyFiles(const std::string& caption) {
    const std::string& folder = state_.choices.targetFolder;
    if (folder.empty()) {
        Tell(dialogs_, "The folder has not been specified.", "Folder unspecified",
             MessageIcon::Exclamation);
        return;
    }
    const std::optional<FolderContents> contents = CheckFolderContents(std::string(kAllFiles));
    if (!contents) {
        return;
    }
    const int direct = contents->files;
    const bool noFiles = state_.choices.subdirectories ? !AnyFileInTree(folder) : direct == 0;
    if (noFiles) {
        Tell(dialogs_,
             "There are no files in " + folder +
                 (state_.choices.subdirectories ? " or in any of its subfolders" : "") +
                 (state_.choices.dateRestriction.active ? " (possibly due to the date restriction)"
                                                        : "") +
                 ".",
             caption, MessageIcon::Exclamation);
        return;
    }
    const FilesChoiceResult choice = windows_.ChooseFiles(folder, direct, state_.singleFileOption);
    if (choice.accepted) {
        state_.choices.targetFilespec = choice.fileSpec;
        state_.singleFileTarget = state_.singleFileOption;
    }
    ShowTarget(state_);
    state_.labels.setupFilename.clear();
    state_.labels.estimatedTime.clear();
    CheckFolderContents(state_.choices.targetFilespec);
    ShowDateRestriction(state_);
}

void TargetCommands::Subdirectories() {
    state_.labels.estimatedTime.clear();
    if (state_.choices.targetFolder.empty()) {
        state_.choices.targetFilespec.clear();
        ShowTarget(state_);
        return;
    }
    if (const std::optional<int> count = SubfolderCount(state_.choices.targetFolder)) {
        state_.choices.subdirectories = *count > 0 && !state_.choices.subdirectories;
        ShowSubfoldersChoice(state_);
        state_.labels.setupFilename.clear();
        return;
    }
    // A drive without a medium says nothing; any other unreadable folder is told.
    if (state_.startupCompleted && DriveReady(state_.choices.targetFolder)) {
        Tell(dialogs_, GetText(kFolderUnreadableText) + " " + state_.choices.targetFolder + ".",
             GetText(kFolderUnreadableTitle), MessageIcon::Exclamation);
    }
    state_.choices.targetFolder.clear();
    state_.choices.targetFilespec.clear();
    ShowTarget(state_);
}

void TargetCommands::OnlyBefore(const std::string& caption) {
    std::int32_t jdn = state_.choices.dateRestriction.onlyBeforeJdn;
    switch (windows_.ChooseDate(jdn, caption)) {
        case DateWindowResult::Accepted:
            state_.choices.dateRestriction = {true, jdn};
            state_.labels.estimatedTime.clear();
            break;
        case DateWindowResult::Removed:
            state_.choices.dateRestriction = {};
            state_.labels.estimatedTime.clear();
            break;
        case DateWindowResult::Cancelled:
            break;
    }
    ShowDateRestriction(state_);
}

void TargetCommands::TypeOfPurge() {
    if (windows_.ChoosePurgeType(state_.purgeType)) {
        state_.labels.estimatedTime.clear();
    }
    ShowTypeOfPurge(state_);
    state_.labels.setupFilename.clear();
}

void TargetCommands::Clear(const std::string& caption) {
    if (dialogs_.Ask({GetText(50), caption, MessageButtons::YesNo, 1, MessageIcon::Question}) !=
        MessageAnswer::Yes) {
        return;
    }
    state_.choices.targetFolder.clear();
    state_.choices.targetFilespec.clear();
    ShowTarget(state_);
    ShowDateRestriction(state_);
}

void TargetCommands::OpenPath(const std::string& path) {
    const std::string folder = platform::RealFolderPath(path);
    const std::string file = platform::RealFilePath(path);
    const platform::FileStatus status =
        platform::Sys().StatNoFollow(folder.empty() ? file : folder);
    if (status.kind == platform::FileKind::Directory) {
        if (!RefusedFolder(folder, "Specify folder")) {
            TakeFolder(folder, "Specify folder");
        }
    } else if (status.kind == platform::FileKind::Regular) {
        TakeSingleFile(file, "Single file");
    } else {
        Tell(dialogs_, path + "\nis neither a file nor a folder that can be purged.", "Vorlane",
             MessageIcon::Exclamation);
    }
    ShowDateRestriction(state_);
}

}  // namespace vorlane
