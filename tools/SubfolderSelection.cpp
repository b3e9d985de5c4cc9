#include "tools/SubfolderSelection.h"

#include <algorithm>
#include <cstdint>
#include <set>

#include "engine/ExclusionRules.h"
#include "platform/FolderWalk.h"
#include "platform/Platform.h"
#include "support/Folders.h"
#include "support/Strings.h"
#include "support/UserLocale.h"
#include "tools/FolderTreeSize.h"
#include "tools/SortStrings.h"

namespace vorlane {
namespace {

using platform::FileKind;
using platform::Sys;

constexpr std::int32_t kSizeFileLimit = 200;
constexpr char kIndexMark = '\x1f';  // below every printable character

std::string Counted(int count, const char* one, const char* many) {
    if (count == 0) {
        return std::string("no ") + many;
    }
    return count == 1 ? std::string("1 ") + one : GroupedNumberText(count, 0) + " " + many;
}

bool InTrash(const std::string& path, const std::vector<std::string>& trashFolders) {
    return std::any_of(trashFolders.begin(), trashFolders.end(),
                       [&](const std::string& trash) { return IsSameOrBelow(path, trash); });
}

// A folder on another device than its parent is a mount; only a drive's mount may be
// offered, never /proc, /sys, /dev and their kind.
bool ForeignMount(const std::string& path, const platform::FileStatus& status,
                  const platform::FileStatus& parent, const std::set<std::string>& drives) {
    return status.device != parent.device && !drives.contains(path);
}

// The tree's size; the folder's own files when the walk fails.
void AddTreeSize(const std::string& folder, double ownFiles, SubfolderEntry& entry) {
    const TreeCount tree = FolderSize(folder, std::string(kAllFiles), kSizeFileLimit, true);
    entry.sizeOver = tree.limitReached;
    entry.size = tree.error ? ownFiles : tree.bytes;
}

// The top folder's entries and its own status, both from the one descriptor the walk opens.
struct TopFolderRead : platform::WalkVisitor {
    std::vector<platform::FolderEntry> children;
    platform::FileStatus status;
    std::error_code error;

    std::error_code Run(const std::string& top) {
        const std::error_code opened = platform::WalkTree(WithoutTrailingSeparator(top), *this, {});
        return opened ? opened : error;
    }
    bool Folder(const platform::WalkFolder& folder,
                const std::vector<platform::FolderEntry>& entries) override {
        children = entries;
        status = folder.status;
        return false;  // its subfolders are described one by one
    }
    bool Refused(const std::string&, platform::FolderRefusal, std::error_code why) override {
        error = why;
        return false;
    }
};

}  // namespace

SubfolderEntry DescribeSubfolder(const std::string& folder, const std::string& name, bool noSizes) {
    SubfolderEntry entry;
    entry.name = name;
    const FolderContents contents = LookIntoFolder(folder, std::string(kAllFiles), !noSizes);
    if (contents.error) {
        entry.unreadable = true;
        entry.description = platform::Platform::ErrorText(contents.error);
        return entry;
    }
    entry.empty = contents.files + contents.subfolders == 0;
    entry.size = contents.bytes;
    entry.description = Counted(contents.files, "file", "files") + " and " +
                        Counted(contents.subfolders, "subfolder", "subfolders");
    if (noSizes || entry.empty) {
        return entry;
    }
    if (contents.subfolders > 0) {
        AddTreeSize(folder, entry.size, entry);
    }
    entry.description +=
        ", " + std::string(entry.sizeOver ? "over " : "") + SizeText(entry.size, 2);
    return entry;
}

SubfolderListing ReadSubfolders(const std::string& topFolder, bool noSizes,
                                const std::function<bool(int)>& progress) {
    SubfolderListing listing;
    const std::string top = WithTrailingSeparator(topFolder);
    TopFolderRead topRead;
    if (const std::error_code error = topRead.Run(top)) {
        listing.error = platform::Platform::ErrorText(error);
        return listing;
    }
    const std::vector<platform::FolderEntry>& children = topRead.children;
    const platform::FileStatus& parent = topRead.status;
    std::set<std::string> drives;
    for (const auto& volume : Sys().ListVolumes()) {
        drives.insert(volume.mountPoint);
    }
    const std::vector<std::string> trash = FindProtectedPlaces().trashFolders;
    int read = 0;
    for (const auto& child : children) {
        const std::string path = top + child.name;
        if (child.status.kind != FileKind::Directory || InTrash(path, trash) ||
            ForeignMount(path, child.status, parent, drives)) {
            continue;
        }
        listing.entries.push_back(DescribeSubfolder(path, child.name, noSizes));
        if (progress && !progress(++read)) {
            listing.stopped = true;
            break;
        }
    }
    SortSubfolderEntries(listing.entries);
    return listing;
}

void SortSubfolderEntries(std::vector<SubfolderEntry>& entries) {
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        keys.push_back(entries[i].Text() +
                       std::to_string(static_cast<std::int64_t>(entries[i].size)) + kIndexMark +
                       std::to_string(i));
    }
    SortStrings(keys, 0, static_cast<int>(keys.size()) - 1, true, 1);
    std::vector<SubfolderEntry> sorted;
    sorted.reserve(entries.size());
    for (const std::string& key : keys) {
        sorted.push_back(std::move(entries[std::stoul(key.substr(key.rfind(kIndexMark) + 1))]));
    }
    entries = std::move(sorted);
}

void PreCheck(std::vector<SubfolderEntry>& entries, const std::string& topFolder,
              const std::vector<std::string>& previousSelection) {
    const std::set<std::string> previous(previousSelection.begin(), previousSelection.end());
    const std::string top = WithTrailingSeparator(topFolder);
    for (SubfolderEntry& entry : entries) {
        entry.checked = entry.Checkable() && previous.contains(top + entry.name);
    }
}

bool SetChecked(SubfolderEntry& entry, bool checked) {
    entry.checked = checked && entry.Checkable();
    return entry.checked;
}

void SetAllChecked(std::vector<SubfolderEntry>& entries, bool checked) {
    for (SubfolderEntry& entry : entries) {
        SetChecked(entry, checked);
    }
}

SubfolderPaging PagingFor(int count, int rowsPerPage) {
    SubfolderPaging paging;
    paging.rows = std::min(count, rowsPerPage);
    paging.scrollBar = count > paging.rows;
    paging.scrollMaximum = std::max(count - paging.rows, 0);
    paging.pageStep = std::max(rowsPerPage - 1, 1);
    return paging;
}

SelectionSummary SummariseSelection(const std::vector<SubfolderEntry>& entries, bool withTotal) {
    SelectionSummary summary;
    for (const SubfolderEntry& entry : entries) {
        if (entry.checked) {
            ++summary.checkedCount;
            summary.totalSize += entry.size;
            summary.sizeIsLowerBound = summary.sizeIsLowerBound || entry.sizeOver;
        }
    }
    const int n = summary.checkedCount;
    if (n == 0) {
        summary.text = "No subfolders selected.";
        return summary;
    }
    if (n == 1) {
        summary.text = "One subfolder selected.";
    } else if (n == static_cast<int>(entries.size())) {
        summary.text = "All " + std::to_string(n) + " subfolders selected.";
    } else {
        summary.text = GroupedNumberText(n, 0) + " selected (of " +
                       GroupedNumberText(static_cast<double>(entries.size()), 0) + ").";
    }
    if (withTotal) {
        summary.text += "\nA total of " + std::string(summary.sizeIsLowerBound ? "over " : "") +
                        SizeText(summary.totalSize, 2) + ".";
    }
    return summary;
}

std::vector<std::string> SelectedPaths(const std::string& topFolder,
                                       const std::vector<SubfolderEntry>& entries) {
    std::vector<std::string> paths;
    const std::string top = WithTrailingSeparator(topFolder);
    for (const SubfolderEntry& entry : entries) {
        if (entry.checked) {
            paths.push_back(top + entry.name);
        }
    }
    return paths;
}

}  // namespace vorlane
