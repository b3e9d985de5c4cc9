#pragma once
// The exit statuses of vorlane-cli, the same for every command, so that a script can
// tell "some file stayed" from "nothing was done" from "nothing was there".

#include "engine/FileOutcome.h"

namespace vorlane::cli {

inline constexpr int kExitAllDone = 0;         // every matching file purged (or listed)
inline constexpr int kExitNotAllPurged = 1;    // some file or folder was not purged
inline constexpr int kExitRefused = 2;         // usage error, refusal, no confirmation
inline constexpr int kExitNothingMatched = 3;  // the target holds no matching file
inline constexpr int kExitStopped = 130;       // stopped by Ctrl-C (SIGINT) or SIGTERM

// The status of a command made of parts (files, Trash folders) is the heaviest of theirs:
// nothing matched weighs least, so that one part done outweighs it, then all done, not
// all purged, refused, and a stop most.
int HeavierExitStatus(int first, int second);

// What one file named to the purge earns: a link named there is a wrong name given, as
// rm removes only the link; any other file not purged leaves the purge undone.
int ExitStatusOf(FileOutcome outcome);

}  // namespace vorlane::cli
