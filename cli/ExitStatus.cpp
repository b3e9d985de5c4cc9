#include "cli/ExitStatus.h"

#include <algorithm>
#include <array>

namespace vorlane::cli {
namespace {

constexpr std::array kLightestFirst{kExitNothingMatched, kExitAllDone, kExitNotAllPurged,
                                    kExitRefused, kExitStopped};

std::ptrdiff_t Weight(int status) {
    const auto* found = std::find(kLightestFirst.begin(), kLightestFirst.end(), status);
    // An unknown status is kept: it can only be a fault of ours, never hidden.
    return found == kLightestFirst.end() ? std::ssize(kLightestFirst)
                                         : found - kLightestFirst.begin();
}

}  // namespace

int HeavierExitStatus(int first, int second) {
    return Weight(second) > Weight(first) ? second : first;
}

int ExitStatusOf(FileOutcome outcome) {
    if (outcome == FileOutcome::SymbolicLink) {
        return kExitRefused;
    }
    return SeriousnessOf(outcome) == Seriousness::Purged ? kExitAllDone : kExitNotAllPurged;
}

}  // namespace vorlane::cli
