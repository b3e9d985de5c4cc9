// Small files purged in batches: errors and stops that stay with the files they belong to.

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

// Fails the writes of one file by name, and stops the operation after a number of writes.
class BatchStandIn : public platform::Platform {
  public:
    std::string failingName;
    bool folderFlushFails = false;
    OperationControl* control = nullptr;
    int stopAfterWrites = -1;
    mutable int writes = 0;

    std::error_code WriteAt(int fd, std::int64_t offset, const void* data,
                            std::size_t size) const override {
        if (!failingName.empty() && NameOfFd(fd) == failingName) {
            return platform::SystemError(EIO);
        }
        StopAt(++writes, stopAfterWrites);
        return Platform::WriteAt(fd, offset, data, size);
    }

    std::error_code SyncFolder(int fd) const override {
        return folderFlushFails ? platform::SystemError(EIO) : Platform::SyncFolder(fd);
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
        // The system's words, not a guess at them.
        EXPECT_NE(result.report.find("\nb.txt (100 bytes) purged\nc.txt (100 bytes): write "
                                     "error (Input/output error), not purged.\nd.txt "
                                     "(100 bytes) purged\n"),
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

// Every file of the batch was written to once: none of them may be trusted any more.
TEST_F(BatchPurgeTest, StopBetweenOverwritesLeavesEveryFileOfTheBatchAtItsSize) {
    WriteSmallFiles();
    stand.stopAfterWrites = 7;  // the second overwrite of b.txt
    const OperationResult result = Purge(ChoicesFor(tree.Path(), "*.*"), true);
    EXPECT_TRUE(result.stopped);
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}) {
        EXPECT_NE(result.report.find(std::string(name) +
                                     " (100 bytes): partly overwritten, not deleted.\n"),
                  std::string::npos)
            << result.report;
        EXPECT_EQ(SizeOf(tree.File(name)), 100) << name;
    }
    EXPECT_EQ(result.report.find(" purged\n"), std::string::npos);
    EXPECT_EQ(result.state.purgedFileCount, 0);
}

TEST_F(BatchPurgeTest, AnUnflushedRemovalIsReportedAndNotCountedAsPurged) {
    tree.Write("a.txt", "secret");
    tree.Write("b.txt", "secret");
    stand.folderFlushFails = true;
    const OperationResult result = Purge(ChoicesFor(tree.Path(), "*.*"), true);
    EXPECT_NE(result.report.find("a.txt (6 bytes): file overwritten, but its removal could not "
                                 "be flushed to the device (Input/output error).\nb.txt"),
              std::string::npos)
        << result.report;
    EXPECT_EQ(result.state.purgedFileCount, 0);
}

// A purge killed between its rename and its unlink left a file under the scrub's marker:
// the next purge of the folder removes it whatever the file specification, and counts it.
TEST_F(BatchPurgeTest, ALeftoverOfAKilledPurgeIsPurgedAndCounted) {
    tree.Write("a.txt", "secret");
    tree.Write(
        "\x7f"
        "Zq81",
        std::string(4, '\0'));
    tree.Write("notes.doc", "kept");
    const OperationResult result = Purge(ChoicesFor(tree.Path(), "*.txt"), true);
    // The marker is a control character: the report shows it as "?".
    EXPECT_NE(result.report.find("a.txt (6 bytes) purged\n?Zq81 (4 bytes) purged, left over "
                                 "from an interrupted purge\n"),
              std::string::npos)
        << result.report;
    EXPECT_NE(result.report.find("Number of leftovers of interrupted purges purged: 1 of 1\n"),
              std::string::npos);
    EXPECT_EQ(result.state.fileCount, 1);
    EXPECT_FALSE(
        fs::exists(tree.File("\x7f"
                             "Zq81")));
    EXPECT_TRUE(fs::exists(tree.File("notes.doc")));
}

}  // namespace
}  // namespace vorlane::testing
