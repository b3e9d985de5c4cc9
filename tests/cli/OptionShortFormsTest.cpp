#include <gtest/gtest.h>

#include "cli/FileList.h"
#include "cli/OptionTables.h"
#include "cli/Options.h"

namespace vorlane::testing {
namespace {

using Words = std::vector<std::string>;

cli::Options Purge(const Words& words) {
    return cli::Options(words, cli::PurgeCommandSpec().options);
}

cli::Options List(const Words& words) {
    return cli::Options(words, cli::ListCommandSpec().options);
}

TEST(OptionShortFormsTest, LongNamesShortenedWhileUnambiguous) {
    cli::Options options = Purge({"--sub", "--pas=3", "--ty", "2", "--files", "l", "x"});
    ASSERT_TRUE(options.Valid()) << options.Error();
    EXPECT_TRUE(options.Has("--subfolders"));
    EXPECT_EQ(options.Value("--passes"), "3");
    EXPECT_EQ(options.Value("--type"), "2");
    EXPECT_EQ(options.Value("--files-from"), "l");
    EXPECT_EQ(options.Operands(), Words{"x"});

    // An exact name wins over the longer names it begins.
    cli::Options exact = List({"--folder", "d", "--folders"});
    ASSERT_TRUE(exact.Valid()) << exact.Error();
    EXPECT_EQ(exact.Value("--folder"), "d");
    EXPECT_TRUE(exact.Has("--folders"));
}

TEST(OptionShortFormsTest, AmbiguousAndUnknownLongNamesAreRefused) {
    const struct {
        Words words;
        const char* error;
    } cases[] = {
        {{"--fold", "d"}, "option '--fold' is ambiguous; possibilities: '--folder' '--folders'"},
        {{"--fold=d"}, "option '--fold=d' is ambiguous; possibilities: '--folder' '--folders'"},
        {{"--bogus=3"}, "unrecognized option '--bogus'"},
        {{"--foldersx"}, "unrecognized option '--foldersx'"},
        {{"--=d"}, "unrecognized option '--'"},
        {{"--fol=d"}, "option '--fol=d' is ambiguous; possibilities: '--folder' '--folders'"},
    };
    for (const auto& c : cases) {
        const cli::Options options = List(c.words);
        EXPECT_EQ(options.Error(), c.error) << c.words.front();
    }
}

TEST(OptionShortFormsTest, ShortOptionsClusterAndTakeTheirValue) {
    cli::Options cluster = Purge({"-ryn3", "a", "-0n", "4", "b"});
    ASSERT_TRUE(cluster.Valid()) << cluster.Error();
    EXPECT_TRUE(cluster.Has("--subfolders"));
    EXPECT_TRUE(cluster.Has("--yes"));
    EXPECT_TRUE(cluster.Has("--null"));
    EXPECT_EQ(cluster.Value("--passes"), "4");  // the later one
    EXPECT_EQ(cluster.Operands(), (Words{"a", "b"}));

    cli::Options dashValue = Purge({"-n", "-1"});
    EXPECT_EQ(dashValue.Value("--passes"), "-1");

    const struct {
        Words words;
        const char* error;
    } faults[] = {
        {{"-keep"}, "unrecognized option '-keep'"},
        {{"-yes"}, "unrecognized option '-yes'"},
        {{"-"}, "unrecognized option '-'"},
        {{"-ry", "-n"}, "option '--passes' requires an argument"},
    };
    for (const auto& c : faults) {
        EXPECT_EQ(Purge(c.words).Error(), c.error) << c.words.front();
    }
}

TEST(OptionShortFormsTest, EveryCommandWithTheLongNameTakesTheShortOne) {
    for (const cli::CommandSpec* command : cli::AllCommands()) {
        for (const auto& [letter, name] :
             {std::pair{"-y", "--yes"}, {"-r", "--subfolders"}, {"-n", "--passes"}}) {
            const bool hasLong =
                std::any_of(command->options.begin(), command->options.end(),
                            [&](const cli::OptionSpec& spec) { return spec.name == name; });
            if (hasLong) {
                const Words words =
                    name == std::string("--passes") ? Words{letter, "2"} : Words{letter};
                const cli::Options options(words, command->options);
                EXPECT_TRUE(options.Has(name)) << command->name << " " << letter;
            }
        }
    }
}

TEST(OptionShortFormsTest, ListNamesSplitByteForByte) {
    using cli::SplitNames;
    const auto names = [](const std::string& bytes, bool nul) {
        Words all;
        for (const cli::ListedName& listed : SplitNames(bytes, nul)) {
            all.push_back(listed.name);
        }
        return all;
    };
    EXPECT_EQ(names("a\nb\n", false), (Words{"a", "b"}));
    EXPECT_EQ(names("a\nb", false), (Words{"a", "b"}));
    EXPECT_EQ(names("a\r\n\n b \n", false), (Words{"a\r", "", " b "}));
    EXPECT_EQ(names(std::string("new\nline\0\0-x", 12), true), (Words{"new\nline", "", "-x"}));
    EXPECT_TRUE(names("", true).empty());
    const auto numbered = SplitNames("a\n\nc\n", false);
    ASSERT_EQ(numbered.size(), 3u);
    EXPECT_EQ(numbered[1].entry, 2u);
    EXPECT_EQ(numbered[2].entry, 3u);
}

}  // namespace
}  // namespace vorlane::testing
