#pragma once
// A setup (operation file or the setup for the next run) turned into the choices of an
// operation, and back. The windows and the command line share these.

#include "operation/OperationChoices.h"
#include "tools/SetupFile.h"

namespace vorlane {

// The folder is taken as the setup has it; a caller that needs a full path resolves it.
// A folder line that ends in "/" (other than "/" itself) belongs to a single file, as the
// windows keep a chosen file's folder: its name is then that one file, wildcards and all.
OperationChoices ChoicesFromSetup(const Setup& setup);

// True when a setup's folder line marks its file specification as a single file.
bool SetupFolderNamesOneFile(const std::string& targetFolder);

Setup SetupFromChoices(const OperationChoices& choices);

}  // namespace vorlane
