// What vorlane-cli writes and takes: every report line whatever the length of the
// report, names that cannot forge lines, patterns as a shell writes them, operation
// files that cannot point at the folder the command runs in.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "cli/CliTest.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class CommandLineOutputTest : public CliTest {
  protected:
    // About 70 characters a report line: far beyond the 61,440 a window's buffer holds.
    void WriteManyFiles(int count) {
        for (int i = 0; i < count; ++i) {
            folder.Write("file-" + std::string(40, 'n') + "-" + std::to_string(10000 + i), "x");
        }
    }

    int Lines(const std::string& text, const std::string& part) const {
        int count = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + 1)) {
            ++count;
        }
        return count;
    }
};

TEST_F(CommandLineOutputTest, ListOfATreeNamesEveryFolder) {
    for (int i = 0; i < 2000; ++i) {
        const std::string name = "folder-" + std::string(40, 'n') + "-" + std::to_string(10000 + i);
        fs::create_directory(folder.File(name));
        folder.Write(name + "/f", "x");
    }
    const CliRun run = RunCli("list --folder " + Quoted() + " --subfolders --folders");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out, "/folder-"), 2000);
    EXPECT_NE(run.out.find("-11999/\n"), std::string::npos);
    EXPECT_EQ(run.out.find("buffer"), std::string::npos);
}

// A cron log must name each file that stayed, however many lines came before it.
TEST_F(CommandLineOutputTest, PurgeNamesEveryFileThatStayed) {
    WriteManyFiles(2400);
    const std::string last = folder.Write("zz-read-only", "kept");
    fs::permissions(last, fs::perms::owner_read);
    const CliRun run = RunCli("purge --folder " + Quoted() +
                              " --file-names --no-read-only --passes 1 --keep --yes");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(Lines(run.out, ") purged\n"), 2400);
    EXPECT_NE(run.out.find("\nzz-read-only (4 bytes): file is a read-only file, not purged."),
              std::string::npos);
    EXPECT_EQ(run.out.find("buffer"), std::string::npos);
}

// A name with a line break in it must not be able to write a line of its own.
TEST_F(CommandLineOutputTest, ControlCharactersInNamesShowAsQuestionMarks) {
    const std::string forged = "evil\nsecret.txt (9 bytes) purged\x1b[2K\x7f";
    const std::string shown = "evil?secret.txt (9 bytes) purged?[2K?";
    folder.Write(forged, "x");
    const CliRun list = RunCli("list --folder " + Quoted());
    EXPECT_NE(list.out.find("\n" + shown + " ("), std::string::npos) << list.out;

    const CliRun purge =
        RunCli("purge --folder " + Quoted() + " --file-names --passes 1 --keep --yes");
    EXPECT_EQ(purge.status, 0) << purge.err;
    EXPECT_NE(purge.out.find("\n" + shown + " (1 bytes) purged\n"), std::string::npos);
    EXPECT_EQ(purge.out.find("\nsecret.txt"), std::string::npos) << purge.out;

    const CliRun file = RunCli("purge --passes 1 --keep '" + folder.File(forged) + "'");
    EXPECT_EQ(file.out, folder.File(shown) + ": purged\n");

    const CliRun missing = RunCli("purge --folder " + Quoted() + " --spec 'gone\nx' --yes");
    EXPECT_NE(missing.err.find("gone?x"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.err.find("gone\nx"), std::string::npos);
}

TEST_F(CommandLineOutputTest, DotStarIsTheNamesThatBeginWithADot) {
    folder.WriteTree({".profile=p", ".config.bak=c", "notes.txt=n", "README=r"});
    const CliRun run = RunCli("purge --folder " + Quoted() + " --spec '.*' --passes 1 --yes");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(fs::exists(folder.File(".profile")));
    EXPECT_FALSE(fs::exists(folder.File(".config.bak")));
    EXPECT_TRUE(fs::exists(folder.File("notes.txt")));
    EXPECT_TRUE(fs::exists(folder.File("README")));
}

// An operation file is run from anywhere: "." would be wherever that is.
TEST_F(CommandLineOutputTest, OperationFileWithARelativeFolderIsRefused) {
    folder.Write("a.txt", "alpha");
    const std::string setup =
        folder.Write("here.vns",
                     "0.12\r\n 0 \r\n 0 \r\n.\r\n*.*\r\n 0 \r\n 1 \r\n 0 \r\n 0 \r\n 1 \r\n 0 \r\n"
                     " 0 \r\n 1 \r\n 1 \r\n 0 \r\n 9000000 \r\n");
    const CliRun run = RunCli("purge --setup here.vns --yes", "cd " + Quoted() + " && ");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("line 4"), std::string::npos) << run.err;
    EXPECT_EQ(TempFolder::Read(folder.File("a.txt")), "alpha");
    EXPECT_TRUE(fs::exists(setup));
}

}  // namespace
}  // namespace vorlane::testing
