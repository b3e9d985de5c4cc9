#include "operation/FileListing.h"

#include <vector>

#include "engine/FileOperations.h"
#include "operation/TargetMatch.h"
#include "platform/Platform.h"
#include "support/Strings.h"

namespace vorlane {
namespace {

using platform::FileKind;
using platform::FolderEntry;

std::string DatePart(const std::string& dateTime) {
    return dateTime.substr(0, dateTime.find(' '));
}

// One matching file; false when the whole walk must end.
bool ListOneFile(Operation& op, const std::string& dirPath, const FolderEntry& entry) {
    OperationState& state = op.State();
    ++state.fileCount;
    if (op.CountOnly()) {
        if (state.fileCount >= state.maxFilesToCount) {
            state.fileCount = -1;
            return false;
        }
        return true;
    }
    const double size =
        entry.status.kind == FileKind::Regular ? static_cast<double>(entry.status.size) : 0.0;
    if (state.listingFiles && state.fileDetails) {
        const std::string path = dirPath + entry.name;
        // Straight into the text, past the buffer check: a folder of a thousand files
        // must list to its end and get its estimate.
        op.AppendToText(entry.name + " (" + DatePart(FileDateTimeText(path, true)) + ", " +
                        SizeTextUpToMB(size, 2) + ")   \r\n");
    }
    state.sumOfSizes += size;
    op.CheckPauseAndStop();
    return !op.Stopped();
}

bool WalkEnded(const Operation& op) {
    return op.CountOnly() ? op.State().fileCount == -1 : op.Stopped();
}

}  // namespace

void ListFilesRecursive(Operation& op, const std::string& folder, const std::string& fileSpec) {
    const std::string dirPath = WithTrailingSeparator(folder);
    std::vector<FolderEntry> entries;
    std::vector<const FolderEntry*> targets;
    if (!ListTargets(op.Choices(), dirPath, fileSpec, entries, targets)) {
        return;
    }
    op.State().folderFileCount = static_cast<std::int32_t>(targets.size());
    if (!targets.empty() && !op.CountOnly()) {
        if (op.State().listFolders) {
            op.ReportAppend(dirPath + std::string(kCrLf), true);
        } else {
            op.AppendToText(" .");
        }
    }
    for (const FolderEntry* entry : targets) {
        if (!ListOneFile(op, dirPath, *entry)) {
            return;
        }
    }
    if (!op.Choices().subdirectories) {
        return;
    }
    for (const FolderEntry& entry : entries) {
        if (entry.status.kind != FileKind::Directory) {
            continue;
        }
        ListFilesRecursive(op, dirPath + entry.name, fileSpec);
        if (!op.CountOnly()) {
            op.CheckPauseAndStop();
        }
        if (WalkEnded(op)) {
            return;
        }
    }
}

}  // namespace vorlane
