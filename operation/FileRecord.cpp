#include "operation/FileRecord.h"

namespace vorlane {

std::optional<int> PassesWritten(FileOutcome outcome, int passes, std::optional<int> seen) {
    switch (outcome) {
        case FileOutcome::Ok:
        case FileOutcome::NotDeleted:
        case FileOutcome::RemovalNotFlushed:
            // Every pass was flushed before the delete was tried.
            return passes;
        default:
            break;
    }
    if (seen) {
        return seen;
    }
    // Nothing is written before a file is damaged; once damaged, how far is unknown.
    return SeriousnessOf(outcome) == Seriousness::Damaged ? std::nullopt : std::optional(0);
}

}  // namespace vorlane
