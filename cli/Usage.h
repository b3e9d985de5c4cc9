#pragma once

#include <ostream>
#include <string>

namespace vorlane::cli {

void PrintUsage(std::ostream& out);
// Prints the problem and the usage to standard error; returns the usage exit status.
int UsageError(const std::string& problem);

inline constexpr int kExitUsage = 2;

}  // namespace vorlane::cli
