#pragma once
// Which entries of a folder an operation covers.

#include <string>

#include "platform/Platform.h"
#include "report/OperationChoices.h"

namespace vorlane {

// A file-like entry (anything but a folder; links included, never followed) whose name
// matches the specification and whose date passes the restriction.
bool EntryIsTarget(const OperationChoices& choices, const std::string& folderPath,
                   const platform::FolderEntry& entry, const std::string& fileSpec);

}  // namespace vorlane
