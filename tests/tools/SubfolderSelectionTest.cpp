#include "tools/SubfolderSelection.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "common/TempFolder.h"
#include "platform/Platform.h"
#include "support/UserLocale.h"
#include "tools/SortStrings.h"

namespace vorlane {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

TEST(SortStrings, AscendingByKey) {
    const struct {
        std::vector<std::string> items;
        int low, high;
        bool ignoreCase;
        int column;
        std::vector<std::string> sorted;
    } cases[] = {
        {{"b", "A", "c"}, 0, 2, true, 1, {"A", "b", "c"}},
        {{"b", "a", "C"}, 0, 2, false, 1, {"C", "a", "b"}},  // byte order, no locale
        {{"abc {1}", "abc def {2}"}, 0, 1, true, 1, {"abc def {2}", "abc {1}"}},
        {{"xb", "ya", "zc"}, 0, 2, true, 2, {"ya", "xb", "zc"}},
        {{"c", "b", "a", "d"}, 1, 2, true, 1, {"c", "a", "b", "d"}},
        {{"e", "d", "c", "b", "a", "a", "f", "b"},
         0,
         7,
         true,
         1,
         {"a", "a", "b", "b", "c", "d", "e", "f"}},
    };
    for (auto c : cases) {
        SortStrings(c.items, c.low, c.high, c.ignoreCase, c.column);
        EXPECT_EQ(c.items, c.sorted);
    }
}

SubfolderEntry Entry(std::string name, bool empty = false, bool unreadable = false,
                     double size = 1000, bool over = false) {
    SubfolderEntry entry;
    entry.name = std::move(name);
    entry.empty = empty;
    entry.unreadable = unreadable;
    entry.size = size;
    entry.sizeOver = over;
    entry.description = unreadable ? "permission denied" : "1 file and no subfolders";
    return entry;
}

TEST(SubfolderSelection, PagingOfTheRows) {
    const struct {
        int count, rows;
        SubfolderPaging expected;
    } cases[] = {{30, 11, {11, true, 19, 10}},
                 {11, 11, {11, false, 0, 10}},
                 {12, 11, {11, true, 1, 10}},
                 {0, 11, {0, false, 0, 10}}};
    for (const auto& c : cases) {
        const SubfolderPaging paging = PagingFor(c.count, c.rows);
        EXPECT_EQ(paging.rows, c.expected.rows) << c.count;
        EXPECT_EQ(paging.scrollBar, c.expected.scrollBar) << c.count;
        EXPECT_EQ(paging.scrollMaximum, c.expected.scrollMaximum) << c.count;
        EXPECT_EQ(paging.pageStep, c.expected.pageStep) << c.count;
    }
}

TEST(SubfolderSelection, SummaryLines) {
    SetUserLocale(std::locale::classic());
    std::vector<SubfolderEntry> entries;
    for (int i = 0; i < 12; ++i) {
        entries.push_back(Entry("f" + std::to_string(i)));
    }
    EXPECT_EQ(SummariseSelection(entries, false).text, "No subfolders selected.");
    SetChecked(entries[0], true);
    EXPECT_EQ(SummariseSelection(entries, false).text, "One subfolder selected.");
    SetChecked(entries[1], true);
    SetChecked(entries[2], true);
    EXPECT_EQ(SummariseSelection(entries, false).text, "3 selected (of 12).");
    SetAllChecked(entries, true);
    EXPECT_EQ(SummariseSelection(entries, false).text, "All 12 subfolders selected.");

    entries[3].sizeOver = true;
    const SelectionSummary summary = SummariseSelection(entries, true);
    EXPECT_DOUBLE_EQ(summary.totalSize, 12000);
    EXPECT_TRUE(summary.sizeIsLowerBound);
    EXPECT_NE(summary.text.find("\nA total of over "), std::string::npos);
    // A name holding "over" does not make the size a lower bound.
    std::vector<SubfolderEntry> cover = {Entry("Cover letters")};
    SetAllChecked(cover, true);
    EXPECT_FALSE(SummariseSelection(cover, true).sizeIsLowerBound);
}

TEST(SubfolderSelection, EmptyAndUnreadableRowsCannotBeChecked) {
    std::vector<SubfolderEntry> entries = {Entry("full"), Entry("empty", true),
                                           Entry("locked", false, true)};
    SetAllChecked(entries, true);
    EXPECT_TRUE(entries[0].checked);
    EXPECT_FALSE(entries[1].checked);
    EXPECT_FALSE(entries[2].checked);
    EXPECT_FALSE(SetChecked(entries[1], true));
    PreCheck(entries, "/top", {"/top/full", "/top/empty", "/top/locked"});
    EXPECT_EQ(SelectedPaths("/top", entries), std::vector<std::string>{"/top/full"});
}

TEST(SubfolderSelection, NamesAreComparedExactly) {
    std::vector<SubfolderEntry> entries = {Entry(" x"), Entry("x"), Entry("a {b}"), Entry("Docs"),
                                           Entry("docs")};
    PreCheck(entries, "/top/", {"/top/x", "/top/docs", "/top/a {b}"});
    EXPECT_EQ(SelectedPaths("/top", entries),
              (std::vector<std::string>{"/top/x", "/top/a {b}", "/top/docs"}));
}

TEST(SubfolderSelection, DescriptionsOfRealFolders) {
    SetUserLocale(std::locale::classic());
    TempFolder temp;
    temp.WriteTree({"Letters/a.txt=" + std::string(1000, 'a'), "Letters/b=" + std::string(24, 'b'),
                    "Letters/old/c=" + std::string(1024, 'c'), "Old", "one/sub",
                    "loose file=not a folder"});
    fs::create_directory_symlink(temp.File("Letters"), temp.File("link"));

    const SubfolderListing listing = ReadSubfolders(temp.Path(), false);
    ASSERT_EQ(listing.entries.size(), 3u);  // no file, no link
    EXPECT_EQ(listing.entries[0].Text(), "Letters {2 files and 1 subfolder, 2.00 KB}");
    EXPECT_DOUBLE_EQ(listing.entries[0].size, 2048);
    EXPECT_EQ(listing.entries[1].Text(), "Old {no files and no subfolders}");
    EXPECT_FALSE(listing.entries[1].Checkable());
    EXPECT_EQ(listing.entries[2].Text(), "one {no files and 1 subfolder, 0 bytes}");
    EXPECT_TRUE(listing.entries[2].Checkable());

    EXPECT_EQ(ReadSubfolders(temp.Path(), true).entries[0].Text(),
              "Letters {2 files and 1 subfolder}");
    int seen = 0;
    const SubfolderListing stopped = ReadSubfolders(temp.Path(), false, [&](int n) {
        seen = n;
        return n < 2;
    });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(seen, 2);
    EXPECT_FALSE(ReadSubfolders(temp.File("missing"), false).error.empty());
}

// "/" with the kernel's own mounts below it, as the stand-in's mount table has them.
class RootWithPseudoMounts : public platform::Platform {
  public:
    std::vector<platform::Volume> ListVolumes() const override {
        return {{"/", "ext4", "/dev/vda1", platform::DriveKind::Fixed},
                {"/media/usb", "vfat", "/dev/sdb1", platform::DriveKind::Removable},
                {"/data", "ext4", "/dev/vdb1", platform::DriveKind::Fixed}};
    }
    platform::FileStatus StatNoFollow(const std::string& path) const override {
        platform::FileStatus status;
        status.kind = platform::FileKind::Directory;
        status.device = path == "/" || path.empty() ? 1 : DeviceOf(path);
        return status;
    }
    std::error_code ListFolder(const std::string& path,
                               std::vector<platform::FolderEntry>& out) const override {
        out.clear();
        if (path != "/") {
            return platform::SystemError(path.starts_with("/locked") ? EACCES : 0);
        }
        for (const char* name : {"data", "dev", "home", "locked", "proc", "run", "sys"}) {
            platform::FolderEntry entry;
            entry.name = name;
            entry.status = StatNoFollow(std::string("/") + name);
            out.push_back(entry);
        }
        return {};
    }

  private:
    static dev_t DeviceOf(const std::string& path) {
        if (path == "/data") {
            return 2;
        }
        for (const char* pseudo : {"/dev", "/proc", "/sys", "/run"}) {
            if (path == pseudo) {
                return 10 + path.size();
            }
        }
        return 1;
    }
};

TEST(SubfolderSelection, RootOffersNoPseudoFileSystems) {
    RootWithPseudoMounts root;
    platform::ScopedPlatform scoped(root);
    const SubfolderListing listing = ReadSubfolders("/", true);
    std::vector<std::string> names;
    for (const auto& entry : listing.entries) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"data", "home", "locked"}));
    EXPECT_TRUE(listing.entries[2].unreadable);
    EXPECT_FALSE(listing.entries[2].Checkable());
}

}  // namespace
}  // namespace vorlane
