#include "operation/SubfolderPurge.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>
#include <string_view>

#include "operation/Operation.h"
#include "operation/RecursivePurge.h"
#include "platform/Platform.h"
#include "support/Strings.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

using platform::FileKind;

constexpr std::string_view kGoOnOrStop =
    "Click 'OK' to continue, or 'Cancel' to terminate this operation.";
constexpr int kShownPathLength = 65;
constexpr std::string_view kRootRefused =
    "The folder / holds the whole system: its subfolders are not purged.";
constexpr int kCountShownEvery = 10;
// The count of the chosen folders has no limit of its own.
constexpr std::int32_t kNoLimit = std::numeric_limits<std::int32_t>::max();

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

// What the person sees and is asked while the folder purge's walk runs over the chosen
// subfolders: a progress line instead of a report, and a question wherever F10 was
// pressed or a file could not be purged.
class SubfolderListener : public PurgeWalkListener {
  public:
    SubfolderListener(SubfolderPurgeState& state, const std::string& title,
                      OperationControl& control, OperationInterface& ui)
        : state_(state), title_(title), control_(control), ui_(ui) {}

    bool GoOn(WalkPoint point) override {
        ended_ = !Checkpoint(point != WalkPoint::BetweenPasses);
        return !ended_;
    }
    void Counted(std::int32_t files) override {
        state_.filesCounted = files;
        if (files % kCountShownEvery == 0) {
            ui_.ShowProgress("Now counting number of files to purge: " + std::to_string(files));
        }
    }
    void Purging(const std::string& path) override {
        state_.currentFilePath = path;
        ui_.ShowProgress(SubfolderPurgeProgress(state_.filesPurged, state_.filesCounted) +
                         "Now purging:\n" + ShortenPath(path, kShownPathLength));
    }
    bool Ended(const std::string& path, const FileResult& result, bool purged) override;
    void FolderRemoval(std::error_code error) override {
        if (!error) {
            ++state_.foldersRemoved;
        } else if (error != std::errc::directory_not_empty && error != std::errc::file_exists) {
            ++state_.foldersNotRemoved;
        }
    }
    void FolderLeft() override {
        ++state_.filesNotDeleted;  // its files stay where they are
    }

    // Asks with OK and Cancel; false on Cancel.
    bool Ask(const std::string& text) {
        return ui_.Ask({text, title_, MessageButtons::OkCancel, 1, MessageIcon::None}) !=
               MessageAnswer::Cancel;
    }

  private:
    bool Checkpoint(bool withProgress);
    bool Failed(const std::string& path, const FileResult& result);
    // The person ended the run: the interrupt flag tells the caller.
    bool EndedByPerson() {
        control_.RequestInterrupt();
        ui_.ShowProgress("");
        return false;
    }

    SubfolderPurgeState& state_;
    const std::string& title_;
    OperationControl& control_;
    OperationInterface& ui_;
    bool ended_ = false;  // the person answered Cancel at the last checkpoint
};

// Between files, passes and subfolders. A stop of the whole operation (the window
// closes) ends the run as an interrupt would, without asking.
bool SubfolderListener::Checkpoint(bool withProgress) {
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
    if (!Ask(progress + std::string(kGoOnOrStop))) {
        return false;
    }
    control_.ClearInterrupt();
    return true;
}

bool SubfolderListener::Ended(const std::string& path, const FileResult& result, bool purged) {
    const bool stopped =
        result.outcome == FileOutcome::Stopped || result.outcome == FileOutcome::PartlyOverwritten;
    if (ended_ || (stopped && control_.StopRequested())) {
        return EndedByPerson();  // nothing failed
    }
    if (purged) {
        ++state_.filesPurged;
        return Checkpoint(false) || EndedByPerson();
    }
    switch (SeriousnessOf(result.outcome)) {
        case Seriousness::Purged:
        case Seriousness::LeftAlone:
            return true;  // the program folder and swap files are never touched
        default:
            return Failed(path, result);
    }
}

// A file that failed or could not be purged ends that file; false when the person ends
// the run.
bool SubfolderListener::Failed(const std::string& path, const FileResult& result) {
    ++state_.filesNotDeleted;
    switch (result.outcome) {
        case FileOutcome::SymbolicLink:
        case FileOutcome::NotRegularFile:
            return true;  // a link is never followed, its target never touched
        case FileOutcome::CannotOpen:
        case FileOutcome::FileChanged:
            return true;  // gone or locked: nothing the person could act on
        default:
            break;
    }
    const std::string message =
        result.outcome == FileOutcome::NotDeleted
            ? "File deletion error.  File (shown below) may be hidden."
            : "The file (shown below) was not purged: " + OutcomeText(result, OutcomeForm::Line) +
                  ".";
    if (Ask(message + "\n" + ShownName(path) + "\n" + std::string(kGoOnOrStop))) {
        return true;
    }
    return EndedByPerson();
}

// The folder purge's walk, set to the chosen subfolders.
PurgeScope ScopeOf(const SubfolderPurgeState& state, PurgeWalkListener& listener) {
    return {.entersSubfolder =
                [&state](const std::string& path) { return IsSelectedSubfolder(state, path); },
            .topFolderFiles = state.includeTopFolderFiles,
            .countsFilesLeftAlone = false,
            .listener = &listener};
}

}  // namespace

OperationChoices SubfolderPurgeState::Choices() const {
    return {.targetFolder = topFolder,
            .targetFilespec = fileSpec,
            .subdirectories = true,
            .dateRestriction = {},  // a selected folder goes whole, whatever its dates
            .purgeType = purgeType,
            .numberOfPasses = std::max(numberOfPasses, 1),
            .options = {.okToPurgeReadOnlyFiles = true,
                        .okToPurgeSystemFiles = true,
                        .okToPurgeSensitiveFiles = true},
            .safety = safety,
            // F10 is promised to act "upon completion of the current file purge", and the
            // progress line names each file as its overwrites begin: one file at a time.
            .batchSmallFiles = false,
            .drivePurgeSpeeds = {}};
}

void SubfolderPurgeState::ResetCounters() {
    filesCounted = 0;
    bytesCounted = 0;
    filesPurged = 0;
    filesNotDeleted = 0;
    foldersRemoved = 0;
    foldersNotRemoved = 0;
    currentFilePath.clear();
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
    SubfolderListener listener(state, msgTitle, control, ui);
    if (state.safety.preserveRoot && IsRoot(dirPath)) {
        listener.Ask(std::string(kRootRefused));
        control.RequestInterrupt();
        return;
    }
    OperationChoices choices = state.Choices();
    choices.targetFolder = dirPath;
    Operation op(choices, ui, control);
    op.Protect(state.protectedPlaces);
    // The person follows the progress line, not a report: the walk writes none, as for
    // the Trash.
    op.State().purgingTrash = true;
    op.Extensions().InitSensitiveExtensions(ExtensionPermission::Undecided);
    const PurgeScope scope = ScopeOf(state, listener);
    if (state.countingMode) {
        state.filesCounted = CountPurgeTargets(op, kNoLimit, scope).value_or(kNoLimit);
        state.bytesCounted = static_cast<std::int64_t>(op.State().sumOfSizes);
    } else {
        op.SetProgressTotals(state.filesCounted, static_cast<double>(state.bytesCounted));
        VorlPurgeRecursive(op, dirPath, choices.targetFilespec, scope);
    }
    if (control.StopRequested()) {
        control.RequestInterrupt();  // a stop between two checkpoints ends it the same way
    }
}

}  // namespace vorlane
