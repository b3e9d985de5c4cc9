#pragma once
// What vorlane-cli says about itself: --help, --version and usage errors.

#include <ostream>
#include <string>

#include "cli/OptionTables.h"

namespace vorlane::cli {

void PrintProgramHelp(std::ostream& out);
void PrintCommandHelp(std::ostream& out, const CommandSpec& command);
void PrintVersion(std::ostream& out);

// One line naming the fault and where help is, on standard error; returns the exit
// status of a usage error. command may be empty (the program itself).
int UsageError(const std::string& command, const std::string& problem);

// "vorlane-cli: " and the text, on standard error.
void PrintError(const std::string& text);

}  // namespace vorlane::cli
