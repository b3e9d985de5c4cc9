#include "operation/SubfolderPurge.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <string_view>

#include "engine/FilePurger.h"
#include "engine/PurgeTypes.h"
#include "platform/FolderWalk.h"
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
constexpr std::string_view kRootRefused =
    "The folder / holds the whole system: its subfolders are not purged.";
constexpr int kCountShownEvery = 10;

std::string SameFolderForm(const std::string& path) {
    return WithoutTrailingSeparator(NormalisePath(path));
}

bool IsRoot(const std::string& folder) {
    const platform::FileStatus root = platform::Sys().StatNoFollow("/");
    const platform::FileStatus here =
        platform::Sys().StatNoFollow(WithoutTrailingSeparator(folder));
    return here.kind == FileKind::Directory && here.device == root.device &&
           here.inode == root.inode;
}

// One call of the command's run, as a walk of the top folder.
class Walk : public platform::WalkVisitor {
  public:
    Walk(SubfolderPurgeState& state, const std::string& title, OperationControl& control,
         OperationInterface& ui)
        : state_(state), title_(title), control_(control), ui_(ui) {
        purger_.ObserveProgress({.wrote =
                                     [this](int pass, std::int64_t bytes) {
                                         state_.bytesWritten += bytes;
                                         ShowPurgeProgress(pass);
                                     },
                                 .filesEnded =
                                     [this](int files) {
                                         state_.filesEnded += files;
                                         ShowPurgeProgress(0);
                                     }});
    }

    bool Folder(const platform::WalkFolder& folder,
                const std::vector<FolderEntry>& entries) override;
    bool WantSubfolder(const platform::WalkFolder& parent, const FolderEntry& entry) override {
        return IsSelectedSubfolder(state_, parent.path + entry.name);
    }
    bool AfterSubfolder(const platform::WalkFolder& parent, const FolderEntry& entry) override {
        RemoveIfEmptied(parent, entry);
        return Checkpoint(true);
    }
    bool Refused(const std::string&, platform::FolderRefusal, std::error_code) override {
        if (!state_.countingMode) {
            ++state_.filesNotDeleted;  // its files stay where they are
        }
        return true;
    }
    // Asks with OK and Cancel; false on Cancel.
    bool GoOn(const std::string& text);

  private:
    bool IsTop(const platform::WalkFolder& folder) const {
        return folder.depth == 0 && SameFolderForm(folder.path) == SameFolderForm(state_.topFolder);
    }
    bool Checkpoint(bool withProgress);
    bool File(const platform::WalkFolder& folder, const FolderEntry& entry);
    bool Protected(const std::string& path) const;
    bool Purge(const platform::WalkFolder& folder, const FolderEntry& entry,
               const std::string& path);
    bool PassFailed(const std::string& path, const FileResult& result);
    void RemoveIfEmptied(const platform::WalkFolder& parent, const FolderEntry& entry);
    void ShowPurgeProgress(int pass);

    SubfolderPurgeState& state_;
    const std::string& title_;
    OperationControl& control_;
    OperationInterface& ui_;
    const SensitiveExtensions extensions_;  // unused answers: selected folders go whole
    FilePurger purger_;
};

void Walk::ShowPurgeProgress(int pass) {
    const std::int64_t overwrites = std::max<std::int64_t>(
        1, std::int64_t{state_.numberOfPasses} * GetNumOverwritesPerPass(state_.purgeType));
    ui_.ShowPurgeProgress(
        {.filesDone = std::min(state_.filesEnded, state_.filesCounted),
         .filesTotal = state_.filesCounted,
         .bytesDone = std::min(state_.bytesWritten / overwrites, state_.bytesCounted),
         .bytesTotal = state_.bytesCounted,
         .pass = pass,
         .passes = state_.numberOfPasses});
}

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
    const FileOutcome code = ExcludedFile(path, extensions_, state_.protectedPlaces);
    return code == FileOutcome::ExcludedProgramFolder || code == FileOutcome::ExcludedSwapFile;
}

bool Walk::File(const platform::WalkFolder& folder, const FolderEntry& entry) {
    if (!Checkpoint(true)) {
        return false;
    }
    const std::string path = folder.path + entry.name;
    state_.currentFilePath = path;
    if (!NameMatchesFileSpec(entry.name, state_.fileSpec) || Protected(path)) {
        return true;
    }
    if (state_.countingMode) {
        if (entry.status.kind == FileKind::Regular) {
            state_.bytesCounted += static_cast<std::int64_t>(entry.status.size);
        }
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
    return Purge(folder, entry, path);
}

// A failed purge ends the file; false when the person ends the run.
bool Walk::PassFailed(const std::string& path, const FileResult& result) {
    ++state_.filesNotDeleted;
    if (result.outcome == FileOutcome::CannotOpen || result.outcome == FileOutcome::FileChanged) {
        return true;  // gone or locked: nothing the person could act on
    }
    const std::string message =
        result.outcome == FileOutcome::NotDeleted
            ? "File deletion error.  File (shown below) may be hidden."
            : "The file (shown below) was not purged: " + OutcomeText(result, OutcomeForm::Line) +
                  ".";
    if (GoOn(message + "\r\n" + ShownName(path) + "\r\n" + std::string(kGoOnOrStop))) {
        return true;
    }
    control_.RequestInterrupt();
    ui_.ShowProgress("");
    return false;
}

bool Walk::Purge(const platform::WalkFolder& folder, const FolderEntry& entry,
                 const std::string& path) {
    ui_.ShowProgress(SubfolderPurgeProgress(state_.filesPurged, state_.filesCounted) +
                     "Now purging:\r\n" + ShortenPath(path, kShownPathLength));
    const PurgeRequest request = PurgeRequestFor(state_.Choices());
    bool ended = false;
    PurgeHooks hooks;
    hooks.betweenPasses = [&](int) {
        ended = !Checkpoint(false);
        return !ended;
    };
    hooks.stopRequested = [this] { return control_.StopRequested(); };
    const FileResult result = purger_.Purge({folder.fd.Get(), entry.name, path}, request, hooks);
    if (ended || ((result.outcome == FileOutcome::Stopped ||
                   result.outcome == FileOutcome::PartlyOverwritten) &&
                  control_.StopRequested())) {
        control_.RequestInterrupt();  // the person ended it: nothing failed
        ui_.ShowProgress("");
        return false;
    }
    if (result.outcome != FileOutcome::Ok) {
        return PassFailed(path, result);
    }
    ++state_.filesPurged;
    if (!Checkpoint(false)) {
        ui_.ShowProgress("");
        return false;
    }
    return true;
}

void Walk::RemoveIfEmptied(const platform::WalkFolder& parent, const FolderEntry& entry) {
    if (state_.countingMode) {
        return;
    }
    const std::error_code error =
        platform::Sys().RemoveFolderAt(parent.fd.Get(), entry.name, entry.status);
    if (!error) {
        ++state_.foldersRemoved;
    } else if (error != std::errc::directory_not_empty && error != std::errc::file_exists) {
        ++state_.foldersNotRemoved;
    }
}

bool Walk::Folder(const platform::WalkFolder& folder, const std::vector<FolderEntry>& entries) {
    if (control_.InterruptRequested()) {
        return false;
    }
    if (IsTop(folder) && !state_.includeTopFolderFiles) {
        return true;
    }
    for (const FolderEntry& entry : entries) {
        if (entry.status.kind != FileKind::Directory && !File(folder, entry)) {
            return false;
        }
    }
    return true;
}

}  // namespace

OperationChoices SubfolderPurgeState::Choices() const {
    return {.targetFolder = topFolder,
            .targetFilespec = fileSpec,
            .subdirectories = true,
            .dateRestriction = {},  // a selected folder goes whole, whatever its dates
            .purgeType = purgeType,
            .numberOfPasses = std::max(numberOfPasses, 1),
            .options = {.okToPurgeReadOnlyFiles = true, .okToPurgeSystemFiles = true},
            .safety = safety,
            .drivePurgeSpeeds = {}};
}

void SubfolderPurgeState::ResetCounters() {
    filesCounted = 0;
    filesPurged = 0;
    filesNotDeleted = 0;
    foldersRemoved = 0;
    foldersNotRemoved = 0;
    currentFilePath.clear();
    bytesCounted = 0;
    bytesWritten = 0;
    filesEnded = 0;
}

bool IsSelectedSubfolder(const SubfolderPurgeState& state, const std::string& folder) {
    return std::any_of(state.selectedSubfolders.begin(), state.selectedSubfolders.end(),
                       [&](const std::string& selected) {
                           // "/" would select the whole system, never what a person picked
                           return SameFolderForm(selected) != "/" &&
                                  IsSameOrBelow(folder, selected);
                       });
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
    if (control.InterruptRequested()) {
        return;
    }
    Walk walk(state, msgTitle, control, ui);
    if (state.safety.preserveRoot && IsRoot(dirPath)) {
        walk.GoOn(std::string(kRootRefused));
        control.RequestInterrupt();
        return;
    }
    platform::WalkRules rules;
    rules.crossVolumes = state.safety.crossVolumes;
    platform::WalkTree(dirPath, walk, rules);
}

}  // namespace vorlane
