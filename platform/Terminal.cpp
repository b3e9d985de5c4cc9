#include "platform/Terminal.h"

#include "platform/Platform.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <utility>

namespace vorlane::platform {

bool Platform::IsTerminal(int fd) const {
    return ::isatty(fd) == 1;
}

int Platform::TerminalColumns(int fd) const {
    winsize size{};
    return ::ioctl(fd, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

bool IsTerminal(int fd) {
    return SysEnvironment().IsTerminal(fd);
}

int TerminalColumns(int fd) {
    return SysEnvironment().TerminalColumns(fd);
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

}  // namespace vorlane::platform
