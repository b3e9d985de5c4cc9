// Each file's end reaches the interface once, in the report's order, with what a script
// needs: the exact path, the size, the outcome and how many passes reached the device.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "common/StandIns.h"
#include "engine/PurgeTypes.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "operation/TrashPurge.h"
#include "platform/Platform.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class RecordingInterface : public ScriptedInterface {
  public:
    std::vector<FileRecord> records;
    void FileEnded(const FileRecord& record) override { records.push_back(record); }
};

// Writes to one file fail once it has had `writesAllowed` of them.
class LateWriteFailure : public platform::Platform {
  public:
    std::string name;
    int writesAllowed = 0;
    mutable int writes = 0;

    std::error_code WriteAt(int fd, std::int64_t offset, const void* data,
                            std::size_t size) const override {
        if (NameOfFd(fd) == name && ++writes > writesAllowed) {
            return platform::SystemError(EIO);
        }
        return Platform::WriteAt(fd, offset, data, size);
    }
};

class FileRecordTest : public ::testing::Test {
  protected:
    OperationResult Purge(OperationChoices choices) {
        OperationControl control;
        return RunPurge(choices, ui, control);
    }

    TempFolder tree;
    RecordingInterface ui;
};

TEST_F(FileRecordTest, EveryFileEndsOnceInWalkOrderWhetherBatchedOrNot) {
    for (const bool batched : {true, false}) {
        SCOPED_TRACE(batched ? "batched" : "one at a time");
        ui.records.clear();
        tree.Write("a.txt", "alpha");
        fs::create_symlink("a.txt", tree.File("b-link"));
        tree.Write("c\nname", std::string(3000, 'c'));
        OperationChoices choices = ChoicesFor(tree.Path(), "*.*");
        choices.batchSmallFiles = batched;
        Purge(choices);

        ASSERT_EQ(ui.records.size(), 3u);
        const FileRecord& purged = ui.records[0];
        EXPECT_EQ(purged.path, tree.File("a.txt"));
        EXPECT_EQ(purged.size, 5);
        EXPECT_TRUE(purged.purged);
        EXPECT_EQ(purged.passes, 2);
        // A link is refused before anything is written; its own length is no file's data.
        const FileRecord& link = ui.records[1];
        EXPECT_EQ(link.path, tree.File("b-link"));
        EXPECT_EQ(link.result->outcome, FileOutcome::SymbolicLink);
        EXPECT_EQ(link.size, 0);
        EXPECT_EQ(link.passes, 0);
        EXPECT_FALSE(link.purged);
        EXPECT_EQ(ui.records[2].path, tree.File("c\nname"));
        EXPECT_EQ(ui.records[2].size, 3000);
        fs::remove(tree.File("b-link"));
    }
}

TEST_F(FileRecordTest, ADeclinedFileIsNotCalledPurgedNorWritten) {
    tree.Write("a.txt", "alpha");
    tree.Write("b.txt", "beta");
    OperationChoices choices = ChoicesFor(tree.Path(), "*.*");
    choices.options.confirmFiles = true;
    ui.confirmations = {FileConfirmation::No, FileConfirmation::Yes};
    Purge(choices);

    ASSERT_EQ(ui.records.size(), 2u);
    EXPECT_EQ(ui.records[0].result->outcome, FileOutcome::Ok);
    EXPECT_FALSE(ui.records[0].purged);
    EXPECT_EQ(ui.records[0].passes, 0);
    EXPECT_EQ(ui.records[0].size, 5);
    EXPECT_TRUE(ui.records[1].purged);
}

// A file purged alone is watched between its passes; a batch says nothing of how far each
// file got, and "unknown" is the truth there.
TEST_F(FileRecordTest, AWriteErrorInTheSecondPassCountsTheFirst) {
    for (const bool batched : {true, false}) {
        SCOPED_TRACE(batched ? "batched" : "one at a time");
        ui.records.clear();
        tree.Write("a.txt", "alpha");
        LateWriteFailure stand;
        stand.name = "a.txt";
        OperationChoices choices = ChoicesFor(tree.Path(), "*.*");
        choices.numberOfPasses = 3;
        choices.batchSmallFiles = batched;
        stand.writesAllowed = GetNumOverwritesPerPass(choices.purgeType);
        {
            platform::ScopedPlatform scoped(stand);
            Purge(choices);
        }
        ASSERT_EQ(ui.records.size(), 1u);
        EXPECT_EQ(ui.records[0].result->outcome, FileOutcome::WriteFailed);
        EXPECT_EQ(ui.records[0].result->cause, platform::SystemError(EIO));
        EXPECT_EQ(ui.records[0].passes, batched ? std::nullopt : std::optional(1));
        fs::remove(tree.File("a.txt"));
    }
}

TEST_F(FileRecordTest, AListingRecordsEachFileWithoutAResult) {
    tree.WriteTree({"a.txt=alpha", "sub/b.txt=beta"});
    OperationChoices choices = ChoicesFor(tree.Path(), "*.*");
    choices.subdirectories = true;
    OperationControl control;
    RunList(choices, ui, control, true);

    ASSERT_EQ(ui.records.size(), 2u);
    EXPECT_EQ(ui.records[1].path, tree.File("sub/b.txt"));
    EXPECT_EQ(ui.records[1].size, 4);
    EXPECT_FALSE(ui.records[1].result.has_value());
    EXPECT_TRUE(fs::exists(tree.File("sub/b.txt")));
}

TEST_F(FileRecordTest, ATrashPurgeRecordsTheFilesAndTheirEntries) {
    const EnvironmentOf dataHome({{"XDG_DATA_HOME", tree.Path()}});
    const platform::ScopedPlatform scoped(dataHome);
    tree.WriteTree({"Trash/files/a.txt=alpha", "Trash/info/a.txt.trashinfo=[Trash Info]\n",
                    "Trash/files/big.bin=" + std::string(2 << 20, 'b'),
                    "Trash/info/big.bin.trashinfo=[Trash Info]\n"});
    ui.answers = {MessageAnswer::Yes};
    OperationControl control;
    PurgeTrash(tree.Path() + "/Trash", OperationChoices{}, ui, control);

    std::map<std::string, FileRecord> byPath;
    for (const FileRecord& record : ui.records) {
        byPath[record.path] = record;
    }
    ASSERT_EQ(byPath.size(), 4u);
    const FileRecord& small = byPath[tree.Path() + "/Trash/files/a.txt"];
    EXPECT_TRUE(small.purged);
    EXPECT_EQ(small.size, 5);
    EXPECT_EQ(byPath[tree.Path() + "/Trash/files/big.bin"].size, 2 << 20);
    EXPECT_TRUE(byPath[tree.Path() + "/Trash/info/big.bin.trashinfo"].purged);
}

}  // namespace
}  // namespace vorlane::testing
