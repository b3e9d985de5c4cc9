#pragma once
// Runs one purge or listing of the target from start to summary.

#include <string>

#include "operation/Operation.h"

namespace vorlane {

// The operation's kind and listing flags are set in its state beforehand (purging,
// listingFiles, listFolders, fileDetails).
void ProcessFiles(Operation& operation);

// "date, hh:mm:ss" and a line break, as the report's start and end stamps read.
std::string ReportStamp();

}  // namespace vorlane
