#include "operation/RecursivePurge.h"

#include <algorithm>
#include <vector>

#include "engine/DriveInfo.h"
#include "engine/FileOperations.h"
#include "engine/FilePurge.h"
#include "engine/NameScrub.h"
#include "engine/PurgeTypes.h"
#include "operation/EstimatedTimes.h"
#include "operation/TargetMatch.h"
#include "platform/MountTable.h"
#include "platform/Platform.h"
#include "support/Folders.h"
#include "support/Strings.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

using platform::FileKind;
using platform::FolderEntry;

constexpr float kUnmeasuredSpeed = 1.0f;
constexpr int kMaxIndicatorLength = 10;

// One file's way through the purge, as its report line tells it.
struct FileJob {
    int folderFd;
    std::string path;
    std::string name;
    FileOutcome code = FileOutcome::Ok;
    std::error_code cause{};  // the system's reason for a failed purge
    bool verified = false;    // its last overwrite was read back and matched
    std::int64_t size = 0;
    bool sizeShown = false;
    bool purged = false;
    bool batched = false;  // waits for the batch's shared overwrites
    // Passes seen to end by a purge of its own; a batch does not tell them.
    std::optional<int> passesSeen{};
};

// The bytes one overwrite handles in a second: files above it show a pass indicator.
std::int64_t IndicatorThreshold(const Operation& op, dev_t device) {
    const auto volume = op.Volumes().OfDevice(device);
    float speed = volume ? DrivePurgeSpeed(op.Choices(), volume->mountPoint) : 0.0f;
    if (speed <= 0) {
        speed = kUnmeasuredSpeed;
    }
    return RoundToInt(speed * kBytesPerMegabyte);
}

// A link's size is its target's length, and says nothing of data to purge.
std::int64_t RegularFileSize(const FolderEntry& entry) {
    return entry.status.kind == FileKind::Regular ? std::max<std::int64_t>(entry.status.size, 0)
                                                  : 0;
}

bool Dots(const Operation& op) {
    return op.Choices().options.folderNamesOnly;
}
bool Silent(const Operation& op) {
    return op.State().purgingTrash;
}

void ReportFileName(Operation& op, const FileJob& job, bool& lineStarted) {
    if (Silent(op)) {
        return;
    }
    if (!lineStarted) {
        op.ReportAppend(kLineBreak, false);
        lineStarted = true;
    }
    if (Dots(op)) {
        op.ReportAppend(". ", true);
    } else {
        op.ReportAppend(ShownName(job.name), false);
    }
}

// Asks about a sensitive extension not yet decided; false when the user cancels.
bool AskAboutExtension(Operation& op, FileJob& job) {
    const std::string ext = FileExtension(job.path, true);
    const bool an = !ext.empty() && (ext[0] == 'e' || ext[0] == 'i' || ext[0] == 'o');
    const std::string text =
        ShownName(job.path) + "\n\nYou have requested to purge a file with a" + (an ? "n" : "") +
        " \"" + ext + "\" extension.\nDo you wish to allow all files with this " +
        "extension to be purged?\n(Permission lasts only during the course of this " +
        "operation.)";
    const MessageAnswer answer =
        op.Ui().Ask({text, "Purge query", MessageButtons::YesNoCancel, 2, MessageIcon::Question});
    if (answer == MessageAnswer::Cancel) {
        op.AppendToText("\n\n");
        op.Control().RequestStop();
        return false;
    }
    const bool allowed = answer == MessageAnswer::Yes;
    op.Extensions().SetSensitiveExtensionPermission(
        ext, allowed ? ExtensionPermission::Allowed : ExtensionPermission::Refused);
    job.code = allowed ? FileOutcome::Ok : FileOutcome::SensitiveUndecided;
    return true;
}

// The exclusion as far as it needs no question: SensitiveUndecided asks.
FileOutcome ExclusionCode(Operation& op, const FolderEntry& entry, const std::string& path) {
    if (entry.status.kind == FileKind::Symlink) {
        return FileOutcome::SymbolicLink;
    }
    if (entry.status.kind != FileKind::Regular) {
        return FileOutcome::NotRegularFile;
    }
    const FileOutcome code = ExcludedFile(path, op.Extensions(), op.Protected());
    if (code == FileOutcome::SensitiveUndecided && op.Choices().options.okToPurgeSensitiveFiles) {
        return FileOutcome::Ok;
    }
    return code;
}

// The exclusion, after the sensitive-extension question; false on Cancel.
bool DecideExclusion(Operation& op, const FolderEntry& entry, FileJob& job) {
    job.code = ExclusionCode(op, entry, job.path);
    if (job.code == FileOutcome::SensitiveRefused) {
        job.code = FileOutcome::SensitiveUndecided;
        return true;
    }
    return job.code != FileOutcome::SensitiveUndecided || AskAboutExtension(op, job);
}

bool AsksToConfirm(const Operation& op) {
    return op.Choices().options.confirmFiles && !op.State().doNotAskAgain;
}

bool ConfirmFile(Operation& op, const FileJob& job) {
    OperationState& state = op.State();
    if (!AsksToConfirm(op)) {
        return true;
    }
    const std::string text = ShownName(LowerCaseText(job.path)) + "     " + SizeText(job.size, 2) +
                             "     " + FileDateTimeText(job.path, true);
    switch (op.Ui().ConfirmFile(text)) {
        case FileConfirmation::Yes:
            return true;
        case FileConfirmation::YesToAll:
            state.doNotAskAgain = true;
            return true;
        case FileConfirmation::StopPurge:
            op.StopWithCaption();
            return false;
        case FileConfirmation::No:
            break;
    }
    return false;
}

// Digits for the passes done, underscores for those to come; always `length` long.
std::string PassIndicator(int done, int length) {
    const int digits = std::min({done, 9, length});
    return std::string("123456789").substr(0, digits) + std::string(length - digits, '_');
}

// " (size bytes) purging" and, for a file whose purge takes over a second, the pass
// indicator; true when the indicator was shown.
// The indicator is for files whose whole purge, every pass, takes over a second.
bool WantsIndicator(const Operation& op, std::int64_t size, std::int64_t threshold) {
    const OperationChoices& choices = op.Choices();
    const int passes = choices.numberOfPasses;
    const int overwrites = passes * GetNumOverwritesPerPass(choices.purgeType);
    return !Silent(op) && !Dots(op) && size * overwrites > threshold && passes >= 2;
}

bool ShowSizeAndIndicator(Operation& op, FileJob& job, std::int64_t threshold) {
    if (Silent(op) || Dots(op)) {
        return false;
    }
    const int passes = op.Choices().numberOfPasses;
    op.ReportAppend(" (" + GroupedNumberText(static_cast<double>(job.size), 0) + " bytes) purging",
                    true);
    job.sizeShown = !op.ReportBufferIsFull();
    if (WantsIndicator(op, job.size, threshold)) {
        op.ReportAppend(" " + std::string(std::min(passes, kMaxIndicatorLength), '_'), true);
        return !op.ReportBufferIsFull();
    }
    return false;
}

void RunPasses(Operation& op, FileJob& job, std::int64_t threshold, PurgeWalkListener* listener) {
    const int passes = op.Choices().numberOfPasses;
    const bool indicator = ShowSizeAndIndicator(op, job, threshold);
    const int shown = std::min(passes, kMaxIndicatorLength);
    PurgeHooks hooks;
    job.passesSeen = 0;
    hooks.betweenPasses = [&](int done) {
        job.passesSeen = done;
        op.Ui().ShowPassProgress(job.path, done + 1, passes, job.size);
        if (indicator) {
            op.Report().DropLastCharacters(shown);
            op.AppendToText(PassIndicator(done, shown));
        }
        op.CheckPauseAndStop();
        if (listener != nullptr && !listener->GoOn(WalkPoint::BetweenPasses)) {
            return false;
        }
        return !op.Stopped();
    };
    hooks.stopRequested = [&op] { return op.Stopped(); };
    if (listener != nullptr) {
        listener->Purging(job.path);
    }
    op.Ui().ShowPassProgress(job.path, 1, passes, job.size);
    const FileResult result =
        op.Purger().Purge({job.folderFd, job.name, job.path}, PurgeRequestFor(op.Choices()), hooks);
    job.code = result.outcome;
    job.cause = result.cause;
    job.verified = result.verified;
    if (indicator) {
        op.Report().DropLastCharacters(shown);
    }
    op.Ui().ShowPassProgress(job.path, 0, passes, job.size);
    job.purged = job.code == FileOutcome::Ok;
}

// The end of a file's line: purgedText, or why it was not purged.
void ReportLineEnd(Operation& op, const FileJob& job, const char* purgedText) {
    if (!Dots(op) && !op.ReportBufferIsFull() && job.sizeShown) {
        op.Report().CutAfterLast("bytes)");
    }
    if (job.purged) {
        if (!Silent(op) && !Dots(op)) {
            op.ReportAppend(purgedText, false);
        }
    } else if (!Silent(op)) {
        if (Dots(op)) {
            op.ReportAppend(std::string(kLineBreak) + ShownName(job.name), false);
        }
        op.ReportAppend(OutcomeText({job.code, job.cause}, OutcomeForm::Report, job.path), false);
    }
    if (!Silent(op) && (!job.purged || !Dots(op))) {
        op.ReportAppend(kLineBreak, true);
    }
}

// The walk's results merge into one, as its parts' into a command's exit status.
void NoteResult(Operation& op, Seriousness seriousness) {
    std::optional<Seriousness>& heaviest = op.State().heaviest;
    heaviest = std::max(heaviest.value_or(Seriousness::Purged), seriousness);
}

// A file the person declined keeps Ok: it was left alone, not purged.
Seriousness JobSeriousness(const FileJob& job) {
    if (!job.purged && job.code == FileOutcome::Ok) {
        return Seriousness::LeftAlone;
    }
    return SeriousnessOf(job.code);
}

FileRecord RecordOf(const Operation& op, const FileJob& job) {
    const FileResult result{job.code, job.cause, job.verified};
    // A file the person declined keeps Ok, and was not written at all.
    const bool declined = !job.purged && job.code == FileOutcome::Ok;
    const std::optional<int> passes =
        declined ? 0 : PassesWritten(job.code, op.Choices().numberOfPasses, job.passesSeen);
    return {job.path, job.size, result, job.purged, passes};
}

// False when the listener ends the walk.
bool Ended(Operation& op, const FileJob& job, PurgeWalkListener* listener) {
    op.Ui().FileEnded(RecordOf(op, job));
    return listener == nullptr ||
           listener->Ended(job.path, {job.code, job.cause, job.verified}, job.purged);
}

// False when the listener ends the walk.
bool ReportOutcome(Operation& op, FileJob& job, PurgeWalkListener* listener) {
    NoteResult(op, JobSeriousness(job));
    if (job.purged) {
        op.State().sumOfSizes += static_cast<double>(job.size);
        ++op.State().purgedFileCount;
    }
    ReportLineEnd(op, job, op.Choices().options.purgeSlackOnly ? " slack purged" : " purged");
    return Ended(op, job, listener);
}

// Handles one matching file; false when the user cancelled the whole purge, or the
// listener ended the walk.
bool PurgeOneFile(Operation& op, const platform::WalkFolder& folder, const FolderEntry& entry,
                  std::int64_t threshold, bool& lineStarted, PurgeWalkListener* listener) {
    FileJob job{folder.fd.Get(), folder.path + entry.name, entry.name};
    job.size = RegularFileSize(entry);
    ++op.State().fileCount;
    ReportFileName(op, job, lineStarted);
    if (!DecideExclusion(op, entry, job)) {
        return false;
    }
    bool handedToPurger = false;
    if (job.code == FileOutcome::Ok) {
        // A declined file keeps Ok and is not purged: its line says only " not purged."
        handedToPurger = ConfirmFile(op, job);
        if (handedToPurger) {
            RunPasses(op, job, threshold, listener);
        }
    }
    if (!handedToPurger) {
        op.FileLeftAlone();
    }
    return ReportOutcome(op, job, listener);
}

// Files a purge left under the scrub's marker when it was killed between its rename and
// its unlink. They leave the targets: each is purged after the folder's other files,
// whatever the file specification and the date restriction, and counted apart.
std::vector<const FolderEntry*> TakeLeftovers(const std::vector<FolderEntry>& entries,
                                              std::vector<const FolderEntry*>& targets) {
    const auto leftover = [](const FolderEntry* entry) {
        return entry->status.kind == FileKind::Regular && IsScrubLeftover(entry->name);
    };
    std::erase_if(targets, leftover);
    std::vector<const FolderEntry*> found;
    for (const FolderEntry& entry : entries) {
        if (leftover(&entry)) {
            found.push_back(&entry);
        }
    }
    return found;
}

// The files of a folder the purge walk reports, each with a line and in the count of
// files, and the leftovers it purges after them. The count before the confirmation and
// the purge both take them from here.
std::vector<const FolderEntry*> SelectPurgeTargets(const OperationChoices& choices,
                                                   const std::vector<FolderEntry>& entries,
                                                   const std::string& fileSpec,
                                                   std::vector<const FolderEntry*>& targets) {
    SelectTargets(choices, entries, fileSpec, targets);
    return TakeLeftovers(entries, targets);
}

// False when the listener ends the walk.
bool PurgeLeftover(Operation& op, const platform::WalkFolder& folder, const FolderEntry& entry,
                   std::int64_t threshold, bool& lineStarted, PurgeWalkListener* listener) {
    FileJob job{folder.fd.Get(), folder.path + entry.name, entry.name};
    ++op.State().leftoverCount;
    ReportFileName(op, job, lineStarted);
    job.size = std::max<std::int64_t>(entry.status.size, 0);
    RunPasses(op, job, threshold, listener);
    op.State().leftoversPurged += job.purged ? 1 : 0;
    NoteResult(op, JobSeriousness(job));
    ReportLineEnd(op, job, " purged, left over from an interrupted purge");
    return Ended(op, job, listener);
}

// The Trash folders that exist, by device and inode, looked up once per walk.
std::vector<platform::FileStatus> TrashFolders(const Operation& op) {
    std::vector<platform::FileStatus> found;
    for (const std::string& trash : op.Protected().trashFolders) {
        const platform::FileStatus place = platform::Sys().StatNoFollow(trash);
        if (place.kind == FileKind::Directory) {
            found.push_back(place);
        }
    }
    return found;
}

// A Trash folder and the folders that make up its structure stay, empty or not. They
// are known by device and inode, so no spelling of the target hides them.
bool IsTrashStructure(const std::vector<platform::FileStatus>& trash,
                      const platform::WalkFolder& parent, const FolderEntry& entry) {
    return std::any_of(trash.begin(), trash.end(), [&](const platform::FileStatus& place) {
        const auto same = [&](const platform::FileStatus& s) {
            return s.device == place.device && s.inode == place.inode;
        };
        return same(entry.status) || same(parent.status);
    });
}

void RemoveIfEmptied(Operation& op, const std::vector<platform::FileStatus>& trash,
                     const platform::WalkFolder& parent, const FolderEntry& entry,
                     PurgeWalkListener* listener) {
    if (!op.Choices().options.deleteEmptyFolders || IsTrashStructure(trash, parent, entry)) {
        return;
    }
    // Removes only an empty folder, and only the one the walk saw under that name.
    const std::error_code error =
        platform::Sys().RemoveFolderAt(parent.fd.Get(), entry.name, entry.status);
    if (listener != nullptr) {
        listener->FolderRemoval(error);
    }
    if (error) {
        return;
    }
    ++op.State().removedFolderCount;
    if (!Silent(op) && !op.ReportBufferIsFull()) {
        // Through the buffer: a deep tree's removal lines must not grow it without end.
        op.AppendWithinBuffer("\nFolder " + ShownName(parent.path + entry.name) + " removed.\n");
    }
}

// True while the folder still has a name: a folder removed under the walk ends its files.
bool StillThere(const platform::WalkFolder& folder) {
    platform::FileStatus now;
    return !platform::Sys().StatOpen(folder.fd.Get(), now) && now.links > 0;
}

// Two descriptors per file of a batch, and room for the walk's folders and the rest.
constexpr int kDescriptorsKeptFree = 256;

BatchLimits BatchLimitsFor(const OperationChoices& choices) {
    BatchLimits limits;
    if (!choices.batchSmallFiles) {
        limits.files = 0;
        return limits;
    }
    const int room = (platform::Sys().RaiseOpenFileLimit() - kDescriptorsKeptFree) / 2;
    limits.files = std::clamp(room, 0, limits.files);
    return limits;
}

// What one overwrite of a file of this size writes, near enough for the batch's budget.
std::int64_t BatchBytesOf(std::int64_t size) {
    constexpr std::int64_t kBlock = 4096;
    return (std::max<std::int64_t>(size, 1) + kBlock - 1) / kBlock * kBlock;
}

bool EntersSubfolder(const PurgeScope& scope, const OperationChoices& choices,
                     const platform::WalkFolder& parent, const FolderEntry& entry) {
    if (scope.entersSubfolder) {
        return scope.entersSubfolder(parent.path + entry.name);
    }
    return choices.subdirectories;
}

class PurgeWalk : public platform::WalkVisitor {
  public:
    PurgeWalk(Operation& op, const std::string& fileSpec, const PurgeScope& scope)
        : op_(op),
          fileSpec_(fileSpec),
          scope_(scope),
          listener_(scope.listener),
          trash_(TrashFolders(op)),
          limits_(BatchLimitsFor(op.Choices())) {}

    bool Folder(const platform::WalkFolder& folder,
                const std::vector<FolderEntry>& entries) override {
        walkedWithEntries_.resize(folder.depth + 2, false);
        walkedWithEntries_[folder.depth] = !entries.empty();
        if (folder.depth == 0 && !scope_.topFolderFiles) {
            return true;
        }
        std::vector<const FolderEntry*> targets;
        const std::vector<const FolderEntry*> leftovers =
            SelectPurgeTargets(op_.Choices(), entries, fileSpec_, targets);
        op_.State().folderFileCount = static_cast<std::int32_t>(targets.size());
        if (targets.empty() && leftovers.empty()) {
            return true;
        }
        op_.NoteCopyOnWrite(folder);
        if (!Silent(op_) && !op_.ReportBufferIsFull()) {
            op_.AppendWithinBuffer(std::string(kLineBreak) + ShownName(folder.path));
        }
        threshold_ = IndicatorThreshold(op_, folder.status.device);
        lineStarted_ = false;
        for (const FolderEntry* entry : targets) {
            if (!ListenerGoesOn(WalkPoint::BeforeFile)) {
                return false;
            }
            FileJob job{folder.fd.Get(), folder.path + entry->name, entry->name};
            if (Holds(*entry, job)) {
                if (!Hold(std::move(job))) {
                    return false;
                }
                continue;
            }
            if (!RunBatch() ||
                !PurgeOneFile(op_, folder, *entry, threshold_, lineStarted_, listener_)) {
                return false;
            }
            if (!StillThere(folder)) {
                break;
            }
            op_.CheckPauseAndStop();
            if (op_.Stopped()) {
                return false;
            }
        }
        // A batch never outlives its folder's visit: the folder's descriptor is held only
        // that long, and an emptied folder is removed right after.
        return RunBatch() && PurgeLeftovers(folder, leftovers);
    }
    bool WantSubfolder(const platform::WalkFolder& parent, const FolderEntry& entry) override {
        return EntersSubfolder(scope_, op_.Choices(), parent, entry);
    }
    bool AfterSubfolder(const platform::WalkFolder& parent, const FolderEntry& entry) override {
        if (op_.Stopped()) {
            return false;
        }
        // The walk of a folder with entries ends with a line break held back until
        // something is shown at once: it lands after the folder line of the next folder
        // with files. An empty or unreadable folder adds none.
        if (walkedWithEntries_[parent.depth + 1]) {
            op_.ReportAppend(kLineBreak, false);
            walkedWithEntries_[parent.depth + 1] = false;
        }
        RemoveIfEmptied(op_, trash_, parent, entry, listener_);
        return ListenerGoesOn(WalkPoint::AfterSubfolder);
    }
    bool Refused(const std::string& path, platform::FolderRefusal refusal,
                 std::error_code error) override {
        NoteResult(op_, Seriousness::Failed);  // its files stay where they are
        op_.ReportFolderLeft(path, refusal, error, "not purged");
        if (listener_ != nullptr) {
            listener_->FolderLeft();
        }
        return !op_.Stopped();
    }

  private:
    bool ListenerGoesOn(WalkPoint point) { return listener_ == nullptr || listener_->GoOn(point); }

    // True when the file waits for the batch: a small, quick file that needs no question, or an
    // excluded one between batched files, whose line must keep its place.
    bool Holds(const FolderEntry& entry, FileJob& job) const {
        if (limits_.files == 0) {
            return false;
        }
        const FileOutcome code = ExclusionCode(op_, entry, job.path);
        if (code == FileOutcome::SensitiveUndecided) {
            return false;
        }
        job.code = code == FileOutcome::SensitiveRefused ? FileOutcome::SensitiveUndecided : code;
        job.size = RegularFileSize(entry);
        if (job.code != FileOutcome::Ok) {
            return !held_.empty();
        }
        // A file slow enough to show its passes as they go is purged alone, as a large one.
        return !AsksToConfirm(op_) && job.size < limits_.fileBelow &&
               !WantsIndicator(op_, job.size, threshold_);
    }

    // False when the operation stopped.
    bool PurgeLeftovers(const platform::WalkFolder& folder,
                        const std::vector<const FolderEntry*>& leftovers) {
        for (const FolderEntry* entry : leftovers) {
            if (!StillThere(folder)) {
                break;
            }
            if (!ListenerGoesOn(WalkPoint::BeforeFile) ||
                !PurgeLeftover(op_, folder, *entry, threshold_, lineStarted_, listener_)) {
                return false;
            }
            op_.CheckPauseAndStop();
            if (op_.Stopped()) {
                return false;
            }
        }
        return true;
    }

    // False when the batch that had to run first was stopped.
    bool Hold(FileJob job) {
        ++op_.State().fileCount;
        if (job.code == FileOutcome::Ok) {
            const std::int64_t bytes = BatchBytesOf(job.size);
            if (static_cast<int>(batch_.size()) >= limits_.files ||
                batchBytes_ + bytes > limits_.bytes) {
                if (!RunBatch()) {
                    return false;
                }
            }
            job.batched = true;
            batch_.push_back({{job.folderFd, job.name, job.path}});
            batchBytes_ += bytes;
        }
        held_.push_back(std::move(job));
        return true;
    }

    // Between the writes of a batch: a pause holds it, a stop ends it. The report's line
    // break for the stop comes after the batch's lines.
    bool GoOn() {
        OperationControl& control = op_.Control();
        if (!Silent(op_) && !control.StopRequested() && control.Paused()) {
            op_.ShowText();
            op_.ShowPhase(ReportPhase::Paused);
            control.WaitWhilePaused();
        }
        return !control.StopRequested();
    }

    // Purges the batch and writes the held lines in walk order, as a purge file by file
    // writes them. False when the operation stopped.
    bool RunBatch() {
        if (held_.empty()) {
            return true;
        }
        const int passes = op_.Choices().numberOfPasses;
        if (!batch_.empty()) {
            const std::string& first = batch_.front().file.path;
            op_.Ui().ShowPassProgress(first, 1, passes, batchBytes_);
            op_.Purger().PurgeBatch(batch_, PurgeRequestFor(op_.Choices()),
                                    [this] { return GoOn(); });
            op_.Ui().ShowPassProgress(first, 0, passes, batchBytes_);
        }
        std::size_t next = 0;
        bool listened = true;  // a listener that ends the walk hears of no file after
        for (FileJob& job : held_) {
            ReportFileName(op_, job, lineStarted_);
            if (job.batched) {
                job.code = batch_[next].result.outcome;
                job.verified = batch_[next].result.verified;
                job.cause = batch_[next++].result.cause;
                job.purged = job.code == FileOutcome::Ok;
                ShowSizeAndIndicator(op_, job, threshold_);  // quick files: no indicator
            } else {
                op_.FileLeftAlone();
            }
            listened = ReportOutcome(op_, job, listened ? listener_ : nullptr) && listened;
        }
        held_.clear();
        batch_.clear();
        batchBytes_ = 0;
        op_.CheckPauseAndStop();
        return listened && !op_.Stopped();
    }

    Operation& op_;
    const std::string& fileSpec_;
    const PurgeScope& scope_;
    PurgeWalkListener* const listener_;
    const std::vector<platform::FileStatus> trash_;
    std::vector<bool> walkedWithEntries_;  // per depth: the last folder walked there
    const BatchLimits limits_;
    std::vector<FileJob> held_;  // in walk order, from the first file of the batch on
    std::vector<BatchFile> batch_;
    std::int64_t batchBytes_ = 0;
    std::int64_t threshold_ = 0;  // of the folder being purged
    bool lineStarted_ = false;
};

// Counts what the purge walk would report, up to a limit, and touches nothing.
class CountWalk : public platform::WalkVisitor {
  public:
    CountWalk(Operation& op, const PurgeScope& scope, std::int32_t limit)
        : op_(op), scope_(scope), limit_(limit) {}

    bool Folder(const platform::WalkFolder& folder,
                const std::vector<FolderEntry>& entries) override {
        if (folder.depth == 0 && !scope_.topFolderFiles) {
            return true;
        }
        std::vector<const FolderEntry*> targets;
        (void)SelectPurgeTargets(op_.Choices(), entries, op_.Choices().targetFilespec, targets);
        for (const FolderEntry* entry : targets) {
            if (!ListenerGoesOn(WalkPoint::BeforeFile)) {
                return false;
            }
            if (!Counts(folder, *entry)) {
                continue;
            }
            ++count_;
            if (entry->status.kind == FileKind::Regular) {
                // The total that the purge's progress is measured against.
                op_.State().sumOfSizes += static_cast<double>(entry->status.size);
            }
            if (scope_.listener != nullptr) {
                scope_.listener->Counted(count_);
            }
            if (count_ >= limit_) {
                return false;
            }
        }
        return true;
    }
    bool WantSubfolder(const platform::WalkFolder& parent, const FolderEntry& entry) override {
        return EntersSubfolder(scope_, op_.Choices(), parent, entry);
    }
    bool AfterSubfolder(const platform::WalkFolder&, const FolderEntry&) override {
        return ListenerGoesOn(WalkPoint::AfterSubfolder);
    }

    std::optional<std::int32_t> Count() const {
        return count_ < limit_ ? std::optional(count_) : std::nullopt;
    }

  private:
    bool ListenerGoesOn(WalkPoint point) {
        return scope_.listener == nullptr || scope_.listener->GoOn(point);
    }
    bool Counts(const platform::WalkFolder& folder, const FolderEntry& entry) {
        return scope_.countsFilesLeftAlone ||
               SeriousnessOf(ExclusionCode(op_, entry, folder.path + entry.name)) !=
                   Seriousness::LeftAlone;
    }

    Operation& op_;
    const PurgeScope& scope_;
    const std::int32_t limit_;
    std::int32_t count_ = 0;
};

}  // namespace

std::optional<std::int32_t> CountPurgeTargets(Operation& op, std::int32_t limit,
                                              const PurgeScope& scope) {
    CountWalk count(op, scope, limit);
    (void)op.Walk(op.Choices().targetFolder, count);  // an unreadable target holds nothing
    return count.Count();
}

void VorlPurgeRecursive(Operation& op, const std::string& folder, const std::string& fileSpec,
                        const PurgeScope& scope) {
    PurgeWalk walk(op, fileSpec, scope);
    if (const std::error_code error = op.Walk(folder, walk)) {
        walk.Refused(WithTrailingSeparator(folder),
                     error == std::errc::cross_device_link ? platform::FolderRefusal::OtherVolume
                                                           : platform::FolderRefusal::CannotRead,
                     error);
    }
    op.ReportAppend(kLineBreak, false);  // the held-back line break of the target's walk
}

}  // namespace vorlane
