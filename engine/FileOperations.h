#pragma once
// File procedures shared by the purge, the listing and the speed test. Paths are
// full paths; nothing here follows a symbolic link.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace vorlane {

// Length in bytes; nothing for a missing file or a link.
std::optional<std::int64_t> FileLength(const std::string& path);
bool FileExists(const std::string& path);
// Day number of the file's local modification date; nothing for a missing file or a
// date beyond the calendar.
std::optional<std::int32_t> FileDateJdn(const std::string& path);
std::string FileDateTimeText(const std::string& path, bool withTime);
// The same from a status already read: nothing for a day beyond the calendar.
std::optional<std::int32_t> DayNumberOf(const platform::FileStatus& status);
std::string DateTimeTextOf(const platform::FileStatus& status, bool withTime);
std::string NextFreeFilePath(const std::string& path);

// The attribute notions of this system: read-only is "owner may not write", system
// is "lies in an operating-system folder".
bool IsReadOnlyFile(const platform::FileStatus& status);

}  // namespace vorlane
