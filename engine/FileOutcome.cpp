#include "engine/FileOutcome.h"

namespace vorlane {

const char* PurgeResultMeaning(FileOutcome outcome) {
    using enum FileOutcome;
    switch (outcome) {
        case Ok:
            return "purged";
        case EmptyFileName:
            return "empty file name";
        case CannotOpen:
            return "file cannot be opened";
        case NotDeleted:
            return "overwritten but not deleted";
        case InvalidPurgeType:
            return "invalid purge type";
        case InvalidClusterSize:
            return "invalid cluster size";
        case SymbolicLink:
            return "symbolic link, not followed";
        case NotRegularFile:
            return "not a regular file";
        case CannotOpenForWriting:
            return "file cannot be opened for writing";
        case WriteFailed:
            return "write error (disk full or device error)";
        case FlushFailed:
            return "data could not be flushed to the device";
        case FileChanged:
            return "file vanished or was replaced during the purge";
        case InvalidNumberOfPasses:
            return "invalid number of passes";
        case HardLinks:
            return "file has other names (hard links)";
        case Stopped:
            return "stopped before the overwrite";
        case GrewDuringPurge:
            return "file grew during the purge";
        case MountPoint:
            return "file is a mount point";
        case PseudoFileSystem:
            return "file of a pseudo file system (proc, sysfs, ...)";
        case LowerLayer:
            return "its data lies in a lower layer of an overlay file system";
        case RemovalNotFlushed:
            return "file overwritten, but its removal could not be flushed to the device";
        case PartlyOverwritten:
            return "partly overwritten, not deleted";
        case ShrankDuringPurge:
            return "file shrank during the purge";
        case InUse:
            return "file is in use by another program";
        case OpenedForWritingDuringPurge:
            return "file was opened for writing by another program during the purge";
        case ReadOnlyNotPermitted:
            return "read-only file, not permitted";
        case SystemNotPermitted:
            return "system file, not permitted";
        default:
            return "";
    }
}

}  // namespace vorlane
