// Each finished report kept as a file of its own: its name, its text, the newest 200,
// the setting, and a state folder that cannot take it.

#include "operation/KeptReports.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "common/TempFolder.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "platform/Platform.h"
#include "tools/SettingsStore.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;
using testing::ChoicesFor;
using testing::ScriptedInterface;
using testing::TempFolder;

// The per-user folders as the test names them.
testing::EnvironmentOf StateFolders(const std::string& state, const std::string& home) {
    return testing::EnvironmentOf({{"XDG_STATE_HOME", state}, {"HOME", home}});
}

// Always 2026-03-04 05:06:07: every report falls into one second.
class StoppedClock : public platform::Platform {
  public:
    std::time_t Now() const override { return 1'000'000; }
    std::tm LocalTime(std::time_t) const override {
        return {7, 6, 5, 4, 2, 126, 0, 0, 0, 0, nullptr};  // seconds first, years since 1900
    }
};

// Writes fail as on a full disk.
class FullDisk : public platform::Platform {
  public:
    std::error_code WriteAt(int, std::int64_t, const void*, std::size_t) const override {
        return platform::SystemError(ENOSPC);
    }
};

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// How often the person was told that a report was not kept.
long NotKept(const ScriptedInterface& ui) {
    return std::count_if(ui.progress.begin(), ui.progress.end(), [](const std::string& line) {
        return line.starts_with("The report was not kept");
    });
}

class KeptReportsTest : public ::testing::Test {
  protected:
    TempFolder temp;
    const std::string reports = temp.File("state/vorlane/reports");
    testing::EnvironmentOf folders = StateFolders(temp.File("state"), "/nonexistent");
    platform::ScopedStandIn<platform::Environment> environment{folders};
    StoppedClock stoppedClock;
    platform::ScopedStandIn<platform::Clock> clock{stoppedClock};
    // Keeping is on unless a test turns it off, whatever the tester's own settings say.
    ScopedSettingsFile settings{temp.File("settings.ini")};
};

TEST_F(KeptReportsTest, PurgeAndListingEachLeaveTheirReportForTheUserAlone) {
    temp.WriteTree({"target/a.txt=secret one", "target/b.txt=secret two"});
    ScriptedInterface ui;
    OperationControl control;
    ASSERT_TRUE(RunList(ChoicesFor(temp.File("target"), "*.*"), ui, control, true).ran);
    const std::string listing = ui.finishedReport;
    ASSERT_TRUE(RunPurge(ChoicesFor(temp.File("target"), "*.*"), ui, control).ran);
    EXPECT_FALSE(fs::exists(temp.File("target/a.txt")));

    EXPECT_EQ(Names(reports),
              (std::set<std::string>{"2026-03-04-050607-list.txt", "2026-03-04-050607-purge.txt"}));
    EXPECT_EQ(TempFolder::Read(reports + "/2026-03-04-050607-list.txt"), listing);
    EXPECT_EQ(TempFolder::Read(reports + "/2026-03-04-050607-purge.txt"), ui.finishedReport);
    struct stat report {};
    struct stat folder {};
    ASSERT_EQ(::stat((reports + "/2026-03-04-050607-purge.txt").c_str(), &report), 0);
    ASSERT_EQ(::stat(reports.c_str(), &folder), 0);
    EXPECT_EQ(report.st_mode & 0777, 0600u);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(NotKept(ui), 0);
}

// Within one second the count orders them: -2 after none, -10 after -9.
TEST_F(KeptReportsTest, ReportsOfOneSecondAreAllKeptAndLeaveInTheirOrder) {
    std::set<std::string> saved;
    for (int i = 1; i <= 11; ++i) {
        std::string name;
        ASSERT_FALSE(KeepReport(kPurgeReport, "report " + std::to_string(i) + "\n", name, 2));
        saved.insert(name);
    }
    EXPECT_EQ(saved.size(), 11u);
    EXPECT_EQ(Names(reports), (std::set<std::string>{"2026-03-04-050607-purge-10.txt",
                                                     "2026-03-04-050607-purge-11.txt"}));
    EXPECT_EQ(TempFolder::Read(reports + "/2026-03-04-050607-purge-11.txt"), "report 11\n");
}

// The 201st report takes the place of the oldest; nothing but reports is ever removed,
// not a link that looks like one, nor what it leads to.
TEST_F(KeptReportsTest, TheOldestReportGoesAndNothingElse) {
    fs::create_directories(reports);
    for (int day = 1; day <= 200; ++day) {
        char name[64];
        std::snprintf(name, sizeof name, "/2025-%02d-%02d-120000-%s.txt", 1 + day / 28,
                      1 + day % 28, day % 2 == 0 ? "list" : "purge-free-space");
        std::ofstream(reports + name) << day;
    }
    const std::set<std::string> foreign{"notes.txt",
                                        "2001-01-01-000000-purge.txt.bak",
                                        "2001-01-01-000000-Purge.txt",
                                        "2001-01-01-000000--purge.txt",
                                        "2001-01-01-000000-.txt",
                                        "2001-1-01-000000-purge.txt",
                                        "2001-01-01-000000-list.txt",
                                        "2001-01-01-000001-purge.txt"};
    const std::string outside = temp.Write("outside.txt", "not a report");
    for (const std::string& name : foreign) {
        std::ofstream(reports + "/" + name) << "theirs";
    }
    fs::remove(reports + "/2001-01-01-000000-list.txt");
    fs::create_symlink(outside, reports + "/2001-01-01-000000-list.txt");
    fs::remove(reports + "/2001-01-01-000001-purge.txt");
    fs::create_directory(reports + "/2001-01-01-000001-purge.txt");

    std::string name;
    ASSERT_FALSE(KeepReport(kListReport, "new\n", name));
    const std::set<std::string> left = Names(reports);
    EXPECT_EQ(left.size(), 200 + foreign.size());
    EXPECT_FALSE(left.contains("2025-01-02-120000-purge-free-space.txt"));  // day 1, the oldest
    EXPECT_TRUE(left.contains("2025-01-03-120000-list.txt"));
    EXPECT_TRUE(left.contains(name));
    for (const std::string& theirs : foreign) {
        EXPECT_TRUE(left.contains(theirs)) << theirs;
    }
    EXPECT_EQ(TempFolder::Read(outside), "not a report");
}

TEST_F(KeptReportsTest, TheSettingOffKeepsNothingUntilItIsOnAgain) {
    ScriptedInterface ui;
    ASSERT_FALSE(SetReportKeeping(false));
    KeepFinishedReport(ui, kPurgeReport, "text\n");
    EXPECT_FALSE(fs::exists(reports));
    ASSERT_FALSE(SetReportKeeping(true));
    KeepFinishedReport(ui, kPurgeReport, "text\n", false);  // this run's own choice
    EXPECT_FALSE(fs::exists(reports));
    KeepFinishedReport(ui, kPurgeReport, "text\n");
    EXPECT_EQ(Names(reports).size(), 1u);
    EXPECT_EQ(NotKept(ui), 0);
}

// A state folder that cannot be made (a file stands in its way) costs the report, not
// the purge, and the person hears of it once.
TEST_F(KeptReportsTest, AStateFolderThatCannotTakeReportsFailsNoPurge) {
    temp.WriteTree({"target/a.txt=secret"});
    const testing::EnvironmentOf blocked =
        StateFolders(temp.Write("state-file", "in the way") + "/", "/nonexistent");
    platform::ScopedStandIn<platform::Environment> blockedEnvironment(blocked);
    ScriptedInterface ui;
    OperationControl control;
    const OperationResult result = RunPurge(ChoicesFor(temp.File("target"), "*.*"), ui, control);
    EXPECT_TRUE(result.ran);
    EXPECT_EQ(result.state.purgedFileCount, 1);
    EXPECT_FALSE(fs::exists(temp.File("target/a.txt")));
    EXPECT_EQ(NotKept(ui), 1);
    EXPECT_EQ(ui.progress.back(), "The report was not kept in " + temp.File("state-file") +
                                      "/vorlane/reports: not a directory.");
}

// Half a report would read as a whole one.
TEST_F(KeptReportsTest, AReportThatCannotBeWrittenWholeIsNotLeft) {
    FullDisk full;
    std::string name;
    {
        platform::ScopedStandIn<platform::FileSystem> disk(full);
        EXPECT_EQ(KeepReport(kPurgeReport, "text\n", name), std::errc::no_space_on_device);
    }
    EXPECT_TRUE(Names(reports).empty());
}

// The state folder must be absolute; else the home's, made level by level.
TEST_F(KeptReportsTest, WithoutAnAbsoluteStateFolderTheHomeOneIsMade) {
    const testing::EnvironmentOf relative = StateFolders("relative/state", temp.File("home") + "/");
    platform::ScopedStandIn<platform::Environment> relativeEnvironment(relative);
    EXPECT_EQ(KeptReportsFolder(), temp.File("home/.local/state/vorlane/reports"));
    std::string name;
    ASSERT_FALSE(KeepReport(kFreeSpaceReport, "text\n", name));
    EXPECT_EQ(name, "2026-03-04-050607-purge-free-space.txt");
    EXPECT_TRUE(fs::is_regular_file(temp.File("home/.local/state/vorlane/reports/" + name)));

    const testing::EnvironmentOf nowhere = StateFolders("", "");
    platform::ScopedStandIn<platform::Environment> nowhereEnvironment(nowhere);
    EXPECT_EQ(KeptReportsFolder(), "");
    EXPECT_TRUE(KeepReport(kPurgeReport, "text\n", name));
}

}  // namespace
}  // namespace vorlane
