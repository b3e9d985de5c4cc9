#include <gtest/gtest.h>

#include "cli/OptionTables.h"
#include "cli/Options.h"
#include "cli/TargetOptions.h"

namespace vorlane::testing {
namespace {

TEST(OptionsTest, BothValueFormsShortNamesAndTheEndOfOptions) {
    cli::Options options({"--type=3", "--passes", "2", "-h", "--", "--keep", "-x"},
                         cli::PurgeCommandSpec().options);
    ASSERT_TRUE(options.Valid()) << options.Error();
    EXPECT_EQ(options.Value("--type"), "3");
    EXPECT_EQ(options.Value("--passes"), "2");
    EXPECT_TRUE(options.Has("--help"));
    EXPECT_FALSE(options.Has("--keep"));
    EXPECT_EQ(options.Operands(), (std::vector<std::string>{"--keep", "-x"}));
    // An empty value is a value; a value may begin with "-".
    cli::Options empty({"--spec=", "--before", "-1"}, cli::ListCommandSpec().options);
    EXPECT_EQ(empty.Value("--spec"), "");
    EXPECT_EQ(empty.Value("--before"), "-1");
}

TEST(OptionsTest, SafetyOverridesReachTheChoices) {
    const struct {
        std::vector<std::string> words;
        SafetyOverrides expected;
    } cases[] = {
        {{"--folder", "/tmp"}, {false, false, true}},
        {{"--folder", "/tmp", "--hard-links"}, {true, false, true}},
        {{"--folder", "/tmp", "--cross-volumes", "--no-preserve-root"}, {false, true, false}},
    };
    for (const auto& c : cases) {
        for (const cli::CommandSpec* command :
             {&cli::PurgeCommandSpec(), &cli::ListCommandSpec()}) {
            cli::Options options(c.words, command->options);
            const auto choices = cli::TargetChoices(options);
            ASSERT_TRUE(choices) << choices.error().text;
            EXPECT_EQ(choices->safety.allowHardLinks, c.expected.allowHardLinks);
            EXPECT_EQ(choices->safety.crossVolumes, c.expected.crossVolumes);
            EXPECT_EQ(choices->safety.preserveRoot, c.expected.preserveRoot);
        }
    }
}

}  // namespace
}  // namespace vorlane::testing
