#include "operation/FileListing.h"

#include <vector>

#include "engine/FileOperations.h"
#include "operation/TargetMatch.h"
#include "platform/FolderWalk.h"
#include "support/Strings.h"

namespace vorlane {
namespace {

using platform::FileKind;
using platform::FolderEntry;
using platform::WalkFolder;

std::string DatePart(const std::string& dateTime) {
    return dateTime.substr(0, dateTime.find(' '));
}

// One matching file; false when the whole walk must end.
bool ListOneFile(Operation& op, const FolderEntry& entry) {
    OperationState& state = op.State();
    ++state.fileCount;
    const double size =
        entry.status.kind == FileKind::Regular ? static_cast<double>(entry.status.size) : 0.0;
    if (op.CountOnly()) {
        if (state.fileCount >= state.maxFilesToCount) {
            state.countLimitReached = true;
            return false;
        }
        state.sumOfSizes += size;  // the total of the purge's progress display
        return true;
    }
    if (state.listingFiles && state.fileDetails) {
        // Straight into the text, past the buffer check: a folder of a thousand files
        // must list to its end and get its estimate.
        op.AppendToText(ShownName(entry.name) + " (" +
                        DatePart(DateTimeTextOf(entry.status, true)) + ", " +
                        SizeTextUpToMB(size, 2) + ")   \r\n");
    }
    state.sumOfSizes += size;
    op.CheckPauseAndStop();
    return !op.Stopped();
}

bool WalkEnded(const Operation& op) {
    return op.CountOnly() ? op.State().countLimitReached : op.Stopped();
}

class ListWalk : public platform::WalkVisitor {
  public:
    ListWalk(Operation& op, const std::string& fileSpec) : op_(op), fileSpec_(fileSpec) {}

    bool Folder(const WalkFolder& folder, const std::vector<FolderEntry>& entries) override {
        SelectTargets(op_.Choices(), entries, fileSpec_, targets_);
        if (op_.CountOnly()) {
            // The confirmation names the files whose data goes: links, FIFOs, devices
            // and sockets have none.
            std::erase_if(targets_, [](const FolderEntry* entry) {
                return entry->status.kind != FileKind::Regular;
            });
        }
        op_.State().folderFileCount = static_cast<std::int32_t>(targets_.size());
        if (!targets_.empty() && !op_.CountOnly()) {
            if (op_.State().listFolders) {
                op_.ReportAppend(ShownName(folder.path) + std::string(kCrLf), true);
            } else {
                op_.AppendToText(" .");
            }
        }
        for (const FolderEntry* entry : targets_) {
            if (!ListOneFile(op_, *entry)) {
                return false;
            }
        }
        return true;
    }
    bool WantSubfolder(const WalkFolder&, const FolderEntry&) override {
        return op_.Choices().subdirectories;
    }
    bool AfterSubfolder(const WalkFolder&, const FolderEntry&) override {
        if (!op_.CountOnly()) {
            op_.CheckPauseAndStop();
        }
        return !WalkEnded(op_);
    }
    bool Refused(const std::string& path, platform::FolderRefusal refusal,
                 std::error_code error) override {
        if (!op_.CountOnly()) {
            op_.ReportFolderLeft(path, refusal, error, "not listed");
        }
        return !WalkEnded(op_);
    }

  private:
    Operation& op_;
    const std::string& fileSpec_;
    std::vector<const FolderEntry*> targets_;
};

}  // namespace

void ListFilesRecursive(Operation& op, const std::string& folder, const std::string& fileSpec) {
    ListWalk walk(op, fileSpec);
    op.Walk(folder, walk);
}

}  // namespace vorlane
