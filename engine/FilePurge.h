#pragma once
// The purge of one file named by its path: the single-file command and the speed test.
// Walks hold their folders open and call FilePurger directly.

#include <string>

#include "engine/FilePurger.h"

namespace vorlane {

// Opens the path's folder once and purges the file in it with every pass of the request.
FileResult PurgeFileAtPath(FilePurger& purger, const std::string& path, const PurgeRequest& request,
                           const PurgeHooks& hooks = {});

}  // namespace vorlane
