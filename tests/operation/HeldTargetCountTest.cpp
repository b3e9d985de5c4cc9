// The count before the confirmation reads the target through the descriptor the purge
// then walks, never through the folder's name again.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "common/TempFolder.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"

namespace vorlane::testing {
namespace {

// Every listing by name fails: only what was opened can be read.
class ListingByNameDenied : public platform::Platform {
  public:
    std::error_code ListFolder(const std::string&,
                               std::vector<platform::FolderEntry>& out) const override {
        out.clear();
        return platform::SystemError(EACCES);
    }
};

TEST(HeldTargetCountTest, CountAndPurgeNeedNoListingByName) {
    TempFolder folder;
    folder.WriteTree({"one.txt=first", "two.txt=second", "skip.doc=other"});
    const ListingByNameDenied denied;
    const platform::ScopedPlatform standIn(denied);
    ScriptedInterface ui;
    OperationControl control;

    const OperationResult result = RunPurge(ChoicesFor(folder.Path(), "*.txt"), ui, control);

    EXPECT_TRUE(result.ran);
    EXPECT_EQ(result.state.purgedFileCount, 2);
    EXPECT_FALSE(std::filesystem::exists(folder.File("one.txt")));
    EXPECT_TRUE(std::filesystem::exists(folder.File("skip.doc")));
}

}  // namespace
}  // namespace vorlane::testing
