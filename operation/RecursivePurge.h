#pragma once
// The purge walk of a folder tree: files before subfolders, one report line per
// matching file, emptied subfolders removed on request. The folder purge and the purge
// of chosen subfolders are two configurations of this one walk.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/FileOutcome.h"
#include "operation/Operation.h"

namespace vorlane {

// Where the walk lets the person end it.
enum class WalkPoint {
    BeforeFile,      // before each matching file
    BetweenPasses,   // between two passes over one file
    AfterSubfolder,  // after a subfolder's walk (and the removal of an emptied one)
};

// What a walk without a report tells the person as it goes, and where it asks whether
// to go on. The folder purge has none: its report says it all.
class PurgeWalkListener {
  public:
    virtual ~PurgeWalkListener() = default;
    // False ends the walk.
    virtual bool GoOn(WalkPoint point) = 0;
    // The counting walk has counted `files` so far.
    virtual void Counted(std::int32_t files) = 0;
    // A file's overwrites begin.
    virtual void Purging(const std::string& path) = 0;
    // A file's end, purged or not (links and files left alone by a rule too); false ends
    // the walk.
    virtual bool Ended(const std::string& path, const FileResult& result, bool purged) = 0;
    // The removal of an emptied subfolder was tried: its error, empty when it went.
    virtual void FolderRemoval(std::error_code error) = 0;
    // A folder left whole: unreadable, or on another volume.
    virtual void FolderLeft() = 0;
};

// Which folders and files a purge walk covers, and who hears of it.
struct PurgeScope {
    // Whether the walk enters a subfolder (its path, without a trailing separator); empty:
    // every subfolder, when the choices take subfolders.
    std::function<bool(const std::string& path)> entersSubfolder;
    bool topFolderFiles = true;  // the target folder's own files are covered
    // The count takes the files a rule leaves alone (each has a line in the report); a
    // walk without a report counts only the files it sets out to purge.
    bool countsFilesLeftAlone = true;
    PurgeWalkListener* listener = nullptr;
};

// Purges the matching files of dirPath (and of its subfolders when the choices say so).
// Symbolic links are reported, never followed; a file that fails is reported with its
// reason and the walk goes on.
void VorlPurgeRecursive(Operation& operation, const std::string& dirPath,
                        const std::string& fileSpec, const PurgeScope& scope = {});

// The files the purge walk of the operation's target would report (links and excluded
// files among them, leftovers of killed purges not), walked by the same rules; nothing
// when the count reaches `limit`.
std::optional<std::int32_t> CountPurgeTargets(Operation& operation, std::int32_t limit,
                                              const PurgeScope& scope = {});

}  // namespace vorlane
