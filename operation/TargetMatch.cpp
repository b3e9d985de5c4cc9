#include "operation/TargetMatch.h"

#include "engine/FileOperations.h"
#include "support/Folders.h"

namespace vorlane {

bool EntryIsTarget(const OperationChoices& choices, const platform::FolderEntry& entry,
                   const std::string& fileSpec) {
    if (entry.status.kind == platform::FileKind::Directory ||
        !NameMatchesFileSpec(entry.name, fileSpec)) {
        return false;
    }
    if (!choices.dateRestriction.active) {
        return true;
    }
    const std::optional<std::int32_t> day = DayNumberOf(entry.status);
    return day && *day < choices.dateRestriction.onlyBeforeJdn;
}

void SelectTargets(const OperationChoices& choices,
                   const std::vector<platform::FolderEntry>& entries, const std::string& fileSpec,
                   std::vector<const platform::FolderEntry*>& targets) {
    targets.clear();
    for (const platform::FolderEntry& entry : entries) {
        if (EntryIsTarget(choices, entry, fileSpec)) {
            targets.push_back(&entry);
        }
    }
}

}  // namespace vorlane
