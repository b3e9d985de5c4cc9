#pragma once
// Which entries of a folder an operation covers.

#include <string>
#include <vector>

#include "operation/OperationChoices.h"
#include "platform/Platform.h"

namespace vorlane {

// A file-like entry (anything but a folder; links included, never followed) whose name
// matches the file specification and whose date passes the restriction.
bool EntryIsTarget(const OperationChoices& choices, const platform::FolderEntry& entry,
                   const std::string& fileSpec);

// Points `targets` at the entries the operation covers, in name order.
void SelectTargets(const OperationChoices& choices,
                   const std::vector<platform::FolderEntry>& entries, const std::string& fileSpec,
                   std::vector<const platform::FolderEntry*>& targets);

}  // namespace vorlane
