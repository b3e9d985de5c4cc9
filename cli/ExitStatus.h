#pragma once
// The exit statuses of vorlane-cli, the same for every command, so that a script can
// tell "some file stayed" from "nothing was done" from "nothing was there".

namespace vorlane::cli {

inline constexpr int kExitAllDone = 0;         // every matching file purged (or listed)
inline constexpr int kExitNotAllPurged = 1;    // some file or folder was not purged
inline constexpr int kExitRefused = 2;         // usage error, refusal, no confirmation
inline constexpr int kExitNothingMatched = 3;  // the target holds no matching file
inline constexpr int kExitStopped = 130;       // stopped by Ctrl-C (SIGINT) or SIGTERM

}  // namespace vorlane::cli
