#pragma once
// Reading the options that purge, list and save-setup share into the operation's
// choices.

#include <optional>
#include <string>

#include "cli/Options.h"
#include "operation/OperationChoices.h"
#include "operation/OperationInterface.h"
#include "support/Expected.h"

namespace vorlane::cli {

// --type as the user counts (1-3, default 1) and --passes within that type's range
// (default: the type's default); false with the fault recorded in options.
bool ReadPurgeTypeAndPasses(Options& options, int& purgeType, int& passes);

// The folder as the program sees it, not relative to where the command was given: the
// report names it in full, and the protected places (Trash, swap files, the program's
// folder) are known by their full paths. Empty stays empty.
std::string AbsoluteFolder(const std::string& folder);
// Whether a folder named on the command line ends in a link (or a link of /proc), which
// is not taken as a target.
bool EndsInLink(const std::string& folder);

// What is wrong with the options, in words for a usage error.
struct UsageFault {
    std::string text;
};

// The choices given by --folder, --spec, --subfolders, --before, --type and --passes, or
// the fault when they are missing or malformed.
Expected<OperationChoices, UsageFault> TargetChoices(Options& options);

// The purge options of the confirmation: --keep, --no-read-only, --system,
// --sensitive, --file-names, --keep-empty-folders, --confirm-each.
PurgeOptions PurgeOptionsFrom(const Options& options);

// --hard-links, --cross-volumes, --no-preserve-root.
SafetyOverrides SafetyFrom(const Options& options);

// Adds the stored (or given) speed of the target's drive.
void AddDriveSpeed(OperationChoices& choices, std::optional<float> givenSpeed);

// Checks the target before an operation: kExitAllDone when it may go on, otherwise
// the exit status, with the reason told (the system's words and the path).
int CheckTargetForCommand(const OperationChoices& choices, OperationInterface& ui, bool purge);

}  // namespace vorlane::cli
