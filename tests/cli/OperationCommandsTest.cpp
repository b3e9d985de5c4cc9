#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/TempFolder.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
};

// Runs vorlane-cli without a terminal on standard input; `before` prefixes the command
// line (a change of folder, the environment).
CliRun RunCli(const std::string& arguments, const std::string& before = "") {
    const char* cli = std::getenv("VORLANE_CLI");
    CliRun run;
    if (cli == nullptr) {
        return run;
    }
    const std::string command =
        before + std::string(cli) + " " + arguments + " </dev/null 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class OperationCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("VORLANE_CLI") == nullptr) {
            GTEST_SKIP() << "VORLANE_CLI not set";
        }
        fs::create_directories(folder.Path() + "/sub");
        folder.Write("a.txt", "alpha");
        folder.Write("sub/b.txt", "beta");
        folder.Write("c.log", "log");
    }
    std::string Quoted() const { return "'" + folder.Path() + "'"; }

    TempFolder folder;
};

TEST_F(OperationCommandsTest, PurgeWithoutTerminalOrYesTouchesNothing) {
    const CliRun run = RunCli("purge --folder " + Quoted() + " --subfolders");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(TempFolder::Read(folder.File("a.txt")), "alpha");
    EXPECT_EQ(TempFolder::Read(folder.File("sub/b.txt")), "beta");
}

TEST_F(OperationCommandsTest, NoAtTheTerminalIsNoConfirmation) {
    // util-linux's script gives the command a terminal that reads the piped answer.
    if (std::system("command -v script >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "script not available";
    }
    const std::string cli = std::getenv("VORLANE_CLI");
    const std::string command = "printf 'n\\n' | script -qec \"" + cli + " purge --folder " +
                                Quoted() + "\" /dev/null >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_EQ(TempFolder::Read(folder.File("a.txt")), "alpha");
}

TEST_F(OperationCommandsTest, PurgeWithYesPrintsTheReport) {
    const CliRun run =
        RunCli("purge --folder " + Quoted() + " --spec '*.txt' --subfolders --file-names --yes");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\na.txt (5 bytes) purged\n"), std::string::npos);
    EXPECT_NE(run.out.find("Folder " + folder.Path() + "/sub removed."), std::string::npos);
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.File("a.txt")));
    EXPECT_TRUE(fs::exists(folder.File("c.log")));
}

TEST_F(OperationCommandsTest, RelativeFolderKeepsTheTrash) {
    const std::string share = folder.Path() + "/.local/share";
    fs::create_directories(share + "/Trash/files");
    fs::create_directories(share + "/Trash/info");
    folder.Write(".local/share/note.txt", "note");
    const CliRun run = RunCli("purge --folder . --subfolders --yes",
                              "cd '" + share + "' && HOME=" + Quoted() + " XDG_DATA_HOME= ");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Purging all files in " + share + "/\n"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(share + "/Trash/files"));
    EXPECT_TRUE(fs::is_directory(share + "/Trash/info"));
}

TEST_F(OperationCommandsTest, ListWithASpeedGivesTheEstimate) {
    const CliRun run = RunCli("list --folder " + Quoted() + " --speed 2.5");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Number of files *.*: 2\n"), std::string::npos);
    EXPECT_NE(run.out.find("Estimated purge time: less than a minute.\n"), std::string::npos);
    EXPECT_EQ(RunCli("list --folder " + Quoted() + " --speed fast").status, 2);
    EXPECT_EQ(RunCli("list --folder " + Quoted() + " --before 2024-02-30").status, 2);
}

TEST_F(OperationCommandsTest, PurgeFromAnOperationFile) {
    TempFolder setups;
    const std::string lines[] = {"1.02", " 0 ", " 0 ", folder.Path(), "*.log", " 1 ",
                                 " 2 ",  " 0 ", " 0 ", " 1 ",         " 0 ",   " 0 ",
                                 " 0 ",  " 1 ", " 0 ", " 9000000 "};
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    const std::string file = setups.Write("job.vns", text);
    const CliRun run = RunCli("purge --setup '" + file + "' --yes");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("using alternate bit patterns plus zeros twice."), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.File("c.log")));
    EXPECT_TRUE(fs::exists(folder.File("a.txt")));
    EXPECT_EQ(RunCli("purge --setup '" + setups.File("none.vns") + "' --yes").status, 1);

    // An option beside the operation file would be lost: refused, nothing touched.
    folder.Write("c.log", "log");
    EXPECT_EQ(RunCli("purge --setup '" + file + "' --keep --yes").status, 2);
    EXPECT_EQ(RunCli("purge --setup '" + file + "' --spec '*.txt' --yes").status, 2);
    EXPECT_EQ(TempFolder::Read(folder.File("c.log")), "log");
}

}  // namespace
}  // namespace vorlane::testing
