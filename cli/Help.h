#pragma once
// What vorlane-cli says about itself: --help, --version and usage errors.

#include <optional>
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

// What every command checks first: valid options, --help, and no operands where the
// command takes none. The exit status when the command ends there.
std::optional<int> FirstChecks(const CommandSpec& spec, const Options& options, bool takesOperands);

// "vorlane-cli: " and the text, on standard error.
void PrintError(const std::string& text);

}  // namespace vorlane::cli
