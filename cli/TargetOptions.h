#pragma once
// The options that choose a target and a purge type, shared by purge and list.

#include <optional>
#include <set>
#include <string>

#include "cli/Arguments.h"
#include "operation/OperationChoices.h"

namespace vorlane::cli {

// --type as the user counts (1-3, default 1) and --passes within that type's range
// (default: the type's default); false with the error recorded in args.
bool ReadPurgeTypeAndPasses(Arguments& args, int& purgeType, int& passes);

// The folder as the program sees it, not relative to where the command was given: the
// report names it in full, and the protected places (Trash, swap files, the program's
// folder) are known by their full paths. Empty stays empty.
std::string AbsoluteFolder(const std::string& folder);

// Flags and valued options that TargetChoices reads.
std::set<std::string> TargetFlags();
std::set<std::string> TargetValuedOptions();

// The choices given by --folder, --spec, --subfolders, --before, --type and --passes;
// nullopt with an error in `problem` when they are missing or malformed.
std::optional<OperationChoices> TargetChoices(Arguments& args, std::string& problem);

// Adds the stored (or given) speed of the target's drive.
void AddDriveSpeed(OperationChoices& choices, std::optional<float> givenSpeed);

}  // namespace vorlane::cli
