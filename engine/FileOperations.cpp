#include "engine/FileOperations.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/MountTable.h"
#include "support/Dates.h"

namespace vorlane {
namespace {

using platform::FileKind;
using platform::OpenResult;
using platform::Sys;
using platform::UniqueFd;

bool Exists(const platform::FileStatus& status) {
    return status.kind != FileKind::Missing;
}

std::string FormatLocalTime(const std::tm& local, const char* format) {
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, format, &local);
    return std::string(text, length);
}

}  // namespace

std::optional<std::int64_t> FileLength(const std::string& path) {
    const auto status = Sys().StatNoFollow(path);
    if (status.kind == FileKind::Missing || status.kind == FileKind::Symlink) {
        return std::nullopt;
    }
    return status.size;
}

bool FileExists(const std::string& path) {
    const auto kind = Sys().StatNoFollow(path).kind;
    return kind != FileKind::Missing && kind != FileKind::Directory;
}

std::optional<std::int32_t> DayNumberOf(const platform::FileStatus& status) {
    const std::tm local = Sys().LocalTime(status.times.modification.tv_sec);
    const std::int32_t jdn = DateToJdn(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    // A date beyond the calendar's range must not pass for one before every restriction.
    if (jdn == kInvalidJdn) {
        return std::nullopt;
    }
    return jdn;
}

std::string DateTimeTextOf(const platform::FileStatus& status, bool withTime) {
    const std::tm local = Sys().LocalTime(status.times.modification.tv_sec);
    return FormatLocalTime(local, withTime ? "%x %X" : "%x");
}

std::optional<std::int32_t> FileDateJdn(const std::string& path) {
    const auto status = Sys().StatNoFollow(path);
    return Exists(status) ? DayNumberOf(status) : std::nullopt;
}

std::string FileDateTimeText(const std::string& path, bool withTime) {
    const auto status = Sys().StatNoFollow(path);
    if (path.empty() || !Exists(status)) {
        return {};
    }
    return DateTimeTextOf(status, withTime);
}

std::string NextFreeFilePath(const std::string& path) {
    for (long number = 1;; ++number) {
        std::string candidate = path + std::to_string(number);
        if (!Exists(Sys().StatNoFollow(candidate))) {
            return candidate;
        }
    }
}

bool IsReadOnlyFile(const platform::FileStatus& status) {
    return (status.mode & S_IWUSR) == 0;
}

}  // namespace vorlane
