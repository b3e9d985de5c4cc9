#include "platform/Terminal.h"

#include "platform/Platform.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <utility>

namespace vorlane::platform {

bool IsTerminal(int fd) {
    return ::isatty(fd) == 1;
}

int TerminalColumns(int fd) {
    winsize size{};
    return ::ioctl(fd, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

namespace {

bool TakeLine(std::string& buffer, std::string& line) {
    const std::size_t end = buffer.find('\n');
    if (end == std::string::npos) {
        return false;
    }
    line = buffer.substr(0, end);
    buffer.erase(0, end + 1);
    return true;
}

}  // namespace

LineRead ReadLine(int fd, int wakeFd, std::string& buffer, std::string& line) {
    while (!TakeLine(buffer, line)) {
        pollfd watched[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        if (::poll(watched, wakeFd >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LineRead::End;
        }
        if (wakeFd >= 0 && (watched[1].revents & POLLIN) != 0) {
            return LineRead::Woken;
        }
        char chunk[4096];
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            if (buffer.empty()) {
                return LineRead::End;
            }
            line = std::exchange(buffer, {});
            return LineRead::Line;
        }
        buffer.append(chunk, static_cast<std::size_t>(got));
    }
    return LineRead::Line;
}

std::optional<std::int64_t> BytesWrittenByProcess() {
    std::string text;
    if (SysFiles().ReadWholeFile("/proc/self/io", text, 4096)) {
        return std::nullopt;
    }
    std::istringstream io(text);
    std::string key;
    std::int64_t value = 0;
    while (io >> key >> value) {
        if (key == "wchar:") {
            return value;
        }
    }
    return std::nullopt;
}

std::string SystemErrorText(std::error_code error) {
    return error.message();
}

std::string FolderProblem(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return SystemErrorText(SystemError(errno));
    }
    if (!S_ISDIR(status.st_mode)) {
        return SystemErrorText(SystemError(ENOTDIR));
    }
    return ::access(path.c_str(), R_OK | X_OK) == 0 ? "" : SystemErrorText(SystemError(errno));
}

std::string ReadProblem(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return SystemErrorText(SystemError(errno));
    }
    struct stat status {};
    const bool folder = ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
    ::close(fd);
    return folder ? SystemErrorText(SystemError(EISDIR)) : "";
}

std::string CreateProblem(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            return SystemErrorText(SystemError(EISDIR));
        }
        return ::access(path.c_str(), W_OK) == 0 ? "" : SystemErrorText(SystemError(errno));
    }
    if (errno != ENOENT) {
        return SystemErrorText(SystemError(errno));
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string problem = FolderProblem(folder);
    if (!problem.empty()) {
        return problem;
    }
    return ::access(folder.c_str(), W_OK) == 0 ? "" : SystemErrorText(SystemError(errno));
}

std::string NameProblem(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? "" : SystemErrorText(SystemError(errno));
}

}  // namespace vorlane::platform
