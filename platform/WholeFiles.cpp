#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Platform.h"

namespace vorlane::platform {

namespace {

std::error_code ReadAll(int fd, std::string& out, std::size_t maxBytes) {
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SystemError(errno);
        }
        if (got == 0) {
            return {};
        }
        if (out.size() + static_cast<std::size_t>(got) > maxBytes) {
            return SystemError(EFBIG);
        }
        out.append(buffer, static_cast<std::size_t>(got));
    }
}

std::error_code WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return SystemError(errno);
        }
        done += static_cast<std::size_t>(put);
    }
    return {};
}

// Reads what an open descriptor holds, only when it is a regular file (a folder says
// EISDIR, anything else EINVAL); nothing is kept of a failed read.
std::error_code ReadRegular(int rawFd, std::string& out, std::size_t maxBytes) {
    UniqueFd fd(rawFd);
    if (!fd.Valid()) {
        return SystemError(errno);
    }
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0) {
        return SystemError(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return SystemError(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    }
    const std::error_code error = ReadAll(fd.Get(), out, maxBytes);
    if (error) {
        out.clear();
    }
    return error;
}

}  // namespace

std::error_code Platform::ReadWholeFile(const std::string& path, std::string& out,
                                        std::size_t maxBytes) const {
    out.clear();
    // O_NONBLOCK keeps a FIFO from hanging the open; it is refused just below.
    return ReadRegular(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK), out, maxBytes);
}

std::error_code Platform::WriteWholeFile(const std::string& path, const std::string& bytes) const {
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.Valid()) {
        return SystemError(errno);
    }
    const std::error_code error = WriteAll(fd.Get(), bytes);
    const std::error_code closeError = fd.Reset();
    return error ? error : closeError;
}

// 0700: the folder is ours alone, so nobody can plant a name in it while it is used.
std::error_code Platform::CreateFolderAt(int folderFd, const std::string& name) const {
    return ::mkdirat(folderFd, name.c_str(), 0700) == 0 ? std::error_code() : SystemError(errno);
}

// O_EXCL with O_NOFOLLOW: a name someone else made, a link above all, is never opened.
std::error_code Platform::CreateFileAt(int folderFd, const std::string& name, UniqueFd& out) const {
    UniqueFd fd(::openat(folderFd, name.c_str(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.Valid()) {
        return SystemError(errno);
    }
    out = std::move(fd);
    return {};
}

std::error_code Platform::ReadFileAt(int folderFd, const std::string& name, std::string& out,
                                     std::size_t maxBytes) const {
    out.clear();
    // O_NONBLOCK keeps a FIFO from hanging the open; it is refused just below.
    return ReadRegular(
        ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC), out,
        maxBytes);
}

}  // namespace vorlane::platform
