#include "selection/TargetDisplay.h"

#include <cstdio>

#include "engine/DriveInfo.h"
#include "engine/FileOperations.h"
#include "support/Folders.h"
#include "support/Strings.h"
#include "support/Utf8.h"
#include "tools/DriveSpeeds.h"

namespace vorlane {

namespace {

constexpr int kPathCaptionLimit = 70;
constexpr int kFileNameHead = 64;
constexpr std::size_t kDescribedSpecLimit = 21;

std::size_t CharacterCount(const std::string& text) {
    return DecodeUtf8(text).size();
}

std::string JoinedPath(const std::string& folder, const std::string& name) {
    return WithTrailingSeparator(folder) + name;
}

}  // namespace

std::string DirectoryCaption(const std::string& folder) {
    return ShortenPath(folder, kPathCaptionLimit);
}

std::string FilesCaption(const std::string& fileSpec) {
    if (HasWildcard(fileSpec) || CharacterCount(fileSpec) <= kPathCaptionLimit) {
        return fileSpec;
    }
    const std::string extension = FileExtension(fileSpec, false);
    return LeftText(fileSpec, kFileNameHead) + "..." + extension;
}

std::string FilesDescription(const std::string& folder, const std::string& fileSpec) {
    if (HasWildcard(fileSpec)) {
        if (CharacterCount(fileSpec) >= kDescribedSpecLimit) {
            return {};
        }
        if (fileSpec == kAllFiles) {
            return "(All files.)";
        }
        if (fileSpec.starts_with("*.")) {
            return "(All files with extension \"" + fileSpec.substr(2) + "\".)";
        }
        return "(All files of the form \"" + fileSpec + "\".)";
    }
    const std::string path = JoinedPath(folder, fileSpec);
    return FileSizeText(path, 1) + "     " + FileDateTimeText(path, false);
}

void ShowMultipleFilesHint(MainState& state) {
    const bool unset =
        state.labels.singleFile == state.notSpecified || state.labels.files == state.notSpecified;
    state.labels.singleFile = unset ? "To purge multiple files, specify folder and files." : "";
}

void ShowTarget(MainState& state) {
    MainLabels& labels = state.labels;
    labels.filesDescription.clear();
    labels.directory = DirectoryCaption(state.choices.targetFolder);
    if (state.choices.targetFolder.empty()) {
        labels.directory = state.notSpecified;
        labels.estimatedTime.clear();
        labels.subdirectories.clear();
        labels.subdirectories2.clear();
    }
    // Only a file name can have gone: a pattern ("*.*", a loaded "*.txt") names no file.
    const std::string& spec = state.choices.targetFilespec;
    if (state.singleFileOption && !state.choices.targetFolder.empty() && !spec.empty() &&
        !HasWildcard(spec) && !FileExists(JoinedPath(state.choices.targetFolder, spec))) {
        state.choices.targetFilespec.clear();
    }
    labels.files = FilesCaption(state.choices.targetFilespec);
    if (state.choices.targetFilespec.empty()) {
        labels.files = state.notSpecified;
        labels.estimatedTime.clear();
        labels.dateRestriction.clear();
    } else {
        labels.filesDescription =
            FilesDescription(state.choices.targetFolder, state.choices.targetFilespec);
    }
    ShowMultipleFilesHint(state);
}

void ShowSubfoldersChoice(MainState& state) {
    MainLabels& labels = state.labels;
    if (state.choices.targetFolder.empty()) {
        labels.subdirectories.clear();
        labels.subdirectories2.clear();
        return;
    }
    // A folder that cannot be counted is taken to have subfolders.
    const FolderContents contents =
        LookIntoFolder(state.choices.targetFolder, std::string(kAllFiles));
    if (contents.error || contents.subfolders != 0) {
        labels.subdirectories = state.choices.subdirectories ? "Yes" : "No";
        labels.subdirectories2 = state.choices.subdirectories
                                     ? "(Operate on all specified files in lower subfolders.)"
                                     : "(Do not operate on files in lower subfolders.)";
        return;
    }
    state.choices.subdirectories = false;
    labels.subdirectories = "No";
    labels.subdirectories2 = "(The folder has no subfolders.)";
}

void ShowDateRestriction(MainState& state) {
    state.labels.dateRestriction = DateRestrictionText(state.choices.dateRestriction);
}

void ShowTypeOfPurge(MainState& state) {
    state.labels.typeOfPurge = state.purgeType.Caption();
}

void ShowPurgeSpeed(MainState& state, const std::string& folder) {
    const std::string drive = DriveOfPath(folder);
    const float speed = drive.empty() ? 0.0f : StoredDriveSpeed(drive);
    if (speed <= 0) {
        state.labels.purgeSpeed.clear();
        return;
    }
    char number[32];
    std::snprintf(number, sizeof number, "%.2f", static_cast<double>(speed));
    state.labels.purgeSpeed =
        std::string(number) + " MB/sec. (1 overwrite) for Drive " + drive + ".";
}

}  // namespace vorlane
