#include "engine/PurgeResult.h"

namespace vorlane {

const char* PurgeResultMeaning(PurgeResultCode code) {
    using namespace purge_result;
    switch (code) {
        case kPurged:
            return "purged";
        case kEmptyFileName:
            return "empty file name";
        case kCannotOpen:
            return "file cannot be opened";
        case kNotDeleted:
            return "overwritten but not deleted";
        case kInvalidPurgeType:
            return "invalid purge type";
        case kInvalidClusterSize:
            return "invalid cluster size";
        case kSymbolicLink:
            return "symbolic link, not followed";
        case kNotRegularFile:
            return "not a regular file";
        case kCannotOpenForWriting:
            return "file cannot be opened for writing";
        case kWriteFailed:
            return "write error (disk full or device error)";
        case kFlushFailed:
            return "data could not be flushed to the device";
        case kFileChanged:
            return "file vanished or was replaced during the purge";
        case kInvalidNumberOfPasses:
            return "invalid number of passes";
        case kHardLinks:
            return "file has other names (hard links)";
        case kStopped:
            return "stopped during the overwrite";
        case kGrewDuringPurge:
            return "file grew during the purge";
        case kReadOnlyNotPermitted:
            return "read-only file, not permitted";
        case kSystemNotPermitted:
            return "system file, not permitted";
        default:
            return "";
    }
}

}  // namespace vorlane
