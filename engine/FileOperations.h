#pragma once
// File procedures shared by the purge, the listing and the speed test. Paths are
// full paths; nothing here follows a symbolic link.

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace vorlane {

// Length in bytes, or the negated errno when the file cannot be examined.
std::int64_t FileLength(const std::string& path);
// 0 when the file's data reached the device, -1 otherwise.
int FlushFile(const std::string& path);
// 0 on success, negative on failure.
int ChangeFileSize(const std::string& path, std::int64_t newSize);
// 0 success; -1 the file cannot be opened; -2 the time query fails.
int GetFileTimes(const std::string& path, platform::FileTimes& times);
// 0 success; -3 the file cannot be opened; -4 the time update fails.
int SetFileTimes(const std::string& path, const platform::FileTimes& times);
bool DeleteFileWithRetry(const std::string& path, bool clearHidden, bool clearReadOnly,
                         bool clearSystem);
bool FileExists(const std::string& path);
bool CannotOpenFile(const std::string& path);
// Day number of the file's local modification date; -1 and errorNumber on error.
std::int32_t FileDateJdn(const std::string& path, int& errorNumber);
std::string FileDateTimeText(const std::string& path, bool withTime);
// The same from a status already read: -1 for a day beyond the calendar.
std::int32_t DayNumberOf(const platform::FileStatus& status);
std::string DateTimeTextOf(const platform::FileStatus& status, bool withTime);
std::string NextFreeFilePath(const std::string& path);

// The attribute notions of this system: read-only is "owner may not write", hidden
// is a leading dot, system is "lies in an operating-system folder".
bool IsReadOnlyFile(const platform::FileStatus& status);
bool IsHiddenName(const std::string& path);
// The same for a path whose folders are resolved already: no lookup on the disk.
bool IsSystemPath(const std::string& resolvedPath);
int ClearReadOnly(const std::string& path);

}  // namespace vorlane
