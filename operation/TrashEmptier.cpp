#include "operation/TrashEmptier.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "operation/RecursivePurge.h"

namespace vorlane {
namespace {

using platform::FileKind;
using platform::FolderEntry;
using platform::Sys;
using platform::WalkFolder;

// Each batch flushes the whole volume once per overwrite: as few batches as the limits
// of an ordinary purge allow (BatchLimits), and two descriptors per file.
constexpr int kDescriptorsKeptFree = 256;

std::size_t BatchFiles(const BatchLimits& limits) {
    const int room = (Sys().RaiseOpenFileLimit() - kDescriptorsKeptFree) / 2;
    return static_cast<std::size_t>(std::clamp(room, 1, limits.files));
}
constexpr std::size_t kDirectorySizesLimit = 16 << 20;
constexpr const char* kDirectorySizes = "directorysizes";
constexpr std::string_view kInfoSuffix = ".trashinfo";

// Whatever the confirmation's options say, everything in the Trash goes, and the guards
// keep their safe values.
PurgeRequest RequestFor(const OperationChoices& choices) {
    OperationChoices trash = choices;
    trash.options = {.okToPurgeReadOnlyFiles = true, .okToPurgeSystemFiles = true};
    trash.safety = {};
    return PurgeRequestFor(trash);
}

// The folder names of directorysizes are percent-encoded.
std::string PercentDecoded(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            plain += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

// A line "size mtime name": the name, decoded.
std::string FolderNamed(const std::string& line) {
    const std::size_t first = line.find(' ');
    const std::size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
    return second == std::string::npos ? std::string() : PercentDecoded(line.substr(second + 1));
}

bool IsMissing(std::error_code error) {
    return error == std::errc::no_such_file_or_directory;
}

}  // namespace

class TrashEmptier::TreeWalk : public platform::WalkVisitor {
  public:
    TreeWalk(TrashEmptier& emptier, bool fromFiles) : emptier_(emptier), fromFiles_(fromFiles) {}

    bool Folder(const WalkFolder& folder, const std::vector<FolderEntry>& entries) override {
        emptier_.EmptyEntries(folder, entries, fromFiles_);
        return !emptier_.Stopped();
    }
    bool AfterSubfolder(const WalkFolder& parent, const FolderEntry& entry) override {
        // Only an emptied folder goes; one that keeps something stays with it.
        // Refused (ENOTEMPTY and the like) is the expected answer for a folder that kept
        // something, which the report has already named.
        (void)Sys().RemoveFolderAt(parent.fd.Get(), entry.name, entry.status);
        return !emptier_.Stopped();
    }
    bool Refused(const std::string& path, platform::FolderRefusal refusal,
                 std::error_code error) override {
        emptier_.Left("Folder " + path +
                      (refusal == platform::FolderRefusal::OtherVolume
                           ? " is on another volume, not purged."
                           : " cannot be read: " + platform::Platform::ErrorText(error) + "."));
        return !emptier_.Stopped();
    }

  private:
    TrashEmptier& emptier_;
    bool fromFiles_;
};

TrashEmptier::TrashEmptier(const OperationChoices& choices, OperationControl& control)
    : control_(control), request_(RequestFor(choices)) {}

void TrashEmptier::Left(const std::string& line) {
    ++tally_.notPurged;
    tally_.lines.push_back(line);
    if (leftLineObserver_) {
        leftLineObserver_(line);
    }
}

void TrashEmptier::Count(const FileResult& result, const std::string& path, std::int64_t size,
                         bool fromFiles) {
    if (fileEndObserver_) {
        fileEndObserver_(
            {path, size, result, result.Purged(), PassesWritten(result.outcome, request_.passes)});
    }
    switch (result.outcome) {
        case FileOutcome::Ok:
            tally_.purged += fromFiles ? 1 : 0;
            return;
        case FileOutcome::Stopped:
            return;
        case FileOutcome::HardLinks:
            // Its data lives on under the other names: the entry that says where this
            // name came from stays with it.
            Left(path + ": file has other names (hard links), kept with its Trash entry.");
            return;
        default:
            Left(path + OutcomeText(result, OutcomeForm::Report, path));
    }
}

void TrashEmptier::Remove(const WalkFolder& folder, const FolderEntry& entry) {
    // A link, FIFO, socket or device holds no data of its own: its name goes, unfollowed.
    if (const std::error_code error = Sys().RemoveAt(folder.fd.Get(), entry.name, entry.status);
        error && !IsMissing(error)) {
        Left(folder.path + entry.name +
             ": cannot be removed: " + platform::Platform::ErrorText(error) + ".");
    }
}

void TrashEmptier::PurgeFiles(const WalkFolder& folder,
                              const std::vector<const FolderEntry*>& files, bool fromFiles) {
    const BatchLimits limits;
    const std::size_t batchFiles = BatchFiles(limits);
    std::vector<BatchFile> batch;
    std::vector<std::int64_t> sizes;  // of the batch's files, in its order
    std::int64_t batchBytes = 0;
    const auto runBatch = [&] {
        batchBytes = 0;
        purger_.PurgeBatch(batch, request_, [this] { return !Stopped(); });
        for (std::size_t i = 0; i < batch.size(); ++i) {
            Count(batch[i].result, batch[i].file.path, sizes[i], fromFiles);
        }
        batch.clear();
        sizes.clear();
    };
    for (const FolderEntry* file : files) {
        if (Stopped()) {
            break;
        }
        PurgeFileRef ref{folder.fd.Get(), file->name, folder.path + file->name};
        if (file->status.size < limits.fileBelow) {
            batch.push_back({ref});
            sizes.push_back(file->status.size);
            batchBytes += file->status.size;
            if (batch.size() >= batchFiles || batchBytes >= limits.bytes) {
                runBatch();
            }
            continue;
        }
        PurgeHooks hooks;
        hooks.stopRequested = [this] { return Stopped(); };
        Count(purger_.Purge(ref, request_, hooks), ref.path, file->status.size, fromFiles);
    }
    if (!batch.empty()) {
        runBatch();
    }
}

void TrashEmptier::EmptyEntries(const WalkFolder& folder, const std::vector<FolderEntry>& entries,
                                bool fromFiles) {
    std::vector<const FolderEntry*> files;
    for (const FolderEntry& entry : entries) {
        if (entry.status.kind == FileKind::Regular) {
            files.push_back(&entry);
        } else if (entry.status.kind != FileKind::Directory) {
            Remove(folder, entry);
        }
    }
    PurgeFiles(folder, files, fromFiles);
}

void TrashEmptier::EmptyTree(const WalkFolder& folder) {
    TreeWalk walk(*this, true);
    platform::WalkTree(folder, walk, platform::WalkRules{});
}

void TrashEmptier::EmptyFolderItem(const WalkFolder& parent, const FolderEntry& item,
                                   bool fromFiles) {
    WalkFolder folder;
    folder.path = parent.path + item.name + "/";
    folder.depth = 1;
    const std::error_code error =
        Sys().OpenFolder(parent.fd.Get(), item.name, folder.fd, folder.status);
    if (IsMissing(error)) {
        return;
    }
    TreeWalk walk(*this, fromFiles);
    if (error) {
        walk.Refused(folder.path, platform::FolderRefusal::CannotRead, error);
        return;
    }
    if (folder.status.device != parent.status.device) {
        walk.Refused(folder.path, platform::FolderRefusal::OtherVolume, {});
        return;
    }
    platform::WalkTree(folder, walk, platform::WalkRules{});
    if (!Sys().RemoveFolderAt(parent.fd.Get(), item.name, item.status) && fromFiles) {
        removedItems_.insert(item.name);
    }
}

void TrashEmptier::EmptyItem(const WalkFolder& files, const WalkFolder& info,
                             const FolderEntry& item) {
    if (item.status.kind == FileKind::Directory) {
        EmptyFolderItem(files, item, true);
    } else if (item.status.kind == FileKind::Regular) {
        PurgeFiles(files, {&item}, true);
    } else {
        Remove(files, item);
    }
    platform::FileStatus now;
    if (!IsMissing(Sys().StatAt(files.fd.Get(), item.name, now))) {
        return;  // still there: so is the entry that says where it came from
    }
    FolderEntry entry{item.name + std::string(kInfoSuffix), {}, {}};
    if (Sys().StatAt(info.fd.Get(), entry.name, entry.status)) {
        return;
    }
    EmptyEntries(info, {entry}, false);
    if (entry.status.kind == FileKind::Directory) {
        EmptyFolderItem(info, entry, false);
    }
}

void TrashEmptier::EmptyFileItems(const WalkFolder& files, const WalkFolder& info,
                                  const std::vector<const FolderEntry*>& items) {
    PurgeFiles(files, items, true);
    std::vector<FolderEntry> entries;
    for (const FolderEntry* item : items) {
        platform::FileStatus now;
        FolderEntry entry{item->name + std::string(kInfoSuffix), {}, {}};
        if (IsMissing(Sys().StatAt(files.fd.Get(), item->name, now)) &&
            !Sys().StatAt(info.fd.Get(), entry.name, entry.status)) {
            entries.push_back(entry);
        }
    }
    EmptyEntries(info, entries, false);
    for (const FolderEntry& entry : entries) {
        if (entry.status.kind == FileKind::Directory) {
            EmptyFolderItem(info, entry, false);
        }
    }
}

void TrashEmptier::EmptyStrayInfo(const WalkFolder& files, const WalkFolder& info) {
    std::vector<FolderEntry> entries;
    if (Sys().ReadFolder(info.fd.Get(), entries)) {
        return;  // no stray descriptions can be told from an unreadable folder
    }
    std::vector<FolderEntry> strays;
    for (const FolderEntry& entry : entries) {
        platform::FileStatus item;
        if (entry.name.ends_with(kInfoSuffix) &&
            !Sys().StatAt(files.fd.Get(),
                          entry.name.substr(0, entry.name.size() - kInfoSuffix.size()), item)) {
            continue;  // the entry of an item that stays
        }
        strays.push_back(entry);
    }
    EmptyEntries(info, strays, false);
    for (const FolderEntry& entry : strays) {
        if (entry.status.kind == FileKind::Directory && !Stopped()) {
            EmptyFolderItem(info, entry, false);
        }
    }
}

void TrashEmptier::DropDirectorySizes(const WalkFolder& trash) {
    std::string content;
    if (removedItems_.empty() ||
        Sys().ReadFileAt(trash.fd.Get(), kDirectorySizes, content, kDirectorySizesLimit)) {
        return;
    }
    std::string kept;
    bool dropped = false;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = std::min(content.find('\n', start), content.size());
        const std::string line = content.substr(start, end - start);
        if (removedItems_.count(FolderNamed(line)) > 0) {
            dropped = true;
        } else {
            kept += content.substr(start, end + 1 - start);
        }
        start = end + 1;
    }
    if (!dropped) {
        return;
    }
    // The old file's blocks hold the names too: it is purged, and the kept lines are
    // written to a new one.
    const PurgeFileRef old{trash.fd.Get(), kDirectorySizes, trash.path + kDirectorySizes};
    const FileResult outcome = purger_.Purge(old, request_);
    if (!outcome.Purged()) {
        Count(outcome, old.path, static_cast<std::int64_t>(content.size()), false);
        return;
    }
    platform::UniqueFd fd;
    if (!Sys().CreateFileAt(trash.fd.Get(), kDirectorySizes, fd) &&
        !Sys().WriteAt(fd.Get(), 0, kept.data(), kept.size())) {
        // The sizes file is only a cache that file managers rebuild when it is wrong.
        (void)Sys().FlushToDevice(fd.Get());
    }
}

}  // namespace vorlane
