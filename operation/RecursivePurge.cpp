#include "operation/RecursivePurge.h"

#include <algorithm>
#include <vector>

#include "engine/DriveInfo.h"
#include "engine/FileOperations.h"
#include "engine/FilePurge.h"
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

constexpr double kBytesPerMB = 1024.0 * 1024.0;
constexpr float kUnmeasuredSpeed = 1.0f;
constexpr int kMaxIndicatorLength = 10;

// One file's way through the purge, as its report line tells it.
struct FileJob {
    int folderFd;
    std::string path;
    std::string name;
    int code = 0;  // exclusion or purge result code; 0 while nothing is wrong
    std::int64_t size = 0;
    bool sizeShown = false;
    bool purged = false;
};

// The bytes one overwrite handles in a second: files above it show a pass indicator.
std::int64_t IndicatorThreshold(const Operation& op, dev_t device) {
    const auto volume = op.Volumes().OfDevice(device);
    float speed = volume ? DrivePurgeSpeed(op.Choices(), volume->mountPoint) : 0.0f;
    if (speed <= 0) {
        speed = kUnmeasuredSpeed;
    }
    return RoundToInt(speed * kBytesPerMB);
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
        op.ReportAppend(kCrLf, false);
        lineStarted = true;
    }
    if (Dots(op)) {
        op.ReportAppend(". ", true);
    } else {
        op.ReportAppend(job.name, false);
    }
}

// Asks about a sensitive extension not yet decided; false when the user cancels.
bool AskAboutExtension(Operation& op, FileJob& job) {
    const std::string ext = FileExtension(job.path, true);
    const bool an = !ext.empty() && (ext[0] == 'e' || ext[0] == 'i' || ext[0] == 'o');
    const std::string text =
        job.path + "\r\n\r\nYou have requested to purge a file with a" + (an ? "n" : "") + " \"" +
        ext + "\" extension.\r\nDo you wish to allow all files with this " +
        "extension to be purged?\r\n(Permission lasts only during the course of this " +
        "operation.)";
    const MessageAnswer answer =
        op.Ui().Ask({text, "Purge query", MessageButtons::YesNoCancel, 2, MessageIcon::Question});
    if (answer == MessageAnswer::Cancel) {
        op.AppendToText("\r\n\r\n");
        op.Control().RequestStop();
        return false;
    }
    const bool allowed = answer == MessageAnswer::Yes;
    op.Extensions().SetSensitiveExtensionPermission(
        ext, allowed ? kExtensionAllowed : kExtensionRefused);
    job.code = allowed ? kNotExcluded : kSensitiveUndecided;
    return true;
}

// The exclusion code, after the sensitive-extension question; false on Cancel.
bool DecideExclusion(Operation& op, const FolderEntry& entry, FileJob& job) {
    if (entry.status.kind == FileKind::Symlink) {
        job.code = purge_result::kSymbolicLink;
        return true;
    }
    if (entry.status.kind != FileKind::Regular) {
        job.code = purge_result::kNotRegularFile;
        return true;
    }
    job.code = ExcludedFile(job.path, op.Extensions(), op.Protected());
    if (job.code == kSensitiveUndecided && op.Choices().options.okToPurgeSensitiveFiles) {
        job.code = kNotExcluded;
    }
    if (job.code == kSensitiveRefused) {
        job.code = kSensitiveUndecided;
        return true;
    }
    return job.code != kSensitiveUndecided || AskAboutExtension(op, job);
}

bool ConfirmFile(Operation& op, const FileJob& job) {
    OperationState& state = op.State();
    if (!op.Choices().options.confirmFiles || state.doNotAskAgain) {
        return true;
    }
    const std::string text = LowerCaseText(job.path) + "     " + SizeText(job.size, 2) + "     " +
                             FileDateTimeText(job.path, true);
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

void RunPasses(Operation& op, FileJob& job, std::int64_t threshold) {
    const OperationChoices& choices = op.Choices();
    const int passes = choices.numberOfPasses;
    // The indicator is for files whose whole purge, every pass, takes over a second.
    const int overwrites = passes * GetNumOverwritesPerPass(choices.purgeType);
    bool indicator = false;
    if (!Silent(op) && !Dots(op)) {
        op.ReportAppend(
            " (" + GroupedNumberText(static_cast<double>(job.size), 0) + " bytes) purging", true);
        job.sizeShown = !op.ReportBufferIsFull();
        if (job.size * overwrites > threshold && passes >= 2) {
            op.ReportAppend(" " + std::string(std::min(passes, kMaxIndicatorLength), '_'), true);
            indicator = !op.ReportBufferIsFull();
        }
    }
    const int shown = std::min(passes, kMaxIndicatorLength);
    PurgeHooks hooks;
    hooks.betweenPasses = [&](int done) {
        op.Ui().ShowPassProgress(job.path, done + 1, passes, job.size);
        if (indicator) {
            op.Report().DropLastCharacters(shown);
            op.AppendToText(PassIndicator(done, shown));
        }
        op.CheckPauseAndStop();
        return !op.Stopped();
    };
    hooks.stopRequested = [&op] { return op.Stopped(); };
    PurgeRequest request;
    request.purgeType = choices.purgeType;
    request.passes = passes;
    request.deleteFile = !choices.options.doNotDeletePurgedFiles;
    request.okToPurgeReadOnly = choices.options.okToPurgeReadOnlyFiles;
    request.okToPurgeSystem = choices.options.okToPurgeSystemFiles;
    request.allowHardLinks = choices.safety.allowHardLinks;
    op.Ui().ShowPassProgress(job.path, 1, passes, job.size);
    job.code = op.Purger().Purge({job.folderFd, job.name, job.path}, request, hooks);
    if (indicator) {
        op.Report().DropLastCharacters(shown);
    }
    op.Ui().ShowPassProgress(job.path, 0, passes, job.size);
    job.purged = job.code == purge_result::kPurged;
}

void ReportOutcome(Operation& op, FileJob& job) {
    OperationState& state = op.State();
    if (!Dots(op) && !op.ReportBufferIsFull() && job.sizeShown) {
        op.Report().CutAfterLast("bytes)");
    }
    if (job.purged) {
        if (!Silent(op) && !Dots(op)) {
            op.ReportAppend(" purged", false);
        }
        state.sumOfSizes += static_cast<double>(job.size);
        ++state.purgedFileCount;
    } else if (!Silent(op)) {
        if (Dots(op)) {
            op.ReportAppend(std::string(kCrLf) + job.name, false);
        }
        op.ReportAppend(NotPurgedReason(job.code, job.path), false);
    }
    if (!Silent(op) && (!job.purged || !Dots(op))) {
        op.ReportAppend(kCrLf, true);
    }
}

// Handles one matching file; false when the user cancelled the whole purge.
bool PurgeOneFile(Operation& op, const platform::WalkFolder& folder, const FolderEntry& entry,
                  std::int64_t threshold, bool& lineStarted) {
    FileJob job{folder.fd.Get(), folder.path + entry.name, entry.name};
    ++op.State().fileCount;
    ReportFileName(op, job, lineStarted);
    if (!DecideExclusion(op, entry, job)) {
        return false;
    }
    if (job.code == kNotExcluded) {
        job.size = std::max<std::int64_t>(entry.status.size, 0);
        if (ConfirmFile(op, job)) {
            RunPasses(op, job, threshold);
        } else {
            job.code = 0;  // declined: " not purged."
        }
    }
    ReportOutcome(op, job);
    return true;
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
                     const platform::WalkFolder& parent, const FolderEntry& entry) {
    if (!op.Choices().options.deleteEmptyFolders || IsTrashStructure(trash, parent, entry)) {
        return;
    }
    // Removes only an empty folder, and only the one the walk saw under that name.
    if (platform::Sys().RemoveFolderAt(parent.fd.Get(), entry.name, entry.status) != 0) {
        return;
    }
    ++op.State().removedFolderCount;
    if (!Silent(op) && !op.ReportBufferIsFull()) {
        // Through the buffer: a deep tree's removal lines must not grow it without end.
        op.AppendWithinBuffer("\r\nFolder " + parent.path + entry.name + " removed.\r\n");
    }
}

// True while the folder still has a name: a folder removed under the walk ends its files.
bool StillThere(const platform::WalkFolder& folder) {
    platform::FileStatus now;
    return platform::Sys().StatOpen(folder.fd.Get(), now) == 0 && now.links > 0;
}

class PurgeWalk : public platform::WalkVisitor {
  public:
    PurgeWalk(Operation& op, const std::string& fileSpec)
        : op_(op), fileSpec_(fileSpec), trash_(TrashFolders(op)) {}

    bool Folder(const platform::WalkFolder& folder,
                const std::vector<FolderEntry>& entries) override {
        walkedWithEntries_.resize(folder.depth + 2, false);
        walkedWithEntries_[folder.depth] = !entries.empty();
        std::vector<const FolderEntry*> targets;
        SelectTargets(op_.Choices(), entries, fileSpec_, targets);
        op_.State().folderFileCount = static_cast<std::int32_t>(targets.size());
        if (targets.empty()) {
            return true;
        }
        op_.NoteCopyOnWrite(folder.status.device);
        if (!Silent(op_) && !op_.ReportBufferIsFull()) {
            op_.AppendWithinBuffer(std::string(kCrLf) + folder.path);
        }
        const std::int64_t threshold = IndicatorThreshold(op_, folder.status.device);
        bool lineStarted = false;
        for (const FolderEntry* entry : targets) {
            if (!PurgeOneFile(op_, folder, *entry, threshold, lineStarted)) {
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
        return true;
    }
    bool WantSubfolder(const platform::WalkFolder&, const FolderEntry&) override {
        return op_.Choices().subdirectories;
    }
    bool AfterSubfolder(const platform::WalkFolder& parent, const FolderEntry& entry) override {
        if (op_.Stopped()) {
            return false;
        }
        // The walk of a folder with entries ends with a line break held back until
        // something is shown at once: it lands after the folder line of the next folder
        // with files. An empty or unreadable folder adds none.
        if (walkedWithEntries_[parent.depth + 1]) {
            op_.ReportAppend(kCrLf, false);
            walkedWithEntries_[parent.depth + 1] = false;
        }
        RemoveIfEmptied(op_, trash_, parent, entry);
        return true;
    }
    bool Refused(const std::string& path, platform::FolderRefusal refusal, int error) override {
        op_.ReportFolderLeft(path, refusal, error, "not purged");
        return !op_.Stopped();
    }

  private:
    Operation& op_;
    const std::string& fileSpec_;
    const std::vector<platform::FileStatus> trash_;
    std::vector<bool> walkedWithEntries_;  // per depth: the last folder walked there
};

}  // namespace

std::string NotPurgedReason(int code, const std::string& filePath) {
    namespace r = purge_result;
    switch (code) {
        case r::kSystemNotPermitted:
            return ": file is a system file, not purged.";
        case r::kReadOnlyNotPermitted:
            return ": file is a read-only file, not purged.\r\n(Perhaps file is in use by another "
                   "program.)";
        case r::kInvalidClusterSize:
            return ": invalid cluster size.";
        case r::kInvalidPurgeType:
            return ": invalid purge type.";
        case r::kInvalidNumberOfPasses:
            return ": invalid number of passes.";
        case r::kHardLinks:
            return ": file has other names (hard links), not purged.";
        case r::kGrewDuringPurge:
            return ": file grew during the purge, not purged.";
        case r::kNotDeleted:
            return ": file overwritten but not deleted.";
        case r::kCannotOpen:
        case r::kCannotOpenForWriting:
            return ": unable to open file for writing.";
        case r::kEmptyFileName:
            return ": empty file name.";
        case r::kSymbolicLink:
            return ": symbolic link, not followed, not purged.";
        case r::kNotRegularFile:
            return ": not a regular file, not purged.";
        case r::kWriteFailed:
            return ": write error (disk full or device error), not purged.";
        case r::kFlushFailed:
            return ": data could not be flushed to the device, not purged.";
        case r::kFileChanged:
            return ": file vanished or was replaced during the purge, not purged.";
        case kExcludedProgramFolder:
            return ": a file in the current application folder, not purged.";
        case kExcludedSwapFile:
            return ": the page file (swap file), not purged.";
        case kExcludedTrashDesktopIni:
            return ": a desktop.ini file in the Trash, not purged.";
        case kSensitiveUndecided:
            return ": \"" + FileExtension(filePath, true) + "\" files are not purged.";
        default:
            return " not purged.";
    }
}

void VorlPurgeRecursive(Operation& op, const std::string& folder, const std::string& fileSpec) {
    PurgeWalk walk(op, fileSpec);
    if (const int error = op.Walk(folder, walk); error != 0) {
        walk.Refused(WithTrailingSeparator(folder),
                     error == EXDEV ? platform::FolderRefusal::OtherVolume
                                    : platform::FolderRefusal::CannotRead,
                     error);
    }
    op.ReportAppend(kCrLf, false);  // the held-back line break of the target's walk
}

}  // namespace vorlane
