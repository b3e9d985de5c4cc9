// A read of what the device holds, not of what the page cache remembers: a device that
// acknowledges writes and keeps nothing (a failing USB stick, a lying cache) passes
// every read that the cache can answer.

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/Platform.h"

namespace vorlane::platform {
namespace {

// O_DIRECT wants buffer, offset and length aligned to the device's logical block: 4096
// covers blocks of 512 and 4096 bytes alike.
constexpr std::int64_t kDirectAlignment = 4096;

struct Span {
    std::int64_t start;  // aligned down
    std::size_t length;  // aligned up
    std::size_t skip;    // from start to the first byte asked for
};

Span AlignedSpan(std::int64_t offset, std::size_t size, std::int64_t alignment) {
    const std::int64_t start = offset / alignment * alignment;
    const std::int64_t end =
        (offset + static_cast<std::int64_t>(size) + alignment - 1) / alignment * alignment;
    return {start, static_cast<std::size_t>(end - start), static_cast<std::size_t>(offset - start)};
}

// A descriptor of the same inode, opened anew with `flags` (the purge's own may be
// write-only, and O_DIRECT is a property of the open file).
UniqueFd Reopen(int fd, int flags) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return UniqueFd(::open(self.c_str(), flags | O_CLOEXEC));
}

// Reads the span into buffer; stops at the end of the file. The number of bytes read.
std::error_code ReadSpan(int fd, const Span& span, char* buffer, std::size_t& got) {
    got = 0;
    while (got < span.length) {
        const ssize_t n = ::pread(fd, buffer + got, span.length - got,
                                  span.start + static_cast<std::int64_t>(got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return SystemError(errno);
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return {};
}

void Extract(const char* buffer, std::size_t got, const Span& span, std::size_t size,
             std::string& out) {
    out.assign(buffer + std::min(span.skip, got),
               got > span.skip ? std::min(size, got - span.skip) : 0);
}

// An aligned buffer kept for the thread's next read: a read-back calls once per write run
// of several MiB, and fresh pages for each would cost more than the copy out of them.
char* AlignedBuffer(std::size_t length) {
    thread_local std::unique_ptr<char, decltype(&std::free)> kept(nullptr, &std::free);
    thread_local std::size_t keptLength = 0;
    if (keptLength < length) {
        kept.reset();
        keptLength = 0;
        void* raw = nullptr;
        if (::posix_memalign(&raw, kDirectAlignment, length) != 0) {
            return nullptr;
        }
        kept.reset(static_cast<char*>(raw));
        keptLength = length;
    }
    return kept.get();
}

std::error_code ReadDirect(int direct, std::int64_t offset, std::size_t size, std::string& out) {
    const Span span = AlignedSpan(offset, size, kDirectAlignment);
    char* buffer = AlignedBuffer(span.length);
    if (buffer == nullptr) {
        return SystemError(ENOMEM);
    }
    std::size_t got = 0;
    if (const std::error_code error = ReadSpan(direct, span, buffer, got)) {
        return error;
    }
    Extract(buffer, got, span, size, out);
    return {};
}

// True when no page of the span is in the page cache, seen through a mapping of it.
bool NoPageCached(int reader, const Span& span) {
    void* map = ::mmap(nullptr, span.length, PROT_READ, MAP_SHARED, reader, span.start);
    if (map == MAP_FAILED) {
        return false;
    }
    const long page = ::sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> resident((span.length + page - 1) / page);
    const bool seen = ::mincore(map, span.length, resident.data()) == 0;
    ::munmap(map, span.length);
    return seen && std::none_of(resident.begin(), resident.end(),
                                [](unsigned char flags) { return (flags & 1) != 0; });
}

// Where O_DIRECT is refused: flush, ask the kernel to drop the cached pages, and read only
// when a look at the mapping shows that they are really gone (dirty or pinned pages stay,
// and tmpfs keeps its pages: they are its storage).
std::error_code ReadAfterDroppingCache(int fd, std::int64_t offset, std::size_t size,
                                       std::string& out) {
    UniqueFd reader = Reopen(fd, O_RDONLY);
    if (!reader.Valid()) {
        return SystemError(errno);
    }
    if (::fdatasync(reader.Get()) != 0) {
        return SystemError(errno);
    }
    const Span span = AlignedSpan(offset, size, ::sysconf(_SC_PAGESIZE));
    ::posix_fadvise(reader.Get(), span.start, static_cast<off_t>(span.length), POSIX_FADV_DONTNEED);
    if (!NoPageCached(reader.Get(), span)) {
        return SystemError(ENOTSUP);
    }
    std::string buffer(span.length, '\0');
    std::size_t got = 0;
    if (const std::error_code error = ReadSpan(reader.Get(), span, buffer.data(), got)) {
        return error;
    }
    Extract(buffer.data(), got, span, size, out);
    return {};
}

// tmpfs and ramfs keep files in the page cache alone: there is no device to ask, and tmpfs
// takes O_DIRECT (Linux 6.6 on) only to serve it from that same cache.
bool CacheIsTheStorage(int fd) {
    struct statfs volume {};
    return ::fstatfs(fd, &volume) == 0 &&
           (volume.f_type == TMPFS_MAGIC || volume.f_type == RAMFS_MAGIC);
}

}  // namespace

std::error_code Platform::ReadUncached(int fd, std::int64_t offset, std::size_t size,
                                       std::string& out) const {
    out.clear();
    if (offset < 0) {
        return SystemError(EINVAL);
    }
    if (CacheIsTheStorage(fd)) {
        return SystemError(ENOTSUP);
    }
    if (size == 0) {
        return {};
    }
    const UniqueFd direct = Reopen(fd, O_RDONLY | O_DIRECT);
    if (direct.Valid()) {
        // Direct reads go to the device, but first they write back what is still dirty in
        // the cache: the cache's copy is on the device by then, so what comes back is the
        // device's answer.
        const std::error_code error = ReadDirect(direct.Get(), offset, size, out);
        if (error != std::errc::invalid_argument) {
            return error;
        }
    } else if (errno != EINVAL) {
        return SystemError(errno);
    }
    return ReadAfterDroppingCache(fd, offset, size, out);
}

}  // namespace vorlane::platform
