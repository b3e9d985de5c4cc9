#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_NE(ui.asked.back().text.find("\n1 file could not be purged."), std::string::npos);
    EXPECT_EQ(TempFolder::Read(trash + "/files/locked.txt"), "locked");
    // The report window shows what was left while the purge goes on.
    EXPECT_NE(ui.lastReport.find("locked.txt"), std::string::npos) << ui.lastReport;
}

TEST_F(TrashPurgeTest, TrashRootIsFoundFromInsideIt) {
    EXPECT_EQ(TrashRootOf(trash + "/files"), trash);
    EXPECT_EQ(TrashRootOf(trash), trash);
    EXPECT_EQ(TrashRootOf(home.Path()), "");
}

// A volume's shared .Trash is used only when it is a real folder with the sticky bit:
// anyone may create it, as a link to a folder of someone else's.
TEST_F(TrashPurgeTest, SharedTrashMustBeARealStickyFolder) {
    const std::string uid = std::to_string(::getuid());
    const std::string mount = home.File("volume");
    home.WriteTree({"volume/.Trash-" + uid + "/files/a.txt=alpha",
                    "victim/" + uid + "/files/kept.txt=kept", "victim/" + uid + "/info"});
    const auto Paths = [&] {
        std::vector<std::string> paths;
        for (const OpenTrash& found : OpenTrashFoldersOn(mount)) {
            paths.push_back(found.path);
        }
        return paths;
    };
    const std::string own = mount + "/.Trash-" + uid;
    const std::string shared = mount + "/.Trash/" + uid;
    fs::create_symlink(home.File("victim"), mount + "/.Trash");
    ::chmod(home.File("victim").c_str(), 01777);
    EXPECT_EQ(Paths(), (std::vector<std::string>{trash, own}));  // the home Trash lies there too

    fs::remove(mount + "/.Trash");
    home.WriteTree({"volume/.Trash/" + uid + "/files"});
    EXPECT_EQ(Paths(), (std::vector<std::string>{trash, own}));  // not sticky
    ::chmod((mount + "/.Trash").c_str(), 01777);
    EXPECT_EQ(Paths(), (std::vector<std::string>{trash, shared, own}));

    // The outcome names the Trash that was purged.
    ui.answers = {MessageAnswer::Yes};
    PurgeTrash(own, OperationChoices{}, ui, control);
    EXPECT_NE(ui.asked.back().text.find("\nThe folder purged was " + own + "."), std::string::npos);
    EXPECT_EQ(TempFolder::Read(home.File("victim/" + uid + "/files/kept.txt")), "kept");
}

// Makes folders of one name unreadable, and those of another lie on another volume.
class RefusingFolders : public platform::Platform {
  public:
    std::error_code OpenFolder(int atFd, const std::string& name, platform::UniqueFd& out,
                               platform::FileStatus& status) const override {
        if (name == "locked") {
            return platform::SystemError(EACCES);
        }
        const std::error_code error = Platform::OpenFolder(atFd, name, out, status);
        status.mountId += name == "mounted" ? 1 : 0;
        return error;
    }
};

TEST_F(TrashPurgeTest, FoldersLeftWholeAreReportedAndCounted) {
    home.WriteTree({"Trash/files/X/a.txt=alpha", "Trash/files/X/locked/b.txt=beta",
                    "Trash/files/X/mounted/c.txt=gamma", "Trash/info/X.trashinfo=[Trash Info]\n"});
    RefusingFolders standIn;
    platform::ScopedPlatform scoped(standIn);
    ui.answers = {MessageAnswer::Yes};
    const TrashPurgeResult result = Purge();
    EXPECT_EQ(result.failed, 2);
    const std::string& told = ui.asked.back().text;
    EXPECT_NE(
        told.find("\nFolder " + trash + "/files/X/locked/ cannot be read: permission denied."),
        std::string::npos)
        << told;
    EXPECT_NE(
        told.find("\nFolder " + trash + "/files/X/mounted/ is on another volume, not purged."),
        std::string::npos)
        << told;
    // The item is still there, so the entry that says where it came from stays.
    EXPECT_TRUE(fs::exists(trash + "/info/X.trashinfo"));
    EXPECT_EQ(TempFolder::Read(trash + "/files/X/locked/b.txt"), "beta");
}

TEST_F(TrashPurgeTest, LinksAndFifosGoUnfollowedHardLinksStayWithTheirEntry) {
    home.WriteTree({"outside.txt=outside", "shared.txt=shared"});
    Trash("desktop.ini", "[.ShellClassInfo]");
    Trash("link", "");
    fs::remove(trash + "/files/link");
    fs::create_symlink(home.File("outside.txt"), trash + "/files/link");
    Trash("fifo", "");
    fs::remove(trash + "/files/fifo");
    ASSERT_EQ(::mkfifo((trash + "/files/fifo").c_str(), 0600), 0);
    home.WriteTree({"Trash/files/dir/a.txt=alpha", "Trash/info/dir.trashinfo=[Trash Info]\n"});
    fs::create_symlink(home.File("outside.txt"), trash + "/files/dir/inner");
    Trash("hard", "");
    fs::remove(trash + "/files/hard");
    fs::create_hard_link(home.File("shared.txt"), trash + "/files/hard");
    home.Write("Trash/directorysizes", "6 1700000000 dir\n9 1700000000 other%20one\n");
    ui.answers = {MessageAnswer::Yes};
    const TrashPurgeResult result = Purge();
    EXPECT_EQ(Entries(trash + "/files"), (std::vector<std::string>{"hard"}));
    EXPECT_EQ(Entries(trash + "/info"), (std::vector<std::string>{"hard.trashinfo"}));
    EXPECT_EQ(TempFolder::Read(home.File("outside.txt")), "outside");
    EXPECT_EQ(TempFolder::Read(home.File("shared.txt")), "shared");
    EXPECT_EQ(TempFolder::Read(trash + "/directorysizes"), "9 1700000000 other%20one\n");
    EXPECT_EQ(result.failed, 1);
    EXPECT_NE(
        ui.asked.back().text.find(
            trash + "/files/hard: file has other names (hard links), kept with its Trash entry."),
        std::string::npos);
}

TEST_F(TrashPurgeTest, EmptyFoldersAndStrayEntriesAreEmptiedToo) {
    home.WriteTree({"Trash/files/empty/inner", "Trash/info/empty.trashinfo=Path=/a/empty\n",
                    "Trash/info/gone.trashinfo=Path=/a/gone\n"});
    ui.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(Purge().ran);
    EXPECT_EQ(Entries(trash), (std::vector<std::string>{"files", "info"}));
    EXPECT_EQ(ui.asked.front().text.find("There are files or folders"), 0u);
}

TEST_F(TrashPurgeTest, FolderInsideTheTrashPurgesOnlyItsTree) {
    home.WriteTree({"Trash/files/X/sub/a.txt=alpha", "Trash/info/X.trashinfo=Path=/a/X\n"});
    Trash("Y", "kept");
    ui.answers = {MessageAnswer::Yes, MessageAnswer::Ok, MessageAnswer::Yes};
    PurgeTrash(trash + "/files/X/sub", OperationChoices{}, ui, control);
    EXPECT_EQ(Entries(trash + "/files"), (std::vector<std::string>{"X", "X/sub", "Y"}));
    EXPECT_TRUE(fs::exists(trash + "/info/X.trashinfo"));  // its item is still there

    PurgeTrash(trash + "/files/X", OperationChoices{}, ui, control);
    EXPECT_EQ(Entries(trash + "/files"), (std::vector<std::string>{"Y"}));
    EXPECT_EQ(Entries(trash + "/info"), (std::vector<std::string>{"Y.trashinfo"}));
    EXPECT_EQ(TempFolder::Read(trash + "/files/Y"), "kept");
}

}  // namespace
}  // namespace vorlane::testing
