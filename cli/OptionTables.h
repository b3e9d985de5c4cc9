#pragma once
// The options of each command, with the line --help gives each of them. Parsing and
// help read the same tables, so no option can be taken without being described.

#include <string>
#include <vector>

#include "cli/Options.h"

namespace vorlane::cli {

struct CommandSpec {
    std::string name;
    std::vector<std::string> synopsis;  // usage lines after "vorlane-cli "
    std::string description;            // what the command does, a few lines
    std::vector<OptionSpec> options;
};

const CommandSpec& PurgeCommandSpec();
const CommandSpec& ListCommandSpec();
const CommandSpec& SaveSetupCommandSpec();
const CommandSpec& SpeedTestCommandSpec();
const CommandSpec& TrashPurgeCommandSpec();
const CommandSpec& FreeSpaceCommandSpec();
// nullptr for a name that is not a command.
const CommandSpec* FindCommand(const std::string& name);
const std::vector<const CommandSpec*>& AllCommands();

// Options that only a folder purge takes, and those that a single-file purge takes.
bool IsFolderPurgeOnlyOption(const std::string& name);
bool IsSafetyOption(const std::string& name);
// --files-from and --null, which only the purge of named files takes.
bool IsFileListOption(const std::string& name);
// --json, --quiet, --verbose: they change where words go, not what is done.
bool IsOutputOption(const std::string& name);

}  // namespace vorlane::cli
