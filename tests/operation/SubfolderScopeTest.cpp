// The purge of chosen subfolders is the folder purge's walk set to those folders: links
// and leftovers are met by the same rules, and F10 is heard after each subfolder too.

#include <gtest/gtest.h>

#include <filesystem>

#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "platform/Platform.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

// Presses F10 while an emptied folder is removed.
class InterruptAtRemoval : public platform::Platform {
  public:
    OperationControl* control = nullptr;
    std::error_code RemoveFolderAt(int folder, const std::string& name,
                                   const platform::FileStatus& expected) const override {
        if (control != nullptr) {
            control->RequestInterrupt();
        }
        return Platform::RemoveFolderAt(folder, name, expected);
    }
};

class SubfolderScopeTest : public ::testing::Test {
  protected:
    void CountThenPurge(const std::vector<std::string>& selected) {
        state.topFolder = tree.Path() + "/";
        state.numberOfPasses = 1;
        for (const std::string& name : selected) {
            state.selectedSubfolders.push_back(tree.File(name));
        }
        platform::ScopedPlatform scoped(stand);
        testing::CountThenPurge(state, control, ui);
    }

    TempFolder tree;
    TempFolder outside;
    InterruptAtRemoval stand;
    SubfolderPurgeState state;
    OperationControl control;
    ScriptedInterface ui;
};

// A link is counted, never followed, and stays behind without a question; a leftover of
// a killed purge goes with the folder.
TEST_F(SubfolderScopeTest, LinksStayAndLeftoversGo) {
    const std::string target = outside.Write("target.txt", "outside");
    tree.WriteTree({"a/file.txt=data"});
    fs::create_symlink(target, tree.File("a/link"));
    tree.Write(std::string("a/") + '\x7f' + "abcdefgh", "left over");

    CountThenPurge({"a"});

    EXPECT_EQ(state.filesCounted, 2);  // the file and the link
    EXPECT_EQ(state.filesPurged, 2);   // the file and the leftover
    EXPECT_EQ(state.filesNotDeleted, 1);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(TempFolder::Read(target), "outside");
    EXPECT_TRUE(fs::is_symlink(tree.File("a/link")));
    EXPECT_FALSE(fs::exists(tree.File("a/file.txt")));
    EXPECT_EQ(std::distance(fs::directory_iterator(tree.File("a")), fs::directory_iterator()), 1);
}

// F10 pressed while an emptied subfolder goes is asked about before the walk removes or
// purges anything more.
TEST_F(SubfolderScopeTest, InterruptIsAskedAfterASubfolder) {
    tree.WriteTree({"a/x", "b/y=data"});
    stand.control = &control;
    ui.answers = {MessageAnswer::Cancel};

    CountThenPurge({"a", "b"});

    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "Click 'OK' to continue, or 'Cancel' to terminate this operation.");
    EXPECT_TRUE(control.InterruptRequested());
    EXPECT_FALSE(fs::exists(tree.File("a/x")));
    EXPECT_TRUE(fs::exists(tree.File("a")));
    EXPECT_EQ(TempFolder::Read(tree.File("b/y")), "data");
}

}  // namespace
}  // namespace vorlane::testing
