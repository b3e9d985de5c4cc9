// vorlane-cli keeps each report as the terminal showed it, skips it on request, and
// carries on when it cannot keep it.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CliTest.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class KeptReportsCommandTest : public CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        folder.WriteTree({"target/a.txt=alpha", "target/b.txt=beta"});
    }
    // The run's own settings (keeping on) and state folder.
    CliRun Run(const std::string& arguments, const std::string& state) const {
        return RunCli(
            arguments + " --folder '" + folder.File("target") + "'",
            "XDG_CONFIG_HOME='" + folder.File("config") + "' XDG_STATE_HOME='" + state + "' ");
    }
    std::vector<fs::path> Reports() const {
        std::vector<fs::path> found;
        const std::string reports = folder.File("state/vorlane/reports");
        if (fs::is_directory(reports)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(reports)) {
                found.push_back(entry.path());
            }
        }
        return found;
    }
};

TEST_F(KeptReportsCommandTest, TheReportOnStandardOutputIsKeptUnlessAskedNot) {
    const CliRun listed = Run("list --no-keep-report", folder.File("state"));
    EXPECT_EQ(listed.status, 0);
    EXPECT_TRUE(Reports().empty());

    const CliRun purged = Run("purge --yes", folder.File("state"));
    EXPECT_EQ(purged.status, 0) << purged.err;
    const std::vector<fs::path> reports = Reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports.front().filename().string().ends_with("-purge.txt"));
    EXPECT_EQ(TempFolder::Read(reports.front().string()), purged.out);
    EXPECT_EQ(purged.err.find("not kept"), std::string::npos);
}

TEST_F(KeptReportsCommandTest, AReportThatCannotBeKeptIsSaidOnceAndFailsNothing) {
    const std::string blocked = folder.Write("state-file", "in the way");
    const CliRun run = Run("purge --yes", blocked);
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(fs::exists(folder.File("target/a.txt")));
    const std::string told =
        "\nThe report was not kept in " + blocked + "/vorlane/reports: not a directory.\n";
    EXPECT_TRUE(run.err.ends_with(told)) << run.err;
    EXPECT_EQ(run.err.find("not kept"), run.err.rfind("not kept"));
}

}  // namespace
}  // namespace vorlane::testing
