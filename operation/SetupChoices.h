#pragma once
// A setup (operation file or the setup for the next run) turned into the choices of an
// operation, and back. The windows and the command line share these.

#include "operation/OperationChoices.h"
#include "tools/SetupFile.h"

namespace vorlane {

// The folder is taken as the setup has it; a caller that needs a full path resolves it.
OperationChoices ChoicesFromSetup(const Setup& setup);

Setup SetupFromChoices(const OperationChoices& choices);

}  // namespace vorlane
