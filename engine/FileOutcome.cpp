#include "engine/FileOutcome.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "support/Strings.h"

namespace vorlane {
namespace {

// "{}" in a text is where the system's reason goes, in parentheses, when the outcome has
// one; without it, `fallback` stands there.
constexpr std::string_view kReasonMark = "{}";

struct OutcomeWords {
    FileOutcome outcome;
    const char* line;
    const char* report;
    const char* fallback = "";
};

using enum FileOutcome;

// clang-format off
constexpr OutcomeWords kWords[] = {
    {Ok, "purged", " not purged."},
    {ExcludedProgramFolder, "", ": a file in the current application folder, not purged."},
    {ExcludedSwapFile, "", ": the page file (swap file), not purged."},
    {ExcludedTrashDesktopIni, "", ": a desktop.ini file in the Trash, not purged."},
    {SensitiveUndecided, "", ""},
    {SensitiveRefused, "", " not purged."},
    {EmptyFileName, "empty file name", ": empty file name."},
    {CannotOpen, "file cannot be opened{}", ": unable to open file for writing."},
    {NotDeleted, "overwritten but not deleted{}", ": file overwritten but not deleted."},
    {InvalidPurgeType, "invalid purge type", ": invalid purge type."},
    {InvalidClusterSize, "invalid cluster size", ": invalid cluster size."},
    {SymbolicLink, "symbolic link, not followed", ": symbolic link, not followed, not purged."},
    {NotRegularFile, "not a regular file", ": not a regular file, not purged."},
    {CannotOpenForWriting, "file cannot be opened for writing{}",
     ": unable to open file for writing."},
    {WriteFailed, "write error{}", ": write error{}, not purged.", " (disk full or device error)"},
    {FlushFailed, "data could not be flushed to the device{}",
     ": data could not be flushed to the device{}, not purged."},
    {FileChanged, "file vanished or was replaced during the purge",
     ": file vanished or was replaced during the purge, not purged."},
    {InvalidNumberOfPasses, "invalid number of passes", ": invalid number of passes."},
    {HardLinks, "file has other names (hard links)",
     ": file has other names (hard links), not purged."},
    {Stopped, "stopped before the overwrite", " not purged."},
    {GrewDuringPurge, "file grew during the purge", ": file grew during the purge, not purged."},
    {MountPoint, "file is a mount point", ": file is a mount point, not purged."},
    {PseudoFileSystem, "file of a pseudo file system (proc, sysfs, ...)",
     ": file of a pseudo file system, not purged."},
    {LowerLayer, "its data lies in a lower layer of an overlay file system",
     ": its data lies in a lower layer of an overlay file system, not purged."},
    {RemovalNotFlushed, "file overwritten, but its removal could not be flushed to the device{}",
     ": file overwritten, but its removal could not be flushed to the device{}."},
    {PartlyOverwritten, "partly overwritten, not deleted", ": partly overwritten, not deleted."},
    {ShrankDuringPurge, "file shrank during the purge", ": file shrank during the purge, not purged."},
    {InUse, "file is in use by another program", ": file is in use by another program, not purged."},
    {OpenedForWritingDuringPurge, "file was opened for writing by another program during the purge",
     ": file was opened for writing by another program during the purge, not purged."},
    {VerificationFailed,
     "verification failed{}: the device did not keep the last overwrite, not purged.",
     ": verification failed{}: the device did not keep the last overwrite, not purged."},
    {CannotVerify, "cannot be verified: its file system keeps files in memory only",
     ": cannot be verified, its file system keeps files in memory only, not purged."},
    {ReadOnlyNotPermitted, "read-only file, not permitted",
     ": file is a read-only file, not purged.\n(Perhaps file is in use by another program.)"},
    {SystemNotPermitted, "system file, not permitted", ": file is a system file, not purged."},
};
// clang-format on

const OutcomeWords* WordsOf(FileOutcome outcome) {
    const auto* found =
        std::find_if(std::begin(kWords), std::end(kWords),
                     [outcome](const OutcomeWords& w) { return w.outcome == outcome; });
    return found == std::end(kWords) ? nullptr : found;
}

std::string WithReason(std::string text, const OutcomeWords& words, const std::error_code& cause) {
    const std::size_t mark = text.find(kReasonMark);
    if (mark != std::string::npos) {
        text.replace(mark, kReasonMark.size(),
                     cause ? " (" + cause.message() + ")" : std::string(words.fallback));
    }
    return text;
}

}  // namespace

Seriousness SeriousnessOf(FileOutcome outcome) {
    switch (outcome) {
        case Ok:
            return Seriousness::Purged;
        case ExcludedProgramFolder:
        case ExcludedSwapFile:
        case ExcludedTrashDesktopIni:
        case SensitiveUndecided:
        case SensitiveRefused:
        case ReadOnlyNotPermitted:
        case SystemNotPermitted:
        case Stopped:
            return Seriousness::LeftAlone;
        case NotDeleted:
        case WriteFailed:
        case FlushFailed:
        case GrewDuringPurge:
        case RemovalNotFlushed:
        case PartlyOverwritten:
        case ShrankDuringPurge:
        case OpenedForWritingDuringPurge:
        case VerificationFailed:
            return Seriousness::Damaged;
        default:
            return Seriousness::Failed;
    }
}

std::string OutcomeText(const FileResult& result, OutcomeForm form, const std::string& path) {
    const OutcomeWords* words = WordsOf(result.outcome);
    if (words == nullptr) {
        return form == OutcomeForm::Line ? "" : " not purged.";
    }
    if (form == OutcomeForm::Line) {
        return WithReason(words->line, *words, result.cause);
    }
    if (result.outcome == SensitiveUndecided) {
        return ": \"" + ShownName(FileExtension(path, true)) + "\" files are not purged.";
    }
    return WithReason(words->report, *words, result.cause);
}

}  // namespace vorlane
