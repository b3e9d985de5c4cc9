// Small files purged in batches: the same report as one file at a time, errors and stops
// that stay with the files they belong to.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/StandIns.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "platform/Platform.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

// Fails the writes of one file by name, and stops the operation after a number of
// writes or of deletes.
class BatchStandIn : public platform::Platform {
  public:
    std::string failingName;
    OperationControl* control = nullptr;
    int stopAfterWrites = -1;
    int stopAfterRemoves = -1;
    mutable int writes = 0;
    mutable int removes = 0;
    mutable int volumeFlushes = 0;

    std::error_code WriteAt(int fd, std::int64_t offset, const void* data,
                            std::size_t size) const override {
        if (!failingName.empty() && NameOfFd(fd) == failingName) {
            return platform::SystemError(EIO);
        }
        StopAt(++writes, stopAfterWrites);
        return Platform::WriteAt(fd, offset, data, size);
    }
    std::error_code RemoveAt(int folder, const std::string& name,
                             const platform::FileStatus& expected) const override {
        StopAt(++removes, stopAfterRemoves);
        return Platform::RemoveAt(folder, name, expected);
    }
    std::error_code FlushVolume(int fd) const override {
        ++volumeFlushes;
        return Platform::FlushVolume(fd);
    }

  private:
    void StopAt(int count, int limit) const {
        if (count == limit && control != nullptr) {
            control->Close();
        }
    }
};

std::int64_t SizeOf(const std::string& path) {
    return static_cast<std::int64_t>(fs::file_size(path));
}

class BatchPurgeTest : public ::testing::Test {
  protected:
    OperationResult Purge(OperationChoices choices, bool batched) {
        choices.batchSmallFiles = batched;
        platform::ScopedPlatform scoped(stand);
        OperationControl control;
        stand.control = &control;
        return RunPurge(choices, ui, control);
    }
    void WriteSmallFiles() {
        for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}) {
            tree.Write(name, std::string(100, name[0]));
        }
    }

    TempFolder tree;
    BatchStandIn stand;
    ScriptedInterface ui;
};

TEST_F(BatchPurgeTest, OneFileFailsItsWriteTheOthersArePurged) {
    for (const bool batched : {true, false}) {
        SCOPED_TRACE(batched ? "batched" : "one at a time");
        WriteSmallFiles();
        stand.failingName = "c.txt";
        const OperationResult result = Purge(ChoicesFor(tree.Path(), "*.*"), batched);
        EXPECT_NE(result.report.find("\r\nb.txt (100 bytes) purged\r\nc.txt (100 bytes): write "
                                     "error (disk full or device error), not purged.\r\nd.txt "
                                     "(100 bytes) purged\r\n"),
                  std::string::npos)
            << result.report;
        EXPECT_EQ(result.state.purgedFileCount, 4);
        EXPECT_EQ(TempFolder::Read(tree.File("c.txt")), std::string(100, 'c'));
        for (const char* gone : {"a.txt", "b.txt", "d.txt", "e.txt"}) {
            EXPECT_FALSE(fs::exists(tree.File(gone))) << gone;
        }
        fs::remove(tree.File("c.txt"));
    }
}

TEST_F(BatchPurgeTest, OneSharedFlushPerOverwriteOfTheBatch) {
    WriteSmallFiles();
    OperationChoices choices = ChoicesFor(tree.Path(), "*.*");
    choices.numberOfPasses = 3;  // random bytes plus zeros: 2 overwrites per pass
    Purge(choices, true);
    EXPECT_EQ(stand.volumeFlushes, 6);
    EXPECT_EQ(stand.writes, 5 * 6);
}

// Builds the same tree at the same place each time: small and large files, a sensitive
// extension refused once and then silently, a link, a declined file, a subfolder.
void MakeMixedTree(const TempFolder& tree) {
    fs::remove_all(tree.Path());
    // a6.big (1.5 MiB) is purged alone.
    tree.WriteTree({"a1.txt=one", "a2.txt=", "a3.exe=asked", "a4.txt=" + std::string(5000, 'x'),
                    "a5.exe=refused unasked", "a6.big=" + std::string(3 << 19, 'L'),
                    "a7.txt=declined", "a8.txt=after the decline", "a9.txt=and the last"});
    fs::create_symlink("/etc/hostname", tree.File("a10.lnk"));
    tree.WriteTree({"sub/b1.txt=below", "sub/b2.big=" + std::string(5 << 18, 'M'),
                    "sub/b3.txt=after the large one"});
}

TEST_F(BatchPurgeTest, ReportEqualsAPurgeOneFileAtATime) {
    struct Case {
        bool dots;
        int passes;
        bool confirm;
    };
    for (const Case& c : {Case{false, 1, false}, Case{false, 3, true}, Case{true, 2, true}}) {
        SCOPED_TRACE("dots " + std::to_string(c.dots) + ", passes " + std::to_string(c.passes));
        OperationChoices choices = ChoicesFor(tree.Path(), "*.*");
        choices.subdirectories = true;
        choices.numberOfPasses = c.passes;
        choices.options.folderNamesOnly = c.dots;
        choices.options.confirmFiles = c.confirm;
        std::string reports[2];
        for (const bool batched : {false, true}) {
            MakeMixedTree(tree);
            ui = ScriptedInterface();
            ui.answers = {MessageAnswer::No};
            ui.confirmations = {FileConfirmation::Yes, FileConfirmation::Yes,
                                FileConfirmation::Yes, FileConfirmation::Yes,
                                FileConfirmation::No,  FileConfirmation::YesToAll};
            const OperationResult result = Purge(choices, batched);
            reports[batched] = MaskStamps(result.report);
            EXPECT_EQ(ui.asked.size(), 1u);  // the exe question, once
            EXPECT_FALSE(fs::exists(tree.File("a9.txt")));
            EXPECT_FALSE(fs::exists(tree.File("sub")));
            EXPECT_TRUE(fs::exists(tree.File("a5.exe")));
            EXPECT_EQ(fs::exists(tree.File("a7.txt")), c.confirm);
        }
        EXPECT_EQ(reports[1], reports[0]);
    }
}

TEST_F(BatchPurgeTest, StopBetweenOverwritesLeavesEveryFileOfTheBatchAtItsSize) {
    WriteSmallFiles();
    stand.stopAfterWrites = 7;  // the second overwrite of b.txt
    const OperationResult result = Purge(ChoicesFor(tree.Path(), "*.*"), true);
    EXPECT_TRUE(result.stopped);
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}) {
        EXPECT_NE(result.report.find(std::string(name) + " (100 bytes) not purged.\r\n"),
                  std::string::npos)
            << result.report;
        EXPECT_EQ(SizeOf(tree.File(name)), 100) << name;
    }
    EXPECT_EQ(result.report.find(" purged\r\n"), std::string::npos);
    EXPECT_EQ(result.state.purgedFileCount, 0);
}

TEST_F(BatchPurgeTest, StopAmongTheDeletesReportsTheDeletedFilesPurged) {
    WriteSmallFiles();
    stand.stopAfterRemoves = 2;
    const OperationResult result = Purge(ChoicesFor(tree.Path(), "*.*"), true);
    EXPECT_TRUE(result.stopped);
    EXPECT_NE(result.report.find("\r\na.txt (100 bytes) purged\r\nb.txt (100 bytes) purged\r\n"
                                 "c.txt (100 bytes) not purged.\r\nd.txt (100 bytes) not purged."
                                 "\r\ne.txt (100 bytes) not purged.\r\n\r\n"),
              std::string::npos)
        << result.report;
    EXPECT_FALSE(fs::exists(tree.File("b.txt")));
    EXPECT_EQ(SizeOf(tree.File("c.txt")), 100);
    EXPECT_EQ(result.state.purgedFileCount, 2);
}

}  // namespace
}  // namespace vorlane::testing
