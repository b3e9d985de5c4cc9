#include "selection/TargetDisplay.h"

#include <gtest/gtest.h>

#include "selection/SelectionTestSupport.h"
#include "support/Strings.h"

namespace vorlane {
namespace {

using testing::SelectionTest;

TEST(FilesDescriptionTest, DescribesShortPatternsWithWildcards) {
    const struct {
        const char* spec;
        const char* description;
    } cases[] = {
        {"*.*", "(All files.)"},
        {"*.txt", "(All files with extension \"txt\".)"},
        {"a*.d*", "(All files of the form \"a*.d*\".)"},
        // 20 characters still get a description, 21 do not.
        {"abcdefghijklmnop*.tx", "(All files of the form \"abcdefghijklmnop*.tx\".)"},
        {"abcdefghijklmnop*.txt", ""},
        {"*.abcdefghijklmnopqrs", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FilesDescription("/tmp", c.spec), c.description) << c.spec;
    }
}

TEST(FilesCaptionTest, LongFileNameKeepsItsExtension) {
    const std::string name = std::string(80, 'n') + ".pdf";
    EXPECT_EQ(FilesCaption(name), std::string(64, 'n') + "...pdf");
    const std::string seventy = std::string(66, 'n') + ".pdf";
    EXPECT_EQ(FilesCaption(seventy), seventy);
    // A file pattern with wildcards is shown whole, however long.
    const std::string pattern = std::string(75, 'a') + "*";
    EXPECT_EQ(FilesCaption(pattern), pattern);
}

TEST(DirectoryCaptionTest, LongFolderIsShortenedAtABlank) {
    const std::string folder =
        "/home/someone/Documents/old projects/the archive of letters/from grandmother";
    ASSERT_GT(folder.size(), 70u);
    const std::string shown = DirectoryCaption(folder);
    EXPECT_EQ(shown, "/ho...projects/the archive of letters/from grandmother");
    EXPECT_LE(shown.size(), 70u);
    EXPECT_EQ(DirectoryCaption("/home/short"), "/home/short");
}

TEST_F(SelectionTest, VanishedSingleFileOfTheFilesWindowEmptiesThePattern) {
    MainState state;
    ResetState(state);
    state.choices.targetFolder = temp.Path();
    state.choices.targetFilespec = "gone.txt";
    state.singleFileOption = true;
    ShowTarget(state);
    EXPECT_EQ(state.choices.targetFilespec, "");
    EXPECT_EQ(state.labels.files, GetText(4));
    // Without the files window's single-file choice the name stays.
    state.choices.targetFilespec = "gone.txt";
    state.singleFileOption = false;
    ShowTarget(state);
    EXPECT_EQ(state.choices.targetFilespec, "gone.txt");
}

}  // namespace
}  // namespace vorlane
