#include "report/TargetMatch.h"

#include "support/StrProc.h"

namespace vorlane {

bool EntryIsTarget(const OperationChoices& choices, const std::string& folderPath,
                   const platform::FolderEntry& entry, const std::string& fileSpec) {
    return entry.status.kind != platform::FileKind::Directory &&
           SatisfiesFilespecAndDateRestriction(WithTrailingBackslash(folderPath) + entry.name,
                                               fileSpec, false, choices.dateRestriction);
}

}  // namespace vorlane
