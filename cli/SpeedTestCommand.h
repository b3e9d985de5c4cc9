#pragma once

#include <string>
#include <vector>

namespace vorlane::cli {

// speed-test [--drive MOUNT] [--type T] [--passes N]: measures the volume holding MOUNT
// (default: the current folder's), prints the result and stores the mean speed, which
// later listings read.
int RunSpeedTestCommand(const std::vector<std::string>& words);

}  // namespace vorlane::cli
