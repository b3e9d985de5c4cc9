#pragma once
// The listing walk: folder lines or progress marks, one detail line per file, the sum
// of the sizes; or, when the operation neither lists nor purges, a count up to a limit.

#include <string>

#include "operation/Operation.h"

namespace vorlane {

void ListFilesRecursive(Operation& operation, const std::string& dirPath,
                        const std::string& fileSpec);

}  // namespace vorlane
