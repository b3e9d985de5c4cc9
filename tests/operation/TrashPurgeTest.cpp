#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "common/StandIns.h"
#include "engine/DriveInfo.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "operation/TrashPurge.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class TrashPurgeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("XDG_DATA_HOME", home.Path().c_str(), 1);
        home.WriteTree({"Trash/files", "Trash/info"});
        drive = DriveOfPath(trash);
    }

    // One deleted file with its .trashinfo, as a file manager leaves it.
    void Trash(const std::string& name, const std::string& bytes) {
        home.Write("Trash/files/" + name, bytes);
        home.Write("Trash/info/" + name + ".trashinfo",
                   "[Trash Info]\nPath=/home/someone/" + name + "\n");
    }

    std::vector<std::string> Entries(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            names.push_back(fs::relative(entry.path(), folder).string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TrashPurgeResult Purge() { return PurgeTrash(trash, OperationChoices{}, ui, control); }

    TempFolder home;
    const std::string trash = home.Path() + "/Trash";
    std::string drive;
    ScriptedInterface ui;
    OperationControl control;
};

TEST_F(TrashPurgeTest, YesPurgesFilesWithTheirInfoAndKeepsTheStructure) {
    Trash("a.txt", "alpha");
    Trash("setup.exe", "sensitive");  // no question about the extension
    home.WriteTree({"Trash/files/folder/inner/b.txt=beta",
                    "Trash/info/folder.trashinfo=[Trash Info]\nPath=/home/someone/folder\n",
                    "Trash/directorysizes=4096 1700000000 folder\n"});
    ::chmod((trash + "/files/folder/inner/b.txt").c_str(), 0444);
    ui.answers = {MessageAnswer::Yes};
    const TrashPurgeResult result = Purge();
    EXPECT_TRUE(result.ran);
    EXPECT_EQ(result.purged, 3);
    EXPECT_EQ(result.failed, 0);
    EXPECT_EQ(ui.asked.size(), 2u);
    EXPECT_EQ(Entries(trash), (std::vector<std::string>{"directorysizes", "files", "info"}));
    EXPECT_TRUE(ui.lastReport.empty());  // the Trash purge writes no report
}

TEST_F(TrashPurgeTest, FilesThatCouldNotBePurgedAreCounted) {
    Trash("a.txt", "alpha");
    Trash("locked.txt", "locked");
    LockedFiles standIn("locked.txt");
    platform::ScopedPlatform scoped(standIn);
    ui.answers = {MessageAnswer::Yes};
    const TrashPurgeResult result = Purge();
    EXPECT_EQ(result.purged, 1);
    EXPECT_EQ(result.failed, 1);
    EXPECT_NE(ui.asked.back().text.find("\r\n1 file could not be purged."), std::string::npos);
    EXPECT_EQ(TempFolder::Read(trash + "/files/locked.txt"), "locked");
}

TEST_F(TrashPurgeTest, TrashRootIsFoundFromInsideIt) {
    EXPECT_EQ(TrashRootOf(trash + "/files"), trash);
    EXPECT_EQ(TrashRootOf(trash), trash);
    EXPECT_EQ(TrashRootOf(home.Path()), "");
    const std::vector<std::string> onDrive = TrashFoldersOn(drive);
    EXPECT_NE(std::find(onDrive.begin(), onDrive.end(), trash), onDrive.end());
}

}  // namespace
}  // namespace vorlane::testing
