#pragma once
// Folder tests, counts and creation.
//
// Every procedure here reports failure by its result (the error of a count, empty for
// paths, false for tests) and never throws. Folder paths may or may not end with "/".
// Symbolic links are never followed: a link is an entry like a file, counted among the
// files, never walked into.

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

namespace vorlane {

// Whether a file name is covered by a file specification. A specification without "*"
// or "?" names exactly one file and is compared byte for byte; one with wildcards
// matches without regard to case.
bool NameMatchesFileSpec(const std::string& name, const std::string& fileSpec);

// True when the path, trimmed of blanks, names an existing folder (not a link to one).
bool FolderIsDirectory(const std::string& path);

// True when the path names an existing entry that is not a folder.
bool EntryExists(const std::string& path);

// base/subfolderName/fileName, where base is the per-user data folder (or the root
// volume when there is none); the subfolder is created on first use.
std::string UserDataFilePath(const std::string& fileName, const std::string& subfolderName);

// A look into one folder: how many entries it holds, or why it could not be read.
struct FolderCount {
    int count = 0;          // 0 when the folder could not be read
    double bytes = 0.0;     // the counted files' sizes, when they were asked for
    std::error_code error;  // why the folder could not be read
};

// What one folder holds, as the walk sees it: the files whose names match the file
// specification (links, FIFOs and the like among them, as the purge reports them), their
// sizes when asked for, and the subfolders.
struct FolderContents {
    int files = 0;
    double bytes = 0.0;  // the regular files' sizes, when they were asked for
    int subfolders = 0;
    std::error_code error;  // why the folder could not be opened or read; counts are 0
};

// Opens the folder once, as a purge's walk opens its target (a link as its last name is
// refused), and counts what that descriptor reads.
FolderContents LookIntoFolder(const std::string& folder, const std::string& fileSpec,
                              bool sumSizes = false);

// True when the folder can be read and holds neither a file nor a subfolder.
bool FolderIsEmpty(const std::string& folder);

// Creates and returns base/prefix1, base/prefix2, ...: the first that names neither a
// folder nor a file; empty when it cannot be created.
std::string NextFreeFolder(const std::string& basePath, const std::string& namePrefix);

// Creates every missing level of the path; true when the folder then exists.
bool CreateFolderPath(const std::string& path);

}  // namespace vorlane
