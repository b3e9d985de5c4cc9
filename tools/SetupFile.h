#pragma once
// A setup: the user's current choice of target, subfolders, date restriction, purge type
// and passes and the eight purge options, as kept in operation files (".vns") and in the
// per-user setup file. Both hold the same 16 lines, each ended by CR LF.

#include <cstdint>
#include <string>

#include "support/Dates.h"
#include "support/Expected.h"

namespace vorlane {

struct Setup {
    std::string versionText;  // line 1: written, never read back
    bool subfolders = false;
    bool dateRestricted = false;
    std::string targetFolder;
    std::string targetFilespec;
    int purgeType = 0;
    int numberOfPasses = 6;
    bool purgeSlackOnly = false;
    bool doNotDeletePurgedFiles = false;
    bool okToPurgeReadOnlyFiles = true;
    bool okToPurgeSystemFiles = false;
    bool okToPurgeSensitiveFiles = false;
    bool folderNamesOnly = true;
    bool deleteEmptyFolders = true;
    bool confirmFiles = false;
    std::int32_t onlyBeforeJdn = kNoDateRestrictionJdn;

    friend bool operator==(const Setup&, const Setup&) = default;
};

// The target as it was when a setup was last loaded, for "restore".
struct RememberedSetup {
    std::string targetFolder;
    std::string targetFilespec;
    std::int32_t dateRestrictionJdn = kNoDateRestrictionJdn;
};

// Creates or truncates the file and writes the 16 lines. False when the file cannot be
// written or a text holds a line break, which the format cannot carry.
bool SaveSetupToFile(const std::string& path, const Setup& setup);

// Reads a setup file into `setup`: first the eight check boxes and the date (lines 8 to
// 16), then the subfolders and date switches, the target, the purge type and the passes
// (lines 2 to 7). On any fault (unreadable file, too few lines, a flag other than 0 or
// 1, a purge type or number of passes that is not offered, a number that is not one) it
// returns false, and the fields applied before the faulty one stay applied.
bool LoadSetupFromFile(const std::string& path, Setup& setup);

// Why a file was not read as a setup.
struct SetupFault {
    // What to mend, with the line's number, when the folder line is not an absolute path
    // (".", "docs"): it would name a folder relative to wherever the file is run. Empty
    // when the file is simply no setup (unreadable, too few lines, a value not offered).
    std::string explanation;
};

// The setup a file holds, read over `base` as LoadSetupFromFile reads it, or why not.
Expected<Setup, SetupFault> ReadSetupFile(const std::string& path, Setup base);

void RememberSetup(const Setup& setup, RememberedSetup& remembered);

}  // namespace vorlane
