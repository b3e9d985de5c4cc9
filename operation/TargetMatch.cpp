#include "operation/TargetMatch.h"

#include "support/Strings.h"

namespace vorlane {

bool EntryIsTarget(const OperationChoices& choices, const std::string& folderPath,
                   const platform::FolderEntry& entry, const std::string& fileSpec) {
    return entry.status.kind != platform::FileKind::Directory &&
           SatisfiesFilespecAndDateRestriction(WithTrailingSeparator(folderPath) + entry.name,
                                               fileSpec, false, choices.dateRestriction);
}

bool ListTargets(const OperationChoices& choices, const std::string& dirPath,
                 const std::string& fileSpec, std::vector<platform::FolderEntry>& entries,
                 std::vector<const platform::FolderEntry*>& targets) {
    targets.clear();
    if (platform::Sys().ListFolder(dirPath, entries) != 0) {
        return false;
    }
    for (const platform::FolderEntry& entry : entries) {
        if (EntryIsTarget(choices, dirPath, entry, fileSpec)) {
            targets.push_back(&entry);
        }
    }
    return true;
}

}  // namespace vorlane
