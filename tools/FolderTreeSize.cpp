#include "tools/FolderTreeSize.h"

#include <cerrno>
#include <vector>

#include "platform/FolderWalk.h"
#include "platform/Platform.h"
#include "support/Folders.h"

namespace vorlane {
namespace {

using platform::FileKind;
using platform::FolderEntry;

// Only a regular file has bytes of its own to purge; a link or a device adds nothing.
double PurgeableBytes(const FolderEntry& entry) {
    return entry.status.kind == FileKind::Regular ? static_cast<double>(entry.status.size) : 0.0;
}

// Counts the matching files of a tree, up to a limit.
class TreeCounter : public platform::WalkVisitor {
  public:
    TreeCounter(const std::string& fileSpec, std::optional<std::int32_t> limit, bool sumSizes)
        : fileSpec_(fileSpec), limit_(limit), sumSizes_(sumSizes) {}

    TreeCount result;

    bool Folder(const platform::WalkFolder&, const std::vector<FolderEntry>& entries) override {
        for (const FolderEntry& entry : entries) {
            if (entry.status.kind == FileKind::Directory ||
                !NameMatchesFileSpec(entry.name, fileSpec_)) {
                continue;
            }
            ++result.count;
            result.bytes += sumSizes_ ? PurgeableBytes(entry) : 0.0;
            if (limit_ && result.count >= *limit_) {
                result.limitReached = true;
                return false;
            }
        }
        return true;
    }
    bool Refused(const std::string&, platform::FolderRefusal refusal,
                 std::error_code why) override {
        if (refusal == platform::FolderRefusal::OtherVolume) {
            return true;  // not part of this tree's volume: not counted, as not purged
        }
        result.error = why;
        return false;
    }

  private:
    const std::string& fileSpec_;
    std::optional<std::int32_t> limit_;
    bool sumSizes_;
};

}  // namespace

TreeCount FolderSize(const std::string& folder, const std::string& fileSpec,
                     std::optional<std::int32_t> limit, bool sumSizes) {
    TreeCounter counter(fileSpec, limit, sumSizes);
    const std::error_code error =
        folder.empty() ? platform::SystemError(ENOENT) : platform::WalkTree(folder, counter, {});
    if (error) {
        counter.result.error = error;
    }
    return counter.result;
}

bool AnyMatchingFileInTree(const std::string& folder, const std::string& fileSpec) {
    return FolderSize(folder, fileSpec, 1, false).limitReached;
}

}  // namespace vorlane
