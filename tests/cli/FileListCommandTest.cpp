#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "cli/CliTest.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class FileListCommandTest : public CliTest {
  protected:
    // Runs in the folder, standard input read from `input` there when it is given.
    CliRun Run(const std::string& arguments, const std::string& input = "") const {
        const std::string in = input.empty() ? "" : "sh -c 'exec \"$@\" <" + input + "' sh ";
        return RunCli(arguments, "cd '" + folder.Path() + "' && " + in);
    }
    bool Kept(const std::string& name) const { return fs::exists(fs::path(folder.File(name))); }
};

// Names a shell or a line-minded reader would bend: each names one file, byte for byte.
const std::string kOdd[] = {"new\nline", "\xff\xfe name", "-dash", "star*", "a b", "q?"};
// The files they would be taken for, bent.
const std::string kNear[] = {"new", "line", "starX", "a", "b", "qX", "cr"};

TEST_F(FileListCommandTest, NulEndedListPurgesExactlyTheNamedFiles) {
    for (const std::string& name : kOdd) {
        folder.Write(name, "odd");
    }
    for (const std::string& name : kNear) {
        folder.Write(name, "near");
    }
    folder.Write("operand", "x");
    std::string list;
    for (const std::string& name : kOdd) {
        list += name + '\0';
    }
    folder.Write("list", list + std::string("\0missing", 8));  // no NUL after the last
    const CliRun run = Run("purge --files-from=list -0 --yes -n1 operand");
    EXPECT_EQ(run.status, 1) << run.err;  // the missing file
    for (const std::string& name : kOdd) {
        EXPECT_FALSE(Kept(name)) << name;
    }
    for (const std::string& name : kNear) {
        EXPECT_EQ(TempFolder::Read(folder.File(name)), "near") << name;
    }
    EXPECT_FALSE(Kept("operand"));
    EXPECT_EQ(run.out.find("operand: purged\n"), 0u) << run.out;  // operands come first
    EXPECT_NE(run.out.find("new?line: purged\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("list:7: not purged: empty name\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("missing: not purged: No such file or directory\n"), std::string::npos);
}

// An empty name, or one cut at a NUL, would name another file: each fails alone.
TEST_F(FileListCommandTest, LinesKeepTheirCarriageReturnAndFaultyNamesFailAlone) {
    folder.Write("cr\r", "crlf");
    folder.Write("cr", "near");
    folder.Write("last", "x");
    folder.Write("nul", "kept");
    folder.Write("list", std::string("cr\r\n\nnul\0last\nlast", 18));
    const CliRun run = Run("purge --files-from list -y -n1");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_FALSE(Kept("cr\r"));
    EXPECT_FALSE(Kept("last"));
    EXPECT_EQ(TempFolder::Read(folder.File("cr")), "near");
    EXPECT_EQ(TempFolder::Read(folder.File("nul")), "kept");
    EXPECT_EQ(run.out,
              "cr?: purged\nlist:2: not purged: empty name\nlist:3: not purged: NUL byte in the "
              "name (give -0 for a list of NUL-ended names)\nlast: purged\n");
}

TEST_F(FileListCommandTest, StandardInputListReadsNamesNotAnswers) {
    folder.Write("a", "x");
    folder.Write("b", "x");
    folder.Write("list", std::string("y\0a\0", 4));
    folder.Write("y", "kept");
    CliRun run = Run("purge --files-from=- -0 -n1", "list");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("standard input, where no answer can be read"), std::string::npos)
        << run.err;
    EXPECT_TRUE(Kept("a") && Kept("y"));

    run = Run("purge --files-from=- -0 --yes -n1 b", "list");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(Kept("a") || Kept("b") || Kept("y"));
}

TEST_F(FileListCommandTest, ListIsConfirmedAtTheTerminal) {
    // util-linux's script gives the command a terminal that reads the piped answer.
    if (std::system("command -v script >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "script not available";
    }
    folder.Write("a", "x");
    folder.Write("list", "a\n");
    const std::string command = "cd '" + folder.Path() + "' && printf 'y\\n' | script -qec \"" +
                                std::getenv("VORLANE_CLI") +
                                " purge -n1 --files-from=list\" /dev/null >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(Kept("a"));
}

TEST_F(FileListCommandTest, UnusableListTouchesNothing) {
    folder.Write("a", "x");
    folder.Write("list", "a\n");
    folder.Write("empty", "");
    const struct {
        const char* arguments;
        int status;
        const char* said;
    } cases[] = {
        {"purge --files-from=nowhere -y a", 2, "cannot read the list of files 'nowhere'"},
        {"purge --files-from=list a", 2, "No terminal to confirm on; give --yes"},
        {"purge --files-from=empty -y", 3, "'empty' names no file"},
        {"purge --null a", 2, "option '--null' needs --files-from"},
        {"purge --folder . --files-from=list -y", 2, "option '--files-from' cannot be combined"},
    };
    for (const auto& c : cases) {
        const CliRun run = Run(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_EQ(TempFolder::Read(folder.File("a")), "x") << c.arguments;
    }
}

}  // namespace
}  // namespace vorlane::testing
