#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "cli/CliTest.h"
#include "cli/OptionTables.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class OperationCommandsTest : public CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        folder.WriteTree({"a.txt=alpha", "sub/b.txt=beta", "c.log=log"});
    }
};

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

TEST_F(OperationCommandsTest, RelativeFolderKeepsTheTrash) {
    const std::string share = folder.Path() + "/.local/share";
    folder.WriteTree(
        {".local/share/Trash/files", ".local/share/Trash/info", ".local/share/note.txt=note"});
    const CliRun run = RunCli("purge --folder . --subfolders --yes",
                              "cd '" + share + "' && HOME=" + Quoted() + " XDG_DATA_HOME= ");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Purging all files in " + share + "/\n"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(share + "/Trash/files"));
    EXPECT_TRUE(fs::is_directory(share + "/Trash/info"));
}

TEST_F(OperationCommandsTest, FolderInTheTrashGoesWithItsEntryOnly) {
    folder.WriteTree({"Trash/files/X/sub/a.txt=alpha", "Trash/info/X.trashinfo=Path=/a/X\n",
                      "Trash/files/Y=kept", "Trash/info/Y.trashinfo=Path=/a/Y\n"});
    const std::string trash = folder.Path() + "/Trash";
    const std::string environment = "XDG_DATA_HOME=" + Quoted() + " ";
    CliRun run = RunCli("purge --folder '" + trash + "/files/X' --subfolders --yes", environment);
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_FALSE(fs::exists(trash + "/files/X"));
    EXPECT_FALSE(fs::exists(trash + "/info/X.trashinfo"));
    EXPECT_EQ(TempFolder::Read(trash + "/files/Y"), "kept");

    run = RunCli("purge-trash --yes", environment);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("The folder purged was " + trash + ".\n"), std::string::npos) << run.out;
}

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(OperationCommandsTest, UsageErrorsNameTheFaultAndTouchNothing) {
    const struct {
        const char* arguments;
        const char* fault;
    } cases[] = {
        {"purge -keep a.txt", "unrecognized option '-keep'"},
        {"purge - a.txt", "unrecognized option '-'"},
        {"purge --type=4 a.txt", "invalid value '4' for --type"},
        {"purge --keep=yes a.txt", "option '--keep' doesn't allow an argument"},
        {"purge a.txt --passes", "option '--passes' requires an argument"},
        {"purge --subfolders a.txt", "option '--subfolders' needs --folder"},
        {"purge --folder . a.txt", "unexpected file 'a.txt' beside --folder"},
        {"purge", "missing file operand"},
        {"list --folder . --before 2024-02-30", "invalid date '2024-02-30'"},
        {"save-setup --folder .", "missing operation file operand"},
        {"frob", "unknown command 'frob'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = RunCli(c.arguments, "cd " + Quoted() + " && ");
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(run.err.rfind(std::string("vorlane-cli: ") + c.fault, 0), 0u) << run.err;
        EXPECT_EQ(LineCount(run.err), 2);
        EXPECT_NE(run.err.find("\nTry 'vorlane-cli"), std::string::npos);
        EXPECT_EQ(TempFolder::Read(folder.File("a.txt")), "alpha");
    }
}

TEST_F(OperationCommandsTest, ExitStatusTellsWhatHappened) {
    const std::string missing = folder.Path() + "/missing";
    const struct {
        std::string arguments;
        int status;
        std::string said;  // in standard error
    } cases[] = {
        {"purge --folder " + Quoted() + " --subfolders", 2, ""},  // no terminal, no --yes
        {"purge --folder " + Quoted() + " --spec '*.none' --yes", 3, ""},
        {"list --folder " + Quoted() + " --spec '*.none'", 3, ""},
        {"purge --folder " + Quoted() + " --spec gone.txt --yes", 3,
         folder.Path() + "/gone.txt': No such file or directory"},
        {"purge --folder '" + missing + "' --yes", 2,
         "cannot purge in '" + missing + "': No such file or directory"},
        {"list --folder " + Quoted() + "/a.txt", 2, "Not a directory"},
        {"purge '" + missing + "'", 1, ""},
        {"purge --folder " + Quoted() + " --spec a.txt --before 1990-01-01 --yes", 3, ""},
        {"list --folder " + Quoted() + " --subfolders --folders --cross-volumes", 0, ""},
        {"purge --hard-links --cross-volumes --no-preserve-root --passes=1 " + Quoted() + "/c.log",
         0, ""},
        // A real speed test writes to the volume itself, outside any test folder: only
        // the refusals that never reach the volume.
        {"speed-test /home", 2, ""},
        {"speed-test --type 9", 2, ""},
        {"speed-test --type 1 --passes 99", 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_TRUE(c.status != 2 || run.out.empty()) << run.out;
    }
    const CliRun file = RunCli("purge '" + missing + "'");
    EXPECT_EQ(file.out, missing + ": not purged: No such file or directory\n");
    EXPECT_EQ(TempFolder::Read(folder.File("a.txt")), "alpha");
}

// Only the slack goes: every file stays, with its data, whichever form names it.
TEST_F(OperationCommandsTest, SlackOnlyKeepsEveryFile) {
    const CliRun file = RunCli("purge --slack-only --passes=1 " + Quoted() + "/a.txt");
    EXPECT_EQ(file.status, 0);
    EXPECT_EQ(file.out, folder.File("a.txt") + ": slack purged\n");
    const CliRun tree = RunCli(
        "purge --slack-only --passes=1 --subfolders --file-names --yes "
        "--folder " +
        Quoted());
    EXPECT_EQ(tree.status, 0) << tree.err;
    EXPECT_NE(tree.out.find("b.txt (4 bytes) slack purged\n"), std::string::npos) << tree.out;
    EXPECT_NE(tree.out.find("the files are kept.\n"), std::string::npos) << tree.out;
    EXPECT_EQ(tree.out.find(" purged\n"), tree.out.find(" slack purged\n") + 6) << tree.out;
    EXPECT_EQ(TempFolder::Read(folder.File("a.txt")) + TempFolder::Read(folder.File("sub/b.txt")) +
                  TempFolder::Read(folder.File("c.log")),
              "alphabetalog");
}

// A purge of many files, interrupted by a signal once its report has begun.
struct Interrupted {
    int status = -1;
    bool bySignal = false;
    std::string out;
};

Interrupted InterruptPurge(const std::string& folder, int signalNumber) {
    int out[2];
    EXPECT_EQ(::pipe(out), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 2);
        const char* cli = std::getenv("VORLANE_CLI");
        ::execl(cli, cli, "purge", "--folder", folder.c_str(), "--file-names", "--passes=2",
                "--yes", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    Interrupted result;
    bool sent = false;
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
        result.out.append(buffer, static_cast<std::size_t>(n));
        if (!sent && result.out.find(" purged\n") != std::string::npos) {
            ::kill(child, signalNumber);
            sent = true;
        }
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.bySignal = WIFSIGNALED(status);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status);
    return result;
}

TEST_F(OperationCommandsTest, SignalsStopThePurgeWithItsSummary) {
    constexpr int kFiles = 1500;
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        TempFolder many;
        for (int i = 0; i < kFiles; ++i) {
            many.Write("f" + std::to_string(i) + ".txt", "data");
        }
        const Interrupted run = InterruptPurge(many.Path(), signalNumber);
        EXPECT_FALSE(run.bySignal);
        EXPECT_EQ(run.status, 130);
        EXPECT_NE(run.out.find("\nPurge operation was stopped.\n\n"), std::string::npos);
        EXPECT_NE(run.out.find("\nNumber of files *.*: "), std::string::npos);
        const auto left = std::distance(fs::directory_iterator(many.Path()), {});
        EXPECT_GT(left, 0);
        EXPECT_LT(left, kFiles);
    }
}

}  // namespace

TEST_F(OperationCommandsTest, RunScriptWorksInTheCallersFolder) {
    // The repository's run script, found from this source file, on the build under test.
    // A compiler cache may name this file relative to the build; the test changes folder.
    const fs::path repo = fs::absolute(fs::path(__FILE__))
                              .lexically_normal()
                              .parent_path()
                              .parent_path()
                              .parent_path();
    const fs::path build = fs::path(std::getenv("VORLANE_CLI")).parent_path().parent_path();
    if (!fs::exists(repo / "scripts/run.sh") || !fs::exists(build / "CMakeCache.txt")) {
        GTEST_SKIP() << "no repository or build folder beside this test";
    }
    folder.Write("notes.txt", "secret");
    const CliRun run = RunCli("", "cd " + Quoted() + " && VORLANE_BUILD_DIR='" + build.string() +
                                      "' '" + (repo / "scripts/run.sh").string() +
                                      "' purge --keep --type=3 --passes=1 notes.txt #");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "notes.txt: purged\n");  // the build's output stays off it
    EXPECT_NE(TempFolder::Read(folder.File("notes.txt")), "secret");
}

TEST_F(OperationCommandsTest, ProgressOnlyOnATerminal) {
    if (std::system("command -v script >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "script not available";
    }
    // 64 MiB of data (holes are not written), 27 overwrites: long enough for a few redraws.
    folder.Write("big.bin", std::string(64 << 20, 'x'));
    const std::string cli = std::getenv("VORLANE_CLI");
    const std::string screen = folder.File("screen");
    const std::string command = "cd " + Quoted() + " && script -qec \"" + cli +
                                " purge --keep --type 1 --passes 9 big.bin\" '" + screen +
                                "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string shown = TempFolder::Read(screen);
    EXPECT_NE(shown.find("\rbig.bin: pass "), std::string::npos);
    EXPECT_NE(shown.find("/9, "), std::string::npos);
    EXPECT_NE(shown.find("%\x1b[K"), std::string::npos);
    // The line is gone before the result is written.
    EXPECT_NE(shown.find("\r\x1b[Kbig.bin: purged"), std::string::npos);

    const CliRun piped =
        RunCli("purge --keep --type 3 --passes 1 big.bin", "cd " + Quoted() + " && ");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, "big.bin: purged\n");
    EXPECT_TRUE(piped.err.empty());
}

// The overview names every command; each command's help, every option of it.
TEST_F(OperationCommandsTest, HelpDescribesEveryCommandAndOptionOnStandardOutput) {
    for (const char* arguments : {"--help", "-h", "help", "-V", "--version"}) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 0) << arguments;
        EXPECT_FALSE(run.out.empty()) << arguments;
        EXPECT_TRUE(run.err.empty()) << arguments;
    }
    const std::string overview = RunCli("--help").out;
    for (const cli::CommandSpec* command : cli::AllCommands()) {
        EXPECT_NE(overview.find("\n  vorlane-cli " + command->name + " "), std::string::npos)
            << command->name;
        for (const std::string& form :
             {command->name + " --help", command->name + " -h", "help " + command->name}) {
            const CliRun run = RunCli(form);
            EXPECT_EQ(run.status, 0) << form;
            for (const cli::OptionSpec& option : command->options) {
                EXPECT_NE(run.out.find(option.name), std::string::npos) << form << option.name;
                EXPECT_FALSE(option.help.empty());
            }
            EXPECT_NE(run.out.find("Exit status:"), std::string::npos);
        }
    }
}

}  // namespace vorlane::testing
