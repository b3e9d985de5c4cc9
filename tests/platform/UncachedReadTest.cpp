// The read-back past the page cache, on files written with known bytes.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "common/TempFolder.h"
#include "platform/Platform.h"

namespace vorlane::testing {
namespace {

using platform::Sys;
using platform::UniqueFd;

std::string Known(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    }
    return bytes;
}

// Write-only, as the purge holds its files.
UniqueFd OpenForWriting(const std::string& path) {
    return UniqueFd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
}

// Spans that start and end off the device's blocks, and reads past the end of the file.
TEST(UncachedReadTest, ReadsTheBytesAskedForWhereverTheyLie) {
    TempFolder folder;
    const std::string bytes = Known(10000);
    const UniqueFd fd = OpenForWriting(folder.Write("known", bytes));
    ASSERT_TRUE(fd.Valid());
    struct Case {
        std::int64_t offset;
        std::size_t size;
        std::string expected;
    };
    for (const Case& c :
         {Case{0, 10000, bytes}, Case{4000, 5000, bytes.substr(4000, 5000)},
          Case{4095, 2, bytes.substr(4095, 2)}, Case{9000, 5000, bytes.substr(9000)},
          Case{20000, 10, ""}, Case{5, 0, ""}}) {
        SCOPED_TRACE(c.offset);
        std::string out = "stale";
        const std::error_code error = Sys().ReadUncached(fd.Get(), c.offset, c.size, out);
        if (error == std::errc::not_supported) {
            GTEST_SKIP() << "this file system offers no read past its cache";
        }
        ASSERT_FALSE(error) << error.message();
        EXPECT_EQ(out, c.expected);
    }
}

// On tmpfs the cache is the storage: no read can bypass it, so nothing is verified.
TEST(UncachedReadTest, SaysItCannotVerifyWhereTheCacheIsTheStorage) {
    TempFolder folder;
    const std::string mount = folder.File("ram");
    std::filesystem::create_directory(mount);
    if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=1m") != 0) {
        GTEST_SKIP() << "cannot mount tmpfs here (needs root)";
    }
    std::error_code error;
    std::string out;
    {
        const UniqueFd fd = OpenForWriting(folder.Write("ram/known", Known(8192)));
        error = Sys().ReadUncached(fd.Get(), 0, 8192, out);
    }
    ::umount2(mount.c_str(), MNT_DETACH);
    EXPECT_EQ(error, std::errc::not_supported);
}

}  // namespace
}  // namespace vorlane::testing
