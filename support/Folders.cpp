#include "support/Folders.h"

#include <sys/stat.h>

#include <QStandardPaths>
#include <cerrno>
#include <climits>
#include <vector>

#include "platform/Platform.h"
#include "support/Strings.h"

namespace vorlane {

namespace {

using platform::FileKind;
using platform::FolderEntry;
using platform::Platform;
using platform::Sys;

constexpr char kSeparator = kPathSeparator;

// Trailing separators go before a lookup, as lstat or open of "link/" follows the link.
std::string WithoutTrailingSeparators(const std::string& path) {
    return WithoutTrailingSeparator(path);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return WithTrailingSeparator(folder) + name;
}

FileKind KindOf(const std::string& path) {
    return Sys().StatNoFollow(WithoutTrailingSeparators(path)).kind;
}

int ReadFolder(const std::string& folder, std::vector<FolderEntry>& entries,
               std::string& errorText) {
    entries.clear();
    const int error =
        folder.empty() ? ENOENT : Sys().ListFolder(WithoutTrailingSeparators(folder), entries);
    if (error != 0) {
        errorText = Platform::ErrorText(error);
    }
    return error;
}

bool IsFolder(const FolderEntry& entry) {
    return entry.status.kind == FileKind::Directory;
}

// Only a regular file has bytes of its own to purge; a link or a device adds nothing.
double PurgeableBytes(const FolderEntry& entry) {
    return entry.status.kind == FileKind::Regular ? static_cast<double>(entry.status.size) : 0.0;
}

bool MatchesSpec(const FolderEntry& entry, const std::string& fileSpec) {
    return FileSpecMatches(entry.name, fileSpec, false);
}

void OpenUpForOwner(const std::string& folder, mode_t mode) {
    constexpr mode_t kOwnerAll = S_IRUSR | S_IWUSR | S_IXUSR;
    if ((mode & kOwnerAll) != kOwnerAll) {
        Sys().SetMode(folder, (mode & 07777) | kOwnerAll);
    }
}

int DeleteEntry(const std::string& path, const FolderEntry& entry, bool force);

int DeleteTreeBelow(const std::string& folder, mode_t mode, bool force) {
    if (force) {
        OpenUpForOwner(folder, mode);
    }
    std::vector<FolderEntry> entries;
    std::string ignored;
    if (const int error = ReadFolder(folder, entries, ignored); error != 0) {
        return error;
    }
    for (const FolderEntry& entry : entries) {
        if (const int error = DeleteEntry(JoinPath(folder, entry.name), entry, force); error != 0) {
            return error;
        }
    }
    return Sys().RemoveEmptyFolder(folder);
}

int DeleteEntry(const std::string& path, const FolderEntry& entry, bool force) {
    if (IsFolder(entry)) {
        return DeleteTreeBelow(path, entry.status.mode, force);
    }
    const bool readOnly =
        entry.status.kind == FileKind::Regular && (entry.status.mode & S_IWUSR) == 0;
    if (readOnly && !force) {
        return EACCES;
    }
    return Sys().RemoveFile(path);
}

int DeleteTopFolder(const std::string& folder, bool force) {
    if (folder.empty()) {
        return ENOENT;
    }
    if (folder == "/") {
        return EPERM;
    }
    const platform::FileStatus status = Sys().StatNoFollow(folder);
    switch (status.kind) {
        case FileKind::Missing:
            return ENOENT;
        case FileKind::Symlink:
            return Sys().RemoveFile(folder);
        case FileKind::Directory:
            return DeleteTreeBelow(folder, status.mode, force);
        default:
            return ENOTDIR;
    }
}

// Splits "/a/b/c" into "/", "/a", "/a/b", "/a/b/c"; a relative path has no "/" level.
std::vector<std::string> PathLevels(const std::string& path) {
    std::vector<std::string> levels;
    std::string current;
    if (!path.empty() && path.front() == kSeparator) {
        current = "/";
        levels.push_back(current);
    }
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find(kSeparator, start);
        if (end == std::string::npos) {
            end = path.size();
        }
        if (end > start) {
            current = JoinPath(current, path.substr(start, end - start));
            levels.push_back(current);
        }
        start = end + 1;
    }
    return levels;
}

// A link on the way down (such as /var/run) is left to the system to resolve; only the
// last level has to be a real folder.
bool CreateLevel(const std::string& level, bool last) {
    FileKind kind = KindOf(level);
    if (kind == FileKind::Directory || (!last && kind == FileKind::Symlink)) {
        return true;
    }
    if (kind == FileKind::Missing) {
        Sys().CreateFolder(level);
        kind = KindOf(level);
    }
    return kind == FileKind::Directory;
}

}  // namespace

bool FolderIsDirectory(const std::string& path) {
    const std::string trimmed = TrimText(path);
    return !trimmed.empty() && KindOf(trimmed) == FileKind::Directory;
}

bool EntryExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const FileKind kind = KindOf(path);
    return kind != FileKind::Missing && kind != FileKind::Directory;
}

std::string UserDataFilePath(const std::string& fileName, const std::string& subfolderName) {
    std::string base =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
    if (base.empty()) {
        base = "/";
    }
    const std::string folder = JoinPath(base, subfolderName);
    if (!FolderIsDirectory(folder)) {
        CreateFolderPath(folder);
    }
    return JoinPath(folder, fileName);
}

int CountSubfolders(const std::string& folder, std::string& errorText, int& errorCode) {
    errorText.clear();
    std::vector<FolderEntry> entries;
    errorCode = ReadFolder(folder, entries, errorText);
    if (errorCode != 0) {
        return -1;
    }
    int count = 0;
    for (const FolderEntry& entry : entries) {
        count += IsFolder(entry) ? 1 : 0;
    }
    return count;
}

int CountFiles(const std::string& folder, const std::string& fileSpec, bool stopAtFirst,
               std::string& errorText, double& byteSum) {
    std::vector<FolderEntry> entries;
    if (ReadFolder(folder, entries, errorText) != 0) {
        return -1;
    }
    const bool sumRequested = byteSum == -1.0;
    const bool countAll = fileSpec == "*.*" && !sumRequested;
    byteSum = countAll ? byteSum : 0.0;
    int count = 0;
    for (const FolderEntry& entry : entries) {
        if (IsFolder(entry) || !(countAll || MatchesSpec(entry, fileSpec))) {
            continue;
        }
        ++count;
        byteSum += sumRequested ? PurgeableBytes(entry) : 0.0;
        if (stopAtFirst) {
            break;
        }
    }
    return count;
}

void FolderSize(bool top, const std::string& folder, const std::string& fileSpec,
                std::int32_t& count, std::int16_t& limit, bool sumSizes, double& byteSum,
                int& errorFlag) {
    if (top) {
        count = 0;
        byteSum = 0.0;
        errorFlag = 0;
    }
    std::vector<FolderEntry> entries;
    std::string errorText;
    if (ReadFolder(folder, entries, errorText) != 0) {
        errorFlag = 1;
        return;
    }
    for (const FolderEntry& entry : entries) {
        if (IsFolder(entry) || !MatchesSpec(entry, fileSpec)) {
            continue;
        }
        ++count;
        byteSum += sumSizes ? PurgeableBytes(entry) : 0.0;
        if (limit > 0 && count >= limit) {
            limit = -2;
            return;
        }
    }
    for (const FolderEntry& entry : entries) {
        if (errorFlag >= 1 || limit == -2) {
            return;
        }
        if (IsFolder(entry)) {
            FolderSize(false, JoinPath(folder, entry.name), fileSpec, count, limit, sumSizes,
                       byteSum, errorFlag);
        }
    }
}

bool AnyMatchingFileInTree(const std::string& folder, const std::string& fileSpec) {
    std::int32_t count = 0;
    std::int16_t limit = 1;
    double byteSum = 0.0;
    int errorFlag = 0;
    FolderSize(true, folder, fileSpec, count, limit, false, byteSum, errorFlag);
    return limit == -2;
}

bool FolderIsEmpty(const std::string& folder) {
    // One listing answers both questions, and a folder that cannot be read is not
    // known to be empty.
    std::vector<FolderEntry> entries;
    std::string errorText;
    return ReadFolder(folder, entries, errorText) == 0 && entries.empty();
}

bool DeleteFolderTree(const std::string& folder, std::string& errorText, bool force) {
    errorText.clear();
    const int error = DeleteTopFolder(WithoutTrailingSeparators(folder), force);
    if (error != 0) {
        errorText = Platform::ErrorText(error);
    }
    return error == 0;
}

std::string NextFreeFolder(const std::string& basePath, const std::string& namePrefix) {
    for (int n = 1; n < INT_MAX; ++n) {
        const std::string candidate = JoinPath(basePath, namePrefix + std::to_string(n));
        if (KindOf(candidate) != FileKind::Missing) {
            continue;
        }
        return CreateFolderPath(candidate) ? candidate : std::string();
    }
    return {};
}

bool CreateFolderPath(const std::string& path) {
    const std::vector<std::string> levels = PathLevels(path);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (!CreateLevel(levels[i], i + 1 == levels.size())) {
            return false;
        }
    }
    return !levels.empty();
}

}  // namespace vorlane
