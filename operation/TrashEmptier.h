#pragma once
// Empties a Trash, item by item: a deleted item's entry in info/ (it names where the item
// came from) goes only when the item itself is gone from files/. Files are purged; links,
// FIFOs, sockets and devices, which hold no data, are removed without being followed; a
// file with other names outside the Trash is kept with its entry. Every folder the walk
// cannot enter, and every file left, gets a line saying why.

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "engine/FilePurger.h"
#include "operation/FileRecord.h"
#include "operation/OperationChoices.h"
#include "operation/OperationControl.h"
#include "platform/FolderWalk.h"

namespace vorlane {

struct TrashTally {
    std::int32_t purged = 0;         // files of files/ purged
    std::int32_t notPurged = 0;      // files and folders left behind
    std::vector<std::string> lines;  // why each was left
};

class TrashEmptier {
  public:
    TrashEmptier(const OperationChoices& choices, OperationControl& control);

    // One item of files/ with its whole tree, then its entry in info/ once it is gone.
    void EmptyItem(const platform::WalkFolder& files, const platform::WalkFolder& info,
                   const platform::FolderEntry& item);
    // Many items that are plain files, purged in batches, then the entries of those gone.
    void EmptyFileItems(const platform::WalkFolder& files, const platform::WalkFolder& info,
                        const std::vector<const platform::FolderEntry*>& items);
    // What a folder holds; the folder itself stays.
    void EmptyTree(const platform::WalkFolder& folder);
    // The entries of info/ whose item is no longer in files/.
    void EmptyStrayInfo(const platform::WalkFolder& files, const platform::WalkFolder& info);
    // The lines of directorysizes that name removed folders; the file stays.
    void DropDirectorySizes(const platform::WalkFolder& trash);

    bool Stopped() const { return control_.StopRequested(); }
    const TrashTally& Tally() const { return tally_; }
    // For a progress display to observe the purges.
    FilePurger& Purger() { return purger_; }
    // Told each line of what was left, as it is left, for a report that grows meanwhile.
    void ObserveLeftLines(std::function<void(const std::string&)> observer) {
        leftLineObserver_ = std::move(observer);
    }
    // Told the end of each file it purged or failed to purge.
    void ObserveFileEnds(std::function<void(const FileRecord&)> observer) {
        fileEndObserver_ = std::move(observer);
    }

  private:
    class TreeWalk;
    void Remove(const platform::WalkFolder& folder, const platform::FolderEntry& entry);
    void PurgeFiles(const platform::WalkFolder& folder,
                    const std::vector<const platform::FolderEntry*>& files, bool fromFiles);
    void Count(const FileResult& result, const std::string& path, std::int64_t size,
               bool fromFiles);
    void Left(const std::string& line);
    void EmptyFolderItem(const platform::WalkFolder& parent, const platform::FolderEntry& item,
                         bool fromFiles);
    void EmptyEntries(const platform::WalkFolder& folder,
                      const std::vector<platform::FolderEntry>& entries, bool fromFiles);

    OperationControl& control_;
    FilePurger purger_;
    PurgeRequest request_;
    TrashTally tally_;
    std::set<std::string> removedItems_;
    std::function<void(const std::string&)> leftLineObserver_;
    std::function<void(const FileRecord&)> fileEndObserver_;
};

}  // namespace vorlane
