#pragma once
// The user's choices for one operation, taken when the user confirms. The operation
// reads nothing else from the windows, so the windows may change while it runs.

#include <map>
#include <string>

#include "engine/DateRestriction.h"
#include "engine/FilePurger.h"
#include "support/Strings.h"

namespace vorlane {

// The options of the purge confirmation, with their start-up values.
struct PurgeOptions {
    bool doNotDeletePurgedFiles = false;
    bool okToPurgeReadOnlyFiles = true;
    bool okToPurgeSystemFiles = false;
    bool okToPurgeSensitiveFiles = false;
    bool folderNamesOnly = true;  // files show as dots in the report
    bool confirmFiles = false;
    bool deleteEmptyFolders = true;
    // Overwrite only the slack behind each file's end; the files keep data, size and name.
    bool purgeSlackOnly = false;
    // Read the last overwrite back from the device before a file counts as purged. Kept in
    // the settings store, not in operation files.
    bool verifyLastOverwrite = false;
};

// Guards that only the command line can lift; the windows always keep them.
struct SafetyOverrides {
    bool allowHardLinks = false;  // purge a file that has other names elsewhere
    bool crossVolumes = false;    // walk into folders on other mounted volumes
    bool preserveRoot = true;     // refuse "/" as the target of a folder purge
};

// How the file specification picks the files.
enum class FileSpecRule {
    // The desktop program's rule: name and pattern are split at their last dot, "*.*" is
    // every file; without wildcards the pattern is one name, byte for byte.
    NameAndExtension,
    // The command line's: the pattern over the whole name as a shell writes it, so that
    // ".*" is the names that begin with a dot ("*.*" stays every file).
    WholeName,
    // One file chosen as such: its name, byte for byte, even with "*" or "?" in it.
    OneFile,
};

struct OperationChoices {
    std::string targetFolder;
    std::string targetFilespec{kAllFiles};
    FileSpecRule specRule = FileSpecRule::NameAndExtension;
    bool subdirectories = false;
    DateRestriction dateRestriction;
    int purgeType = 0;
    int numberOfPasses = 6;
    PurgeOptions options;
    SafetyOverrides safety;
    // Small files share the flush of each overwrite; off: every file alone (--no-batch).
    bool batchSmallFiles = true;
    // The finished report is also kept on disk, as the setting allows; off for this run
    // alone (--no-keep-report).
    bool keepReport = true;
    // Measured purge speed per drive (mount point), MB/s for one overwrite.
    std::map<std::string, float> drivePurgeSpeeds;
};

// What the purger is asked for each file: every caller makes its request here, so an
// option added to the choices reaches every purge.
PurgeRequest PurgeRequestFor(const OperationChoices& choices);

// True when the target is a single file: chosen as one, or named without wildcards.
bool NamesOneFile(const OperationChoices& choices);

// The folder and the file specification as the main window shows them; the report header
// joins the two without a separator, so the folder ends with one.
std::string FolderCaption(const std::string& targetFolder);

// The file specification as the main window shows it: a single file's name longer
// than 70 characters becomes its first 64 characters, "..." and its extension.
std::string FileSpecCaption(const std::string& targetFilespec);

// The main window's purge-type line, e.g. "Random bytes plus zeros, 6 times (= 12
// overwrites)".
std::string TypeOfPurgeCaption(int purgeType, int numberOfPasses);

// The drive's measured speed, 0 when it has not been measured.
float DrivePurgeSpeed(const OperationChoices& choices, const std::string& drive);

}  // namespace vorlane
