#include "platform/Streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Platform.h"

namespace vorlane::platform {

std::error_code ReadToEnd(int fd, std::string& out) {
    out.clear();
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return SystemError(errno);
        }
        if (got == 0) {
            return {};
        }
        out.append(chunk, static_cast<std::size_t>(got));
    }
}

std::error_code ReadToEnd(const std::string& path, std::string& out) {
    out.clear();
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
        return SystemError(errno);
    }
    return ReadToEnd(fd.Get(), out);
}

}  // namespace vorlane::platform
