#include "support/Folders.h"

#include <QStandardPaths>
#include <cerrno>
#include <climits>
#include <vector>

#include "platform/FolderWalk.h"
#include "platform/Platform.h"
#include "support/Strings.h"

namespace vorlane {

namespace {

using platform::FileKind;
using platform::FolderEntry;
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

bool IsFolder(const FolderEntry& entry) {
    return entry.status.kind == FileKind::Directory;
}

// Only a regular file has bytes of its own to purge; a link or a device adds nothing.
double PurgeableBytes(const FolderEntry& entry) {
    return entry.status.kind == FileKind::Regular ? static_cast<double>(entry.status.size) : 0.0;
}

bool MatchesSpec(const FolderEntry& entry, const std::string& fileSpec) {
    return NameMatchesFileSpec(entry.name, fileSpec);
}

// One folder's entries, read through the descriptor of the walk's target; never below it.
class FolderLook : public platform::WalkVisitor {
  public:
    FolderLook(const std::string& fileSpec, bool sumSizes)
        : fileSpec_(fileSpec), sumSizes_(sumSizes) {}

    FolderContents result;

    bool Folder(const platform::WalkFolder&, const std::vector<FolderEntry>& entries) override {
        read_ = true;
        const bool countAll = fileSpec_ == kAllFiles && !sumSizes_;
        for (const FolderEntry& entry : entries) {
            if (IsFolder(entry)) {
                ++result.subfolders;
            } else if (countAll || MatchesSpec(entry, fileSpec_)) {
                ++result.files;
                result.bytes += sumSizes_ ? PurgeableBytes(entry) : 0.0;
            }
        }
        return true;
    }
    bool WantSubfolder(const platform::WalkFolder&, const FolderEntry&) override { return false; }
    bool Refused(const std::string&, platform::FolderRefusal, std::error_code why) override {
        if (!read_) {
            result = {.error = why};  // the folder itself: an entry's own error is its own
        }
        return read_;
    }

  private:
    const std::string& fileSpec_;
    bool sumSizes_;
    bool read_ = false;
};

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
        // Made by someone else meanwhile is as good: the look that follows decides.
        (void)Sys().CreateFolder(level);
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

FolderContents LookIntoFolder(const std::string& folder, const std::string& fileSpec,
                              bool sumSizes) {
    FolderLook look(fileSpec, sumSizes);
    const std::error_code error =
        folder.empty() ? platform::SystemError(ENOENT)
                       : platform::WalkTree(WithoutTrailingSeparators(folder), look, {});
    if (error) {
        look.result = {.error = error};
    }
    return look.result;
}

bool FolderIsEmpty(const std::string& folder) {
    // One listing answers both questions, and a folder that cannot be read is not
    // known to be empty.
    const FolderContents contents = LookIntoFolder(folder, std::string(kAllFiles));
    return !contents.error && contents.files == 0 && contents.subfolders == 0;
}

bool NameMatchesFileSpec(const std::string& name, const std::string& fileSpec) {
    // A name is kept as typed, blanks and all: Linux names are bytes.
    if (!HasWildcard(fileSpec) && !TrimText(fileSpec).empty()) {
        return name == fileSpec;
    }
    return FileSpecMatches(name, fileSpec, false);
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
