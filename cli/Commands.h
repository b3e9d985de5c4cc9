#pragma once
// The commands of vorlane-cli. Each reads its own words (after the command's name)
// and returns the exit status (cli/ExitStatus.h).

#include <optional>
#include <string>
#include <vector>

#include "cli/CommandOutput.h"
#include "cli/Options.h"
#include "cli/StopRequest.h"

namespace vorlane::cli {

// purge FILE..., purge --folder DIR ..., purge --setup FILE.vns
int RunPurgeCommand(const std::vector<std::string>& words, StopRequest& stop);
// list --folder DIR ...
int RunListCommand(const std::vector<std::string>& words, StopRequest& stop);
// save-setup FILE.vns --folder DIR ...
int RunSaveSetupCommand(const std::vector<std::string>& words);
// speed-test [--drive DIR] [--type T] [--passes N]
int RunSpeedTestCommand(const std::vector<std::string>& words, StopRequest& stop);
// purge-trash [--drive MOUNT] [--yes]
int RunTrashPurgeCommand(const std::vector<std::string>& words, StopRequest& stop);
// purge-free-space [--drive MOUNT] [--type T] [--passes N] [--yes]
int RunFreeSpaceCommand(const std::vector<std::string>& words, StopRequest& stop);
// Removes the fills of free-space purges that were killed, and says so on standard error.
void RemoveLeftoverFillsAtStart();

// A folder purge whose folder is, or lies in, a Trash: only that tree goes, with the
// Trash's entries for the deleted items it removes. None when the folder lies in no Trash.
std::optional<int> PurgeIfInTrash(const std::string& folder, bool assumeYes, StopRequest& stop,
                                  CommandOutput& output);

// The single-file purge, with the purge command's options already read.
int PurgeFiles(Options& options, StopRequest& stop, CommandOutput& output);

// Loads the program texts; ends the program when they cannot be loaded. Called once a
// command has read its options, so that --help works without them.
void LoadProgramTexts();

}  // namespace vorlane::cli
