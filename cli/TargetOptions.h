#pragma once
// The options that choose a target and a purge type, shared by purge and list.

#include <optional>
#include <set>
#include <string>

#include "cli/Arguments.h"
#include "report/OperationChoices.h"

namespace vorlane::cli {

// Flags and valued options that TargetChoices reads.
std::set<std::string> TargetFlags();
std::set<std::string> TargetValuedOptions();

// The choices given by --folder, --spec, --subfolders, --before, --type and --passes;
// nullopt with an error in `problem` when they are missing or malformed.
std::optional<OperationChoices> TargetChoices(Arguments& args, std::string& problem);

// Adds the stored (or given) speed of the target's drive.
void AddDriveSpeed(OperationChoices& choices, std::optional<float> givenSpeed);

}  // namespace vorlane::cli
