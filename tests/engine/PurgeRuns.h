#pragma once
// Purges of files in a test's folder, alone through their path or together as one batch,
// as the folder walks send them.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "engine/FilePurge.h"
#include "engine/FilePurger.h"
#include "platform/Platform.h"

namespace vorlane::testing {

// The named files of the folder purged as one batch; each one's result, in order.
inline std::vector<FileResult> PurgeInBatch(
    FilePurger& purger, const TempFolder& folder, const std::vector<std::string>& names,
    const PurgeRequest& request, const std::function<bool()>& goOn = [] { return true; }) {
    platform::UniqueFd held;
    platform::FileStatus status;
    EXPECT_FALSE(platform::Sys().OpenFolder(AT_FDCWD, folder.Path(), held, status));
    std::vector<BatchFile> files;
    for (const std::string& name : names) {
        files.push_back({{held.Get(), name, folder.File(name)}});
    }
    purger.PurgeBatch(files, request, goOn);
    std::vector<FileResult> results;
    for (const BatchFile& file : files) {
        results.push_back(file.result);
    }
    return results;
}

inline std::vector<FileOutcome> OutcomesOf(const std::vector<FileResult>& results) {
    std::vector<FileOutcome> outcomes;
    for (const FileResult& result : results) {
        outcomes.push_back(result.outcome);
    }
    return outcomes;
}

// A batch must check each file as a purge alone does: tests run both ways.
inline FileResult PurgeAloneOrBatched(FilePurger& purger, const TempFolder& folder,
                                      const std::string& name, const PurgeRequest& request,
                                      bool batched, const PurgeHooks& hooks = {}) {
    return batched ? PurgeInBatch(purger, folder, {name}, request).front()
                   : PurgeFileAtPath(purger, folder.File(name), request, hooks);
}

}  // namespace vorlane::testing
