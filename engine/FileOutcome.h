#pragma once
// What became of one file in a purge: nothing wrong, left alone by a rule before any
// write, or the reason its purge failed. The exclusions count up from 1, the failures
// down from -1; the numbers are kept from the report's history.

#include <cstdint>
#include <string>
#include <system_error>

namespace vorlane {

enum class FileOutcome : std::int16_t {
    // Nothing wrong: not excluded before the purge, purged after it.
    Ok = 0,

    // Left alone by a rule.
    ExcludedProgramFolder = 1,
    ExcludedSwapFile = 2,
    ExcludedTrashDesktopIni = 5,
    // A sensitive extension the user has not allowed (yet), or has refused.
    SensitiveUndecided = 7,
    SensitiveRefused = 8,

    // Failed.
    EmptyFileName = -1,
    CannotOpen = -2,
    NotDeleted = -4,
    InvalidPurgeType = -8,
    InvalidClusterSize = -9,
    // A link is never written through: its target may lie anywhere.
    SymbolicLink = -10,
    // FIFOs, devices, sockets and folders are not files whose data we could overwrite.
    NotRegularFile = -11,
    CannotOpenForWriting = -12,
    WriteFailed = -13,
    FlushFailed = -14,
    // The name led to another file, or to none, between the checks and the overwrite.
    FileChanged = -15,
    // No pass at all would leave the data in place; deleting it then would be a lie.
    InvalidNumberOfPasses = -16,
    // Overwriting one name destroys the data of every other name of the file, which may
    // lie outside the target.
    HardLinks = -17,
    // Stopped before its first byte was written: the file is as it was.
    Stopped = -18,
    // Grew beyond what the overwrites covered while they ran: someone writes to it.
    GrewDuringPurge = -19,
    // Mounted over its name (as containers do with hosts files): it belongs to another
    // volume than its folder, and is never opened for writing.
    MountPoint = -40,
    // proc, sysfs, tracefs and the like: writing there is an order to the kernel.
    PseudoFileSystem = -41,
    // On an overlay, the data of a file from a lower layer stays there: an overwrite only
    // reaches the copy made in the upper layer.
    LowerLayer = -42,
    // Overwritten and unlinked, but the folder's flush failed: after a crash or a remount
    // the file may be back under its own name.
    RemovalNotFlushed = -20,
    // Stopped after its first byte was written: some or all of its data is gone, so its
    // contents can no longer be trusted, though it keeps its size and is not deleted.
    PartlyOverwritten = -21,
    // Cut while the overwrites ran: the blocks it let go were never overwritten.
    ShrankDuringPurge = -23,
    // Another program holds it open (a write lease was refused): what it writes later
    // would reach the device after the overwrites. Nothing was written.
    InUse = -24,
    // Another program opened it for writing while the overwrites ran.
    OpenedForWritingDuringPurge = -25,
    // The last overwrite, read back from the device, differed from what was written, or
    // could not be read back: the file was written and is kept.
    VerificationFailed = -26,
    // A read-back was asked for, and the file system keeps its files in memory alone
    // (tmpfs): there is no device to read from. Nothing was written.
    CannotVerify = -27,
    ReadOnlyNotPermitted = -53,
    SystemNotPermitted = -54,
};

// How one file's purge ended, with the system's reason when a call of ours failed (empty
// when the outcome is a decision of ours, or the failing call gave no reason).
struct FileResult {
    FileOutcome outcome = FileOutcome::Ok;
    std::error_code cause{};
    // The last overwrite was read back from the device and matched what was written.
    bool verified = false;

    bool Purged() const { return outcome == FileOutcome::Ok; }
};

// How bad an outcome is, least first: what a command's status is made of.
enum class Seriousness {
    Purged,
    LeftAlone,  // a rule or the person kept the file out of the purge
    Failed,     // it was to be purged and was not; nothing of it was written
    Damaged,    // written, at least in part, and not gone: its data can no longer be trusted
};

Seriousness SeriousnessOf(FileOutcome outcome);

// Where an outcome's words are shown.
enum class OutcomeForm {
    Line,    // on a line of its own: "purged", "file cannot be opened for writing"
    Report,  // behind the file's name on the report: ": unable to open file for writing."
};

// What became of the file, in the words of `form`. `path` names the file, for the texts
// that quote its extension. The system's reason is given where the text has room for it.
std::string OutcomeText(const FileResult& result, OutcomeForm form, const std::string& path = {});

}  // namespace vorlane
