// The file calls the purge rests on, against the real system: a write cut short is an
// error, never a silent success, a write interrupted by a signal goes on to its end, and
// nothing but a regular file is ever opened for writing, without blocking on a FIFO.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>

#include "common/TempFolder.h"
#include "platform/Platform.h"

// The system's pwrite, unless a test asks for the answers of a slow write that signals
// interrupt: first part of the bytes, then nothing at all (EINTR) while a handler
// installed without SA_RESTART runs.
namespace {
int writesToInterrupt = 0;
volatile std::sig_atomic_t handled = 0;
void CountSignal(int) {
    handled = handled + 1;
}
}  // namespace

extern "C" ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
    if (writesToInterrupt > 0 && --writesToInterrupt % 2 == 0) {
        ::raise(SIGUSR1);
        errno = EINTR;
        return -1;
    }
    const size_t part = writesToInterrupt > 0 ? size / 3 : size;
    return ::syscall(SYS_pwrite64, fd, data, part, offset);
}

namespace vorlane::platform {
namespace {

using testing::TempFolder;

// Lowers the file-size limit for the test's duration; writes past it stop short.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(FileCalls, AWriteCutShortIsAnError) {
    TempFolder folder;
    const std::string path = folder.Write("data", "");
    UniqueFd fd;
    ASSERT_EQ(Sys().OpenForOverwrite(path, fd), OpenResult::Ok);
    const std::string block(8192, 'x');
    std::error_code error;
    {
        const FileSizeLimit limit(5000);  // the first write is cut at 5,000 bytes
        error = Sys().WriteAt(fd.Get(), 0, block.data(), block.size());
    }
    EXPECT_EQ(error, std::errc::file_too_large);
    EXPECT_EQ(Sys().StatNoFollow(path).size, 5000);
}

TEST(FileCalls, AWriteInterruptedBySignalsIsTakenUpAgain) {
    TempFolder folder;
    const std::string path = folder.Write("data", std::string(9000, 'a'));
    UniqueFd fd;
    ASSERT_EQ(Sys().OpenForOverwrite(path, fd), OpenResult::Ok);
    struct sigaction action {};
    action.sa_handler = CountSignal;  // no SA_RESTART: the kernel would answer EINTR
    struct sigaction saved {};
    ASSERT_EQ(::sigaction(SIGUSR1, &action, &saved), 0);
    handled = 0;
    writesToInterrupt = 4;  // a part, EINTR, a part, EINTR, then the rest
    const std::string block(8192, 'z');
    const std::error_code error = Sys().WriteAt(fd.Get(), 100, block.data(), block.size());
    writesToInterrupt = 0;
    ::sigaction(SIGUSR1, &saved, nullptr);
    EXPECT_FALSE(error) << error.message();
    EXPECT_EQ(handled, 2);
    EXPECT_TRUE(TempFolder::Read(path) == std::string(100, 'a') + block + std::string(708, 'a'));
}

// Opening a FIFO for writing blocks until a reader comes; the purge must refuse it
// first. A hang here ends in the test's timeout.
TEST(FileCalls, AFifoIsRefusedWithoutBlocking) {
    TempFolder folder;
    const std::string fifo = folder.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    UniqueFd fd;
    EXPECT_EQ(Sys().OpenForOverwrite(fifo, fd), OpenResult::NotRegular);
    EXPECT_LT(fd.Get(), 0);

    UniqueFd folderFd;
    FileStatus folderStatus;
    ASSERT_FALSE(Sys().OpenFolder(AT_FDCWD, folder.Path(), folderFd, folderStatus));
    UniqueFd handle;
    FileStatus status;
    ASSERT_FALSE(Sys().OpenEntry(folderFd.Get(), "pipe", handle, status));
    EXPECT_EQ(status.kind, FileKind::Other);
    EXPECT_NE(Sys().ReopenForWriting(handle.Get(), fd), OpenResult::Ok);
}

}  // namespace
}  // namespace vorlane::platform
