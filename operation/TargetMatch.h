#pragma once
// Which entries of a folder an operation covers.

#include <string>
#include <vector>

#include "operation/OperationChoices.h"
#include "platform/FolderWalk.h"
#include "platform/Platform.h"
#include "support/Folders.h"

namespace vorlane {

// Whether the name is covered by the file specification under the choices' rule.
bool NameIsTarget(const OperationChoices& choices, const std::string& name,
                  const std::string& fileSpec);

// A file-like entry (anything but a folder; links included, never followed) whose name
// matches the file specification and whose date passes the restriction.
bool EntryIsTarget(const OperationChoices& choices, const platform::FolderEntry& entry,
                   const std::string& fileSpec);

// Points `targets` at the entries the operation covers, in name order.
void SelectTargets(const OperationChoices& choices,
                   const std::vector<platform::FolderEntry>& entries, const std::string& fileSpec,
                   std::vector<const platform::FolderEntry*>& targets);

// The files directly in the target folder whose names the choices cover (no date
// test), or why the folder cannot be read. A held target is read through its
// descriptor, so the count sees the folder the purge will walk; without one, the folder
// is opened as a walk opens its target.
FolderCount CountNamedTargets(const OperationChoices& choices,
                              const platform::WalkFolder* held = nullptr);

}  // namespace vorlane
