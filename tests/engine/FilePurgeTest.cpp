#include "engine/FilePurge.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <linux/falloc.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>

#include "common/TempFolder.h"
#include "engine/DriveInfo.h"
#include "engine/PurgeRuns.h"
#include "engine/PurgeStandIn.h"

namespace vorlane {
namespace {

using platform::FileStatus;
using platform::OpenResult;
using platform::Platform;
using platform::UniqueFd;
using testing::kHead;
using testing::PurgeStandIn;
using testing::TempFolder;
namespace fs = std::filesystem;

constexpr std::int64_t kGiB = std::int64_t{1} << 30;

class FilePurgeTest : public testing::PurgeFixture {
  protected:
    FileOutcome Purge(const std::string& path, int type, bool deleteFile, int passes = 1,
                      bool okReadOnly = true, bool okSystem = true) {
        const PurgeRequest request{.purgeType = type,
                                   .passes = passes,
                                   .deleteFile = deleteFile,
                                   .okToPurgeReadOnly = okReadOnly,
                                   .okToPurgeSystem = okSystem,
                                   .allowHardLinks = allowHardLinks};
        return PurgeFileAtPath(purger, path, request, hooks).outcome;
    }

    // A file with the given bytes at the given offsets and holes between them.
    std::string SparseFile(const std::vector<std::pair<std::int64_t, std::string>>& pieces) {
        const std::string path = folder.File("sparse");
        const UniqueFd fd(::open(path.c_str(), O_CREAT | O_WRONLY, 0600));
        for (const auto& [offset, bytes] : pieces) {
            EXPECT_EQ(::pwrite(fd.Get(), bytes.data(), bytes.size(), offset), std::ssize(bytes));
        }
        return path;
    }
    FileOutcome PurgeAloneOrBatched(const std::string& name, const PurgeRequest& request,
                                    bool batched) {
        return testing::PurgeAloneOrBatched(purger, folder, name, request, batched, hooks).outcome;
    }

    bool allowHardLinks = false;
};

TEST_F(FilePurgeTest, EveryOverwriteCoversWholeClustersThenTheSizeIsRestored) {
    struct Case {
        std::int64_t size, reportedSize;
        int clusterSize;
        std::int64_t end;
    };
    for (const Case c :
         {Case{0, -1, 4096, 4096}, Case{10000, -1, 4096, 12288}, Case{8192, -1, 4096, 8192},
          Case{1, -1, 512, 512}, Case{70000, -1, 1 << 20, 1 << 20},
          Case{1, 3 * kGiB + 1, 4096, 3 * kGiB + 4096}}) {
        SCOPED_TRACE(c.end);
        UseClusterSize(c.clusterSize);
        purger = FilePurger();  // a purger asks each volume's cluster size once
        const std::string file = folder.Write("data", std::string(c.size, 'M'));
        stand = {};
        stand.reportedSize = c.reportedSize;
        stand.passWrites = c.reportedSize < 0;  // never write gigabytes for real
        ASSERT_EQ(Purge(file, 1, false), FileOutcome::Ok);
        const auto overwrites = stand.Overwrites();
        ASSERT_EQ(overwrites.size(), 3u);
        for (const auto& overwrite : overwrites) {
            EXPECT_EQ(overwrite.second, c.end);
        }
        EXPECT_EQ(stand.flushes, 3);
        EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(file)),
                  c.reportedSize >= 0 ? c.reportedSize : c.size);
    }
}

struct Sequence {
    int type, passes;
    std::vector<PatternSelector> selectors;
};

class PurgeSequenceTest : public FilePurgeTest, public ::testing::WithParamInterface<Sequence> {};

TEST_P(PurgeSequenceTest, WritesTheTypesBlocksInOrderAndLeavesTheLastOne) {
    const Sequence& s = GetParam();
    const std::string file = folder.Write("data", std::string(5000, 'M'));
    ASSERT_EQ(Purge(file, s.type, false, s.passes), FileOutcome::Ok);
    const auto overwrites = stand.Overwrites();
    ASSERT_EQ(overwrites.size(), s.selectors.size());
    // The blocks are rebuilt every pass: only the last pass can be compared with them.
    for (std::size_t i = s.selectors.size() - s.selectors.size() / s.passes; i < s.selectors.size();
         ++i) {
        EXPECT_EQ(overwrites[i].first, purger.OverwriteBlock(s.selectors[i]).substr(0, kHead)) << i;
    }
    const std::string& block = purger.OverwriteBlock(s.selectors.back());
    const std::string bytes = TempFolder::Read(file);
    ASSERT_EQ(bytes.size(), 5000u);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        ASSERT_EQ(bytes[i], block[i % block.size()]) << "byte " << i;
    }
}

constexpr PatternSelector R = kRandomPattern;
INSTANTIATE_TEST_SUITE_P(Types, PurgeSequenceTest,
                         ::testing::Values(Sequence{0, 1, {R, 0x00}},
                                           Sequence{1, 2, {0xAA, 0x55, 0, 0xAA, 0x55, 0}},
                                           Sequence{2, 1, {0xAA, 0x55, R, 0x0A, 0xF5, R}}));

TEST_F(FilePurgeTest, RefusesBeforeAnyByteIsWritten) {
    const std::string file = folder.Write("keep", "untouched");
    const std::string link = folder.File("link");
    fs::create_symlink(file, link);
    const std::string fifo = folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        int type, clusterSize, passes;
        FileOutcome expected;
    };
    for (const Case& c : {Case{file, 3, 4096, 1, FileOutcome::InvalidPurgeType},
                          Case{file, 0, 4096, 0, FileOutcome::InvalidNumberOfPasses},
                          Case{file, 0, 1000, 1, FileOutcome::InvalidClusterSize},
                          Case{file, 0, 1536 + (64 << 20), 1, FileOutcome::InvalidClusterSize},
                          Case{"", 0, 4096, 1, FileOutcome::EmptyFileName},
                          // gone before the purge: not a file that failed to open
                          Case{folder.File("missing"), 0, 4096, 1, FileOutcome::FileChanged},
                          Case{link, 0, 4096, 1, FileOutcome::SymbolicLink},
                          Case{fifo, 0, 4096, 1, FileOutcome::NotRegularFile},
                          Case{folder.Path(), 0, 4096, 1, FileOutcome::NotRegularFile}}) {
        UseClusterSize(c.clusterSize);
        purger = FilePurger();
        EXPECT_EQ(Purge(c.path, c.type, true, c.passes), c.expected) << c.path << " " << c.type;
    }
    UseClusterSize(4096);
    purger = FilePurger();
    stand.cannotWrite = true;
    EXPECT_EQ(Purge(file, 0, true), FileOutcome::CannotOpenForWriting);
    EXPECT_TRUE(stand.writes.empty());
    EXPECT_EQ(TempFolder::Read(file), "untouched");
    EXPECT_TRUE(fs::is_symlink(link));
}

TEST_F(FilePurgeTest, ReadOnlyAndSystemFilesArePurgedOnlyWhenPermitted) {
    const std::string readOnly = folder.Write("ro", "secret");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    EXPECT_EQ(Purge(readOnly, 1, false, 1, false), FileOutcome::ReadOnlyNotPermitted);
    EXPECT_EQ(fs::status(readOnly).permissions() & fs::perms::owner_write, fs::perms::none);
    stand.systemFolders = {folder.Path()};
    const std::string system = folder.Write("sys", "secret");
    ::chmod(system.c_str(), 0444);
    EXPECT_EQ(Purge(system, 1, true, 1, true, false), FileOutcome::SystemNotPermitted);
    EXPECT_EQ(fs::status(system).permissions(), fs::perms{0444});
    EXPECT_TRUE(stand.writes.empty());
    EXPECT_EQ(TempFolder::Read(readOnly) + TempFolder::Read(system), "secretsecret");

    EXPECT_EQ(Purge(readOnly, 1, false, 1, true, true), FileOutcome::Ok);
    EXPECT_EQ(TempFolder::Read(readOnly), std::string(6, '\0'));
}

TEST_F(FilePurgeTest, DeleteIsTriedFourTimesAndAVanishedFileCountsAsDeleted) {
    struct Case {
        int failures;
        bool removedUnderneath;
        FileOutcome expected;
        int calls;
    };
    for (const Case c :
         {Case{0, false, FileOutcome::Ok, 1}, Case{1, true, FileOutcome::Ok, 1},
          Case{3, false, FileOutcome::Ok, 4}, Case{9, false, FileOutcome::NotDeleted, 4}}) {
        SCOPED_TRACE(c.failures);
        const std::string file = folder.Write("gone", "secret");
        stand = {};
        stand.removeFailures = c.failures;
        stand.removedUnderneath = c.removedUnderneath;
        EXPECT_EQ(Purge(file, 1, true), c.expected);
        EXPECT_EQ(stand.removeCalls, c.calls);
        EXPECT_EQ(stand.sleeps, c.calls - 1);
        EXPECT_EQ(fs::exists(file), c.expected != FileOutcome::Ok);
    }
}

// A read-only file left by a failure is read-only again.
TEST_F(FilePurgeTest, WriteAndFlushFailuresAreNeverReportedAsPurged) {
    const std::string file = folder.Write("fail", "secret");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    stand.writeError = ENOSPC;
    EXPECT_EQ(Purge(file, 2, true), FileOutcome::WriteFailed);
    EXPECT_EQ(stand.writes.size(), 1u);
    stand.writeError = 0;
    stand.flushError = EIO;
    EXPECT_EQ(Purge(file, 2, true), FileOutcome::FlushFailed);
    EXPECT_EQ(stand.flushes, 1);
    EXPECT_EQ(stand.removeCalls, 0);
    EXPECT_EQ(fs::status(file).permissions(), fs::perms{0444});
}

// A folder held open cannot be redirected: a name in it that now leads to another file
// is not removed, and a folder that is a link is not opened as one.
TEST_F(FilePurgeTest, FolderSwappedForALinkLeadsNowhere) {
    fs::create_directories(folder.File("outside"));
    const std::string outside = folder.Write("outside/f", "keep");
    fs::create_directory_symlink(folder.File("outside"), folder.File("swapped"));
    const std::string file = folder.Write("f", "secret");
    const FileStatus other = platform::Sys().StatNoFollow(outside);
    UniqueFd held;
    FileStatus heldStatus;
    ASSERT_FALSE(platform::Sys().OpenFolder(AT_FDCWD, folder.Path(), held, heldStatus));
    EXPECT_EQ(platform::Sys().RemoveAt(held.Get(), "f", other), platform::SystemError(ESTALE));
    EXPECT_EQ(platform::Sys().OpenFolder(AT_FDCWD, folder.File("swapped"), held, heldStatus),
              std::errc::not_a_directory);
    EXPECT_EQ(TempFolder::Read(outside) + TempFolder::Read(file), "keepsecret");
}

TEST_F(FilePurgeTest, AFileWithOtherNamesIsRefusedUnlessAllowed) {
    const std::string file = folder.Write("linked", "shared data");
    fs::create_directories(folder.File("elsewhere"));
    fs::create_hard_link(file, folder.File("elsewhere/other-name"));
    EXPECT_EQ(Purge(file, 1, true), FileOutcome::HardLinks);
    EXPECT_TRUE(stand.writes.empty());
    EXPECT_EQ(TempFolder::Read(folder.File("elsewhere/other-name")), "shared data");
    allowHardLinks = true;
    EXPECT_EQ(Purge(file, 1, true), FileOutcome::Ok);
    EXPECT_FALSE(fs::exists(file));
}

// A file swapped for a link right after the purge looked at it: the mode change, the
// overwrite and the delete stay with the file looked at, never the link's target.
TEST_F(FilePurgeTest, ALinkSwappedInAfterTheLookLeadsNowhere) {
    const std::string outside = folder.Write("outside", "outside bytes");
    ::chmod(outside.c_str(), 0444);
    const std::string file = folder.Write("ro", "secret");
    ::chmod(file.c_str(), 0444);
    stand.afterLook = [&] {
        if (fs::is_symlink(file)) {
            return;
        }
        fs::rename(file, folder.File("moved"));
        fs::create_symlink(outside, file);
    };
    Purge(file, 1, true);
    EXPECT_EQ(fs::status(outside).permissions(), fs::perms{0444});
    EXPECT_EQ(TempFolder::Read(outside), "outside bytes");
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(TempFolder::Read(folder.File("moved")), std::string(6, '\0'));
}

// A file written to while it is purged, even within the cluster after the overwrites'
// end: what was appended was never overwritten, so the file is not called purged, and it
// is kept at its grown size, in a batch as alone.
TEST_F(FilePurgeTest, AFileThatGrowsDuringThePurgeIsNotCalledPurgedAloneOrBatched) {
    for (const bool batched : {false, true}) {
        SCOPED_TRACE(batched ? "in a batch" : "alone");
        stand = {};
        folder.Write("growing", std::string(100, 'M'));
        // Through the purge's own descriptor: another open of ours would break its lease.
        stand.onFlush = [](int fd) { ASSERT_EQ(::pwrite(fd, "GG", 2, 4096), 2); };
        EXPECT_EQ(PurgeAloneOrBatched("growing", {.purgeType = 1}, batched),
                  FileOutcome::GrewDuringPurge);
        EXPECT_EQ(fs::file_size(folder.File("growing")), 4098u);
    }
}

// A file replaced between passes: the later passes stay with the file first opened,
// and the replacement is neither overwritten nor deleted.
TEST_F(FilePurgeTest, AReplacementBetweenPassesIsLeftAlone) {
    const std::string file = folder.Write("data", "original");
    hooks.betweenPasses = [&](int) {
        folder.Write("new", "replacement");
        fs::rename(folder.File("new"), file);
        return true;
    };
    EXPECT_NE(Purge(file, 0, true, 3), FileOutcome::Ok);
    EXPECT_EQ(TempFolder::Read(file), "replacement");
    EXPECT_EQ(stand.flushes, 6);
}

// After a failed delete the size is set back on the overwritten file itself: a file
// saved under its name meanwhile is not cut.
TEST_F(FilePurgeTest, AFailedDeleteNeverShortensAFileSavedUnderTheName) {
    const std::string file = folder.Write("doc", "short");
    stand.removeFailures = 9;
    stand.renameError = EPERM;  // keeps the name, so that a new file can take it
    bool replaced = false;
    stand.onRemoveFailure = [&] {
        if (std::exchange(replaced, true)) {
            return;
        }
        fs::remove(file);
        folder.Write("doc", "someone's much longer document");
    };
    EXPECT_EQ(Purge(file, 1, true), FileOutcome::NotDeleted);
    EXPECT_EQ(TempFolder::Read(file), "someone's much longer document");
}

TEST_F(FilePurgeTest, AStopBetweenWriteRunsKeepsTheFileAndItsSize) {
    const std::string file = folder.Write("huge", "small on disk");
    stand.reportedSize = 100 << 20;
    stand.passWrites = false;
    hooks.stopRequested = [&] { return !stand.writes.empty(); };
    EXPECT_EQ(Purge(file, 1, true), FileOutcome::PartlyOverwritten);
    EXPECT_EQ(stand.writes.size(), 1u);
    EXPECT_EQ(stand.removeCalls, 0);
    EXPECT_TRUE(fs::exists(file));
}

// The name goes too: a random one of the same length, then the unlink, then one flush
// of the folder.
TEST_F(FilePurgeTest, TheNameIsScrubbedBeforeTheUnlink) {
    const std::string file = folder.Write("tax-2025-divorce.pdf", "secret");
    EXPECT_EQ(Purge(file, 1, true), FileOutcome::Ok);
    ASSERT_EQ(stand.renames.size(), 1u);
    EXPECT_EQ(stand.renames[0].size(), std::string("tax-2025-divorce.pdf").size());
    EXPECT_NE(stand.renames[0], "tax-2025-divorce.pdf");
    EXPECT_EQ(stand.folderSyncs, 1);
    EXPECT_TRUE(fs::is_empty(folder.Path()));
}

// Another program cuts the file while it is purged: the blocks it let go keep whatever
// they held, so the file is not called purged, and it is kept at the size it was cut to.
TEST_F(FilePurgeTest, AFileCutDuringThePurgeIsNotCalledPurged) {
    struct Case {
        const char* what;
        std::function<void(int fd)> cut;
        std::int64_t sizeAfter;
    };
    const Case cases[] = {
        // shorter, in a cluster that stays allocated: only the size shows it
        {"truncated", [](int fd) { ASSERT_EQ(::ftruncate(fd, 10000), 0); }, 10000},
        // same size, fewer blocks: only the allocation shows it
        {"hole punched",
         [](int fd) {
             ASSERT_EQ(::fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, 0, 8192), 0);
         },
         12288}};
    for (const Case& c : cases) {
        for (const bool batched : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (batched ? " in a batch" : " alone"));
            folder.Write("cut", std::string(12000, 'M'));
            stand = {};
            stand.onFlush = c.cut;
            EXPECT_EQ(PurgeAloneOrBatched("cut", {.purgeType = 1, .passes = 2}, batched),
                      FileOutcome::ShrankDuringPurge);
            EXPECT_EQ(stand.removeCalls, 0);
            EXPECT_EQ(stand.Overwrites().size(), 1u);
            EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(folder.File("cut"))), c.sizeAfter);
        }
    }
}

// A sparse file far larger than its volume: only the clusters that hold data are
// written (the last one with its slack), the holes stay holes, and the file keeps its
// length.
TEST_F(FilePurgeTest, ASparseFileKeepsItsHoles) {
    const std::string file = SparseFile({{0, "first extent"}, {kGiB, "last extent"}});
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    if (before.st_blocks * 512 > (1 << 20)) {
        GTEST_SKIP() << "the file system allocates holes";
    }
    for (const bool batched : {false, true}) {
        SCOPED_TRACE(batched ? "in a batch" : "alone");
        stand = {};
        stand.bytesAllowed = 1 << 20;
        ASSERT_EQ(PurgeAloneOrBatched("sparse", {.deleteFile = false}, batched), FileOutcome::Ok);
        ASSERT_EQ(stand.writes.size(), 4u);
        for (std::size_t i = 0; i < stand.writes.size(); i += 2) {
            EXPECT_EQ(stand.writes[i].offset, 0);
            EXPECT_EQ(stand.writes[i].size, 4096);
            EXPECT_EQ(stand.writes[i + 1].offset, kGiB);
            EXPECT_EQ(stand.writes[i + 1].size, 4096);
        }
        struct stat after {};
        ASSERT_EQ(::stat(file.c_str(), &after), 0);
        EXPECT_EQ(after.st_size, kGiB + 11);
        EXPECT_LE(after.st_blocks, before.st_blocks + 16);
        UniqueFd fd(::open(file.c_str(), O_RDONLY));
        char head[12] = {1}, tail[11] = {1};
        ASSERT_EQ(::pread(fd.Get(), head, sizeof head, 0), 12);
        ASSERT_EQ(::pread(fd.Get(), tail, sizeof tail, kGiB), 11);
        EXPECT_EQ(std::string(head, 12) + std::string(tail, 11), std::string(23, '\0'));
    }
}

// A file system may report data runs that do not begin or end on a cluster: every
// overwrite still covers the whole clusters that hold them.
TEST_F(FilePurgeTest, DataRunsOffTheClusterGridAreWidenedToWholeClusters) {
    const std::string file = SparseFile({{5000, "data"}, {20006, "tail"}});
    stand.dataRuns = {{5000, 5100}, {20000, 20010}};
    EXPECT_EQ(Purge(file, 0, false), FileOutcome::Ok);
    ASSERT_FALSE(stand.writes.empty());
    for (const auto& write : stand.writes) {
        EXPECT_TRUE(write.size == 4096 && (write.offset == 4096 || write.offset == 16384))
            << write.offset << "+" << write.size;
    }
}

// Only the slack is written, with every overwrite of every pass; the data, the size,
// the times and the name stay, whatever the delete option says.
TEST_F(FilePurgeTest, SlackOnlyLeavesTheFileAsItWas) {
    struct Case {
        std::int64_t size, writeBegin;
    };
    // The data of the last cluster is written back with its slack, as it was.
    for (const Case c : {Case{5000, 4096}, Case{8192, -1}, Case{0, -1}}) {
        for (const bool batched : {false, true}) {
            SCOPED_TRACE(std::to_string(c.size) + (batched ? " in a batch" : " alone"));
            const std::string data(c.size, 'D');
            const std::string file = folder.Write("keep", data);
            const timespec old[2] = {{1000000000, 5}, {1000000000, 7}};
            ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), old, 0), 0);
            stand = {};
            const PurgeRequest request{.purgeType = 1, .passes = 2, .slackOnly = true};
            ASSERT_EQ(PurgeAloneOrBatched("keep", request, batched), FileOutcome::Ok);
            ASSERT_EQ(TempFolder::Read(file), data);
            EXPECT_EQ(stand.removeCalls, 0);
            EXPECT_EQ(stand.writes.size(), c.writeBegin < 0 ? 0u : 6u);
            for (const auto& write : stand.writes) {
                EXPECT_EQ(write.offset, c.writeBegin);
                EXPECT_EQ(write.offset + write.size, 8192);
                EXPECT_EQ(write.head, std::string(kHead, 'D'));
            }
            struct stat after {};
            ASSERT_EQ(::stat(file.c_str(), &after), 0);
            EXPECT_EQ(after.st_mtim.tv_sec, old[1].tv_sec);
            EXPECT_EQ(after.st_mtim.tv_nsec, old[1].tv_nsec);
        }
    }
}

// A file that stays after its overwrites (kept by request, or its delete failed) looks as
// before to anyone who lists it: same size, same times to the nanosecond, read-only again.
TEST_F(FilePurgeTest, AFileThatStaysGetsItsSizeTimesAndModeBack) {
    const std::string file = folder.File("kept");
    const timespec old[2] = {{1000000000, 123456789}, {1100000000, 987654321}};
    for (const bool batched : {false, true}) {
        for (const bool deleteFails : {false, true}) {
            SCOPED_TRACE(std::string(batched ? "batched" : "alone") +
                         (deleteFails ? ", delete failed" : ", kept"));
            fs::remove(file);  // the last one's mode would refuse the write
            folder.Write("kept", std::string(100, 'x'));
            ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), old, 0), 0);
            ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
            stand = {};
            stand.removeFailures = deleteFails ? 99 : 0;
            EXPECT_EQ(PurgeAloneOrBatched("kept", {.deleteFile = deleteFails}, batched),
                      deleteFails ? FileOutcome::NotDeleted : FileOutcome::Ok);
            struct stat after {};
            ASSERT_EQ(::stat(file.c_str(), &after), 0);
            EXPECT_EQ(after.st_size, 100);
            EXPECT_EQ(after.st_mode & 07777, 0444u);
            EXPECT_EQ(after.st_atim.tv_sec, old[0].tv_sec);
            EXPECT_EQ(after.st_atim.tv_nsec, old[0].tv_nsec);
            EXPECT_EQ(after.st_mtim.tv_sec, old[1].tv_sec);
            EXPECT_EQ(after.st_mtim.tv_nsec, old[1].tv_nsec);
        }
    }
}

// Leases are per open file: another process (or another open of the same file) makes
// the kernel refuse one, and a later open by another process breaks it.
class FileInUseTest : public FilePurgeTest {
  protected:
    void SetUp() override {
        FilePurgeTest::SetUp();
        file = folder.Write("busy", std::string(100, 'M'));
        UniqueFd fd(::open(file.c_str(), O_WRONLY));
        if (platform::Sys().TakeWriteLease(fd.Get())) {
            GTEST_SKIP() << "no leases on this file system";
        }
    }

    // Another process opens the file once the purge's first overwrite is flushed, and
    // waits in the kernel until the purge lets its lease go.
    void OpenElsewhereAtFirstFlush(int flags) {
        stand.onFlush = [this, flags](int fd) {
            child = ::fork();
            if (child == 0) {
                ::_exit(::open(file.c_str(), flags) < 0 ? 1 : 0);
            }
            while (platform::Sys().HeldLease(fd) == platform::LeaseState::Write &&
                   ::waitpid(child, nullptr, WNOHANG) == 0) {
                ::usleep(1000);
            }
        };
    }
    int ChildStatus() const {
        int status = -1;
        ::waitpid(child, &status, 0);
        return status;
    }

    std::string file;
    pid_t child = -1;
};

TEST_F(FileInUseTest, AFileHeldOpenElsewhereIsNotWritten) {
    ::chmod(file.c_str(), 0444);
    UniqueFd other(::open(file.c_str(), O_RDONLY));
    for (const bool batched : {false, true}) {
        SCOPED_TRACE(batched ? "in a batch" : "alone");
        EXPECT_EQ(PurgeAloneOrBatched("busy", {}, batched), FileOutcome::InUse);
        EXPECT_TRUE(stand.writes.empty());
        EXPECT_EQ(fs::status(file).permissions(), fs::perms{0444});
        EXPECT_EQ(TempFolder::Read(file), std::string(100, 'M'));
    }
}

TEST_F(FileInUseTest, AWriterThatOpensDuringThePurgeStopsItAReaderDoesNot) {
    for (const bool batched : {false, true}) {
        SCOPED_TRACE(batched ? "in a batch" : "alone");
        stand = {};
        OpenElsewhereAtFirstFlush(O_WRONLY);
        EXPECT_EQ(PurgeAloneOrBatched("busy", {.purgeType = 1}, batched),
                  FileOutcome::OpenedForWritingDuringPurge);
        EXPECT_EQ(ChildStatus(), 0);
        EXPECT_EQ(stand.Overwrites().size(), 1u);
        EXPECT_EQ(fs::file_size(file), 100u);
    }
    stand = {};
    OpenElsewhereAtFirstFlush(O_RDONLY);
    EXPECT_EQ(Purge(file, 1, true), FileOutcome::Ok);
    EXPECT_EQ(ChildStatus(), 0);
    EXPECT_FALSE(fs::exists(file));
}

}  // namespace
}  // namespace vorlane
