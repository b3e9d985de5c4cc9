#include <gtest/gtest.h>

#include "cli/OptionTables.h"
#include "cli/Options.h"

namespace vorlane::testing {
namespace {

using Words = std::vector<std::string>;

TEST(OptionShortFormsTest, LongNamesShortenedWhileUnambiguous) {
    cli::Options options({"--sub", "--pas=3", "--ty", "2", "x"}, cli::PurgeCommandSpec().options);
    ASSERT_TRUE(options.Valid()) << options.Error();
    EXPECT_TRUE(options.Has("--subfolders"));
    EXPECT_EQ(options.Value("--passes"), "3");
    EXPECT_EQ(options.Value("--type"), "2");
    EXPECT_EQ(options.Operands(), Words{"x"});

    const auto& list = cli::ListCommandSpec().options;
    // An exact name wins over the longer names it begins.
    cli::Options exact({"--folder", "d", "--folders"}, list);
    ASSERT_TRUE(exact.Valid()) << exact.Error();
    EXPECT_EQ(exact.Value("--folder"), "d");
    EXPECT_TRUE(exact.Has("--folders"));

    const char* const both = " is ambiguous; possibilities: '--folder' '--folders'";
    EXPECT_EQ(cli::Options({"--fold", "d"}, list).Error(), std::string("option '--fold'") + both);
    EXPECT_EQ(cli::Options({"--fol=d"}, list).Error(), std::string("option '--fol=d'") + both);
    EXPECT_EQ(cli::Options({"--foldersx"}, list).Error(), "unrecognized option '--foldersx'");
}

TEST(OptionShortFormsTest, ShortOptionsClusterAndTakeTheirValue) {
    cli::Options cluster({"-ryn3", "a", "-0n", "4", "b"}, cli::PurgeCommandSpec().options);
    ASSERT_TRUE(cluster.Valid()) << cluster.Error();
    EXPECT_TRUE(cluster.Has("--subfolders") && cluster.Has("--yes") && cluster.Has("--null"));
    EXPECT_EQ(cluster.Value("--passes"), "4");  // the later one
    EXPECT_EQ(cluster.Operands(), (Words{"a", "b"}));

    const struct {
        Words words;
        const char* error;
    } faults[] = {
        {{"-yes"}, "unrecognized option '-yes'"},  // the whole word, not its letter
        {{"-ry", "-n"}, "option '--passes' requires an argument"},
    };
    for (const auto& c : faults) {
        EXPECT_EQ(cli::Options(c.words, cli::PurgeCommandSpec().options).Error(), c.error);
    }
    cli::Options trash({"-y"}, cli::TrashPurgeCommandSpec().options);
    EXPECT_TRUE(trash.Has("--yes"));
    cli::Options freeSpace({"-yn2"}, cli::FreeSpaceCommandSpec().options);
    EXPECT_EQ(freeSpace.Value("--passes"), "2");
}

}  // namespace
}  // namespace vorlane::testing
