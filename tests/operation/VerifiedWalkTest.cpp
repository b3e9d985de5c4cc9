// A folder purge hands on what the read-back of each file's last overwrite found, for
// files purged alone and for those that share a batch.

#include <gtest/gtest.h>

#include <map>

#include "common/TempFolder.h"
#include "operation/RecursivePurge.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"

namespace vorlane {
namespace {

using testing::TempFolder;

// Hears each file's end; every walk point goes on.
struct EndsHeard : PurgeWalkListener {
    bool GoOn(WalkPoint) override { return true; }
    void Counted(std::int32_t) override {}
    void Purging(const std::string&) override {}
    bool Ended(const std::string& path, const FileResult& result, bool purged) override {
        verified[path] = purged && result.verified;
        return true;
    }
    void FolderRemoval(std::error_code) override {}
    void FolderLeft() override {}

    std::map<std::string, bool> verified;
};

TEST(VerifiedWalkTest, EachFileSaysItWasReadBackAloneOrBatched) {
    TempFolder folder;
    folder.Write("small.txt", "tiny");                     // batched
    folder.Write("large.dat", std::string(3 << 20, 'L'));  // purged alone
    OperationChoices choices = testing::ChoicesFor(folder.Path(), "*.*");
    choices.numberOfPasses = 1;
    choices.options.verifyLastOverwrite = true;
    testing::ScriptedInterface ui;
    OperationControl control;
    Operation op(choices, ui, control);
    op.State().purging = true;
    EndsHeard heard;
    PurgeScope scope;
    scope.listener = &heard;
    VorlPurgeRecursive(op, folder.Path(), "*.*", scope);
    EXPECT_EQ(heard.verified, (std::map<std::string, bool>{{folder.File("large.dat"), true},
                                                           {folder.File("small.txt"), true}}));
}

}  // namespace
}  // namespace vorlane
