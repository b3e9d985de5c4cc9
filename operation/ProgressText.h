#pragma once
// The words and the share of a purge's progress display: "12 of 300 files, 1.20 MB of
// 40.00 MB, pass 2 of 3, about 4 min left". Beyond the report, which stays as it is.

#include <optional>
#include <string>

#include "operation/OperationInterface.h"

namespace vorlane {

// Per cent done, from the bytes when their total is known, else from the files; empty
// when neither total is known.
std::optional<int> ProgressPercent(const PurgeProgress& progress);

// The time left at the rate of the bytes so far; empty until a second has passed and
// some bytes are written, and when the total is not known.
std::optional<double> SecondsLeft(const PurgeProgress& progress, double secondsSoFar);

// "about 45 s left", "about 4 min left", "about 2 h 5 min left".
std::string TimeLeftText(double seconds);

// The whole line under the progress bar.
std::string ProgressLine(const PurgeProgress& progress, double secondsSoFar);

}  // namespace vorlane
