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
bool ListOneFile(Operation& op, const WalkFolder& folder, const FolderEntry& entry) {
    OperationState& state = op.State();
    ++state.fileCount;
    const double size =
        entry.status.kind == FileKind::Regular ? static_cast<double>(entry.status.size) : 0.0;
    if (state.listingFiles && state.fileDetails) {
        // Straight into the text, past the buffer check: a folder of a thousand files
        // must list to its end and get its estimate.
        op.AppendToText(ShownName(entry.name) + " (" +
                        DatePart(DateTimeTextOf(entry.status, true)) + ", " +
                        SizeTextUpToMB(size, 2) + ")   \n");
    }
    state.sumOfSizes += size;
    op.Ui().FileEnded({.path = folder.path + entry.name, .size = static_cast<std::int64_t>(size)});
    op.CheckPauseAndStop();
    return !op.Stopped();
}

class ListWalk : public platform::WalkVisitor {
  public:
    ListWalk(Operation& op, const std::string& fileSpec) : op_(op), fileSpec_(fileSpec) {}

    bool Folder(const WalkFolder& folder, const std::vector<FolderEntry>& entries) override {
        SelectTargets(op_.Choices(), entries, fileSpec_, targets_);
        op_.State().folderFileCount = static_cast<std::int32_t>(targets_.size());
        if (!targets_.empty()) {
            if (op_.State().listFolders) {
                op_.ReportAppend(ShownName(folder.path) + std::string(kLineBreak), true);
            } else {
                op_.AppendToText(" .");
            }
        }
        for (const FolderEntry* entry : targets_) {
            if (!ListOneFile(op_, folder, *entry)) {
                return false;
            }
        }
        return true;
    }
    bool WantSubfolder(const WalkFolder&, const FolderEntry&) override {
        return op_.Choices().subdirectories;
    }
    bool AfterSubfolder(const WalkFolder&, const FolderEntry&) override {
        op_.CheckPauseAndStop();
        return !op_.Stopped();
    }
    bool Refused(const std::string& path, platform::FolderRefusal refusal,
                 std::error_code error) override {
        op_.ReportFolderLeft(path, refusal, error, "not listed");
        return !op_.Stopped();
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
