#include "operation/SubfolderPurge.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "engine/FilePurge.h"
#include "platform/Platform.h"
#include "support/Folders.h"
#include "support/Strings.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

using platform::FileKind;
using platform::FolderEntry;

constexpr std::string_view kGoOnOrStop =
    "Click 'OK' to continue, or 'Cancel' to terminate this operation.";
constexpr int kShownPathLength = 65;
constexpr int kCountShownEvery = 10;

std::string SameFolderForm(const std::string& path) {
    return WithoutTrailingSeparator(NormalisePath(path));
}

// One call of the command's run; the recursion shares it.
class Walk {
  public:
    Walk(SubfolderPurgeState& state, const std::string& title, OperationControl& control,
         OperationInterface& ui)
        : state_(state), title_(title), control_(control), ui_(ui) {}

    // False when the run ends here; the interrupt flag is then set.
    bool Folder(const std::string& folder);

  private:
    bool IsTop(const std::string& folder) const {
        return SameFolderForm(folder) == SameFolderForm(state_.topFolder);
    }
    bool Checkpoint(bool withProgress);
    bool GoOn(const std::string& text);
    bool File(const std::string& dirPath, const FolderEntry& entry);
    bool Protected(const std::string& path) const;
    bool Purge(const std::string& path);
    bool PassFailed(const std::string& path, PurgeResultCode result);
    bool Subfolder(const std::string& path);
    void RemoveIfEmptied(const std::string& path);

    SubfolderPurgeState& state_;
    const std::string& title_;
    OperationControl& control_;
    OperationInterface& ui_;
    const SensitiveExtensions extensions_;  // unused answers: selected folders go whole
};

// Asks with OK and Cancel; false on Cancel.
bool Walk::GoOn(const std::string& text) {
    return ui_.Ask({text, title_, MessageButtons::OkCancel, 1, MessageIcon::None}) !=
           MessageAnswer::Cancel;
}

// Between files, passes and subfolders. A stop of the whole operation (the window
// closes) ends the run as an interrupt would, without asking.
bool Walk::Checkpoint(bool withProgress) {
    if (control_.StopRequested()) {
        control_.RequestInterrupt();
        return false;
    }
    if (!control_.InterruptRequested()) {
        return true;
    }
    const std::string progress =
        withProgress && !state_.countingMode
            ? SubfolderPurgeProgress(state_.filesPurged, state_.filesCounted)
            : std::string();
    if (!GoOn(progress + std::string(kGoOnOrStop))) {
        return false;
    }
    control_.ClearInterrupt();
    return true;
}

bool Walk::Protected(const std::string& path) const {
    const std::int16_t code = ExcludedFile(path, extensions_, state_.protectedPlaces);
    return code == kExcludedProgramFolder || code == kExcludedSwapFile;
}

bool Walk::File(const std::string& dirPath, const FolderEntry& entry) {
    if (!Checkpoint(true)) {
        return false;
    }
    const std::string path = dirPath + entry.name;
    state_.currentFilePath = path;
    if (!FileSpecMatches(entry.name, state_.fileSpec, false) || Protected(path)) {
        return true;
    }
    if (state_.countingMode) {
        if (++state_.filesCounted % kCountShownEvery == 0) {
            ui_.ShowProgress("Now counting number of files to purge: " +
                             std::to_string(state_.filesCounted));
        }
        return true;
    }
    if (entry.status.kind != FileKind::Regular) {
        ++state_.filesNotDeleted;  // a link is never followed, its target never touched
        return true;
    }
    return Purge(path);
}

// A failed pass ends the file's passes; false when the person ends the run.
bool Walk::PassFailed(const std::string& path, PurgeResultCode result) {
    ++state_.filesNotDeleted;
    if (result == purge_result::kCannotOpen) {
        return true;  // gone or locked: nothing the person could act on
    }
    const std::string message =
        result == purge_result::kNotDeleted
            ? "File deletion error.  File (shown below) may be hidden."
            : "An error (" + std::to_string(result) + ") has been reported.";
    if (GoOn(message + "\r\n" + path + "\r\n" + std::string(kGoOnOrStop))) {
        return true;
    }
    control_.RequestInterrupt();
    ui_.ShowProgress("");
    return false;
}

bool Walk::Purge(const std::string& path) {
    ui_.ShowProgress(SubfolderPurgeProgress(state_.filesPurged, state_.filesCounted) +
                     "Now purging:\r\n" + ShortenPath(path, kShownPathLength));
    const int passes = std::max(state_.numberOfPasses, 1);
    for (int pass = 1; pass <= passes; ++pass) {
        const bool last = pass == passes;
        PurgeResultCode result = 0;
        VorlPurgeFile(path, state_.purgeType, 1, last && SubfolderPurgeState::kDeleteOnLastPass,
                      SubfolderPurgeState::kOkToPurgeReadOnly,
                      SubfolderPurgeState::kOkToPurgeSystem, result);
        if (result < 0) {
            return PassFailed(path, result);
        }
        if (last) {
            ++state_.filesPurged;
        }
        if (!Checkpoint(false)) {
            ui_.ShowProgress("");
            return false;
        }
    }
    return true;
}

void Walk::RemoveIfEmptied(const std::string& path) {
    if (state_.countingMode || IsTop(path) || !FolderIsEmpty(path)) {
        return;
    }
    if (platform::Sys().RemoveEmptyFolder(path) == 0) {
        ++state_.foldersRemoved;
    } else {
        ++state_.foldersNotRemoved;
    }
}

bool Walk::Subfolder(const std::string& path) {
    if (IsSelectedSubfolder(state_, path)) {
        if (!FolderIsEmpty(path) && !Folder(path)) {
            return false;
        }
        RemoveIfEmptied(path);
    }
    return Checkpoint(true);
}

// A folder on another device than its parent that is no drive's mount point: /proc,
// /sys and their kind, which hold no user files, are never walked into.
bool NotADrive(const std::string& path, const FolderEntry& entry, const std::string& parent) {
    if (entry.status.device == platform::Sys().StatNoFollow(parent).device) {
        return false;
    }
    const auto volumes = platform::Sys().ListVolumes();
    return std::none_of(volumes.begin(), volumes.end(),
                        [&](const platform::Volume& volume) { return volume.mountPoint == path; });
}

bool Walk::Folder(const std::string& folder) {
    if (control_.InterruptRequested()) {
        return false;
    }
    const std::string dirPath = WithTrailingSeparator(folder);
    std::vector<FolderEntry> entries;
    if (platform::Sys().ListFolder(dirPath, entries) != 0) {
        return true;  // an unreadable folder ends its own call only
    }
    if (!IsTop(dirPath) || state_.includeTopFolderFiles) {
        for (const FolderEntry& entry : entries) {
            if (entry.status.kind != FileKind::Directory && !File(dirPath, entry)) {
                return false;
            }
        }
    }
    for (const FolderEntry& entry : entries) {
        if (entry.status.kind == FileKind::Directory &&
            !NotADrive(dirPath + entry.name, entry, folder) && !Subfolder(dirPath + entry.name)) {
            return false;
        }
    }
    return true;
}

}  // namespace

void SubfolderPurgeState::ResetCounters() {
    filesCounted = 0;
    filesPurged = 0;
    filesNotDeleted = 0;
    foldersRemoved = 0;
    foldersNotRemoved = 0;
    currentFilePath.clear();
}

bool IsSelectedSubfolder(const SubfolderPurgeState& state, const std::string& folder) {
    const std::string path = SameFolderForm(folder);
    for (const std::string& selected : state.selectedSubfolders) {
        const std::string entry = SameFolderForm(selected);
        if (entry.empty() || entry == "/") {
            continue;  // would select the whole system, never what a person picked
        }
        if (path == entry || (path.starts_with(entry) && path[entry.size()] == kPathSeparator)) {
            return true;
        }
    }
    return false;
}

std::string SubfolderPurgeProgress(std::int32_t filesPurged, std::int32_t filesCounted) {
    if (filesPurged < 2) {
        return {};
    }
    const double percent =
        filesCounted > 0 ? std::round(filesPurged * 100.0 / filesCounted) : 100.0;
    return GroupedNumberText(filesPurged, 0) + " files purged (" +
           std::to_string(static_cast<std::int64_t>(percent)) + "% of " +
           GroupedNumberText(filesCounted, 0) + "). ";
}

void VorlPurgeRecursive2(SubfolderPurgeState& state, const std::string& dirPath,
                         const std::string& msgTitle, OperationControl& control,
                         OperationInterface& ui) {
    Walk(state, msgTitle, control, ui).Folder(dirPath);
}

}  // namespace vorlane
