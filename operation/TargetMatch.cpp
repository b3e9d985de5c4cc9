#include "operation/TargetMatch.h"

#include <cerrno>

#include "engine/FileOperations.h"
#include "support/Strings.h"

namespace vorlane {

bool NameIsTarget(const OperationChoices& choices, const std::string& name,
                  const std::string& fileSpec) {
    switch (choices.specRule) {
        case FileSpecRule::OneFile:
            return name == fileSpec;
        case FileSpecRule::WholeName:
            // "*.*" is every file on the command line too: its default and its help say so.
            return fileSpec == kAllFiles || !HasWildcard(fileSpec)
                       ? NameMatchesFileSpec(name, fileSpec)
                       : WholeNameMatches(name, fileSpec);
        case FileSpecRule::NameAndExtension:
            break;
    }
    return NameMatchesFileSpec(name, fileSpec);
}

bool EntryIsTarget(const OperationChoices& choices, const platform::FolderEntry& entry,
                   const std::string& fileSpec) {
    if (entry.status.kind == platform::FileKind::Directory ||
        !NameIsTarget(choices, entry.name, fileSpec)) {
        return false;
    }
    return !choices.dateRestriction.active ||
           DayIsCovered(choices.dateRestriction, DayNumberOf(entry.status));
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

FolderCount CountNamedTargets(const OperationChoices& choices, const platform::WalkFolder* held) {
    FolderCount result;
    platform::WalkFolder opened;
    if (held == nullptr) {
        // Opened as the walk opens its target, so the count reads what the walk would.
        result.error = choices.targetFolder.empty()
                           ? platform::SystemError(ENOENT)
                           : platform::OpenTargetFolder(
                                 WithoutTrailingSeparator(choices.targetFolder), opened);
        if (result.error) {
            return result;
        }
        held = &opened;
    }
    std::vector<platform::FolderEntry> entries;
    result.error = platform::Sys().ReadFolder(held->fd.Get(), entries);
    for (const platform::FolderEntry& entry : entries) {
        if (entry.status.kind != platform::FileKind::Directory &&
            NameIsTarget(choices, entry.name, choices.targetFilespec)) {
            ++result.count;
        }
    }
    return result;
}

}  // namespace vorlane
