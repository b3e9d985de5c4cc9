#include "tools/DummyFolder.h"

#include <cerrno>

#include "tools/SpeedTest.h"

namespace vorlane {
namespace {

using platform::Sys;

// Enough numbers for any folder of leftovers; beyond it something is wrong.
constexpr int kMaxNumber = 10000;

}  // namespace

bool DummyFolder::Create(platform::UniqueFd parent, const std::string& parentPath) {
    for (int number = 1; number <= kMaxNumber; ++number) {
        const std::string name = kDummyFolderStub + std::to_string(number);
        const std::error_code error = Sys().CreateFolderAt(parent.Get(), name);
        if (error == std::errc::file_exists) {
            continue;
        }
        if (error || Sys().OpenFolder(parent.Get(), name, folder_, status_)) {
            return false;
        }
        parent_ = std::move(parent);
        name_ = name;
        path_ = (parentPath.ends_with('/') ? parentPath : parentPath + "/") + name;
        return true;
    }
    return false;
}

std::error_code DummyFolder::AddFile(std::int64_t size) {
    for (; nextNumber_ <= kMaxNumber; ++nextNumber_) {
        const std::string name = kDummyFolderStub + std::to_string(nextNumber_);
        platform::UniqueFd fd;
        const std::error_code error = Sys().CreateFileAt(folder_.Get(), name, fd);
        if (error == std::errc::file_exists) {
            continue;
        }
        if (error) {
            return error;
        }
        ++nextNumber_;
        Made made{name, {}};
        // Unknown, the status matches no file: Remove() then leaves this one rather than
        // risk another file's name.
        (void)Sys().StatOpen(fd.Get(), made.status);
        files_.push_back(made);
        const std::string zeros(static_cast<std::size_t>(size), '\0');
        if (const std::error_code writeError =
                Sys().WriteAt(fd.Get(), 0, zeros.data(), zeros.size())) {
            return writeError;
        }
        return fd.Reset();
    }
    return platform::SystemError(EEXIST);
}

FileOutcome DummyFolder::PurgeFiles(FilePurger& purger, const PurgeRequest& request,
                                    const PurgeHooks& hooks) {
    for (Made& made : files_) {
        if (hooks.stopRequested && hooks.stopRequested()) {
            return FileOutcome::Stopped;
        }
        const FileOutcome outcome =
            purger.Purge({folder_.Get(), made.name, path_ + "/" + made.name}, request, hooks)
                .outcome;
        if (outcome != FileOutcome::Ok) {
            return outcome;
        }
        made.gone = true;
    }
    return FileOutcome::Ok;
}

void DummyFolder::Remove() {
    if (!folder_.Valid()) {
        return;
    }
    for (Made& made : files_) {
        if (!made.gone) {
            // Left behind, a dummy file keeps its folder too; both are ours and harmless.
            (void)Sys().RemoveAt(folder_.Get(), made.name, made.status);
            made.gone = true;
        }
    }
    folder_.Reset();
    (void)Sys().RemoveFolderAt(parent_.Get(), name_, status_);  // see above
    parent_.Reset();
}

}  // namespace vorlane
