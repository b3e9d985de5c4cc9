#pragma once
// The folder of dummy files that one run of the speed test writes, purges and removes.
// Everything in it is made by this run and reached through held descriptors only: on a
// folder others may write to (a world-writable volume root), a name made by someone else
// between a look and a use is never taken for ours.

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "engine/FilePurger.h"
#include "platform/Platform.h"

namespace vorlane {

class DummyFolder {
  public:
    DummyFolder() = default;
    DummyFolder(const DummyFolder&) = delete;
    DummyFolder& operator=(const DummyFolder&) = delete;
    // Whatever happened, what this run made goes.
    ~DummyFolder() { Remove(); }

    // Makes a new folder <stub>1, <stub>2, ... in the held folder; a name already taken
    // is passed over. False when no folder could be made there.
    bool Create(platform::UniqueFd parent, const std::string& parentPath);
    // A new dummy file of `size` zero bytes, written through its own descriptor.
    std::error_code AddFile(std::int64_t size);
    // Purges the files this run made, in order; the first outcome that is not Ok.
    FileOutcome PurgeFiles(FilePurger& purger, const PurgeRequest& request,
                           const PurgeHooks& hooks);
    // Removes the files still there and the folder; errors are ignored.
    void Remove();

    const std::string& Path() const { return path_; }
    int Files() const { return static_cast<int>(files_.size()); }

  private:
    struct Made {
        std::string name;
        platform::FileStatus status;
        bool gone = false;
    };

    platform::UniqueFd parent_;
    platform::UniqueFd folder_;
    std::string name_;
    std::string path_;
    platform::FileStatus status_;
    std::vector<Made> files_;
    int nextNumber_ = 1;
};

}  // namespace vorlane
