#include "operation/ProgressText.h"

#include <algorithm>
#include <cmath>

#include "support/Strings.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

constexpr double kFirstEstimateAfter = 1.0;  // s: a rate over less time misleads

int Share(std::int64_t done, std::int64_t total) {
    const double share = 100.0 * static_cast<double>(done) / static_cast<double>(total);
    return std::clamp(static_cast<int>(share), 0, 100);
}

std::string Count(std::int64_t n) {
    return GroupedNumberText(static_cast<double>(n), 0);
}

}  // namespace

std::optional<int> ProgressPercent(const PurgeProgress& progress) {
    if (progress.bytesTotal > 0) {
        return Share(progress.bytesDone, progress.bytesTotal);
    }
    if (progress.filesTotal > 0) {
        return Share(progress.filesDone, progress.filesTotal);
    }
    return std::nullopt;
}

std::optional<double> SecondsLeft(const PurgeProgress& progress, double secondsSoFar) {
    if (progress.bytesTotal <= 0 || progress.bytesDone <= 0 || secondsSoFar < kFirstEstimateAfter) {
        return std::nullopt;
    }
    const double rate = static_cast<double>(progress.bytesDone) / secondsSoFar;
    const auto left =
        static_cast<double>(std::max<std::int64_t>(0, progress.bytesTotal - progress.bytesDone));
    return left / rate;
}

std::string TimeLeftText(double seconds) {
    const auto whole = static_cast<std::int64_t>(std::ceil(seconds));
    if (whole < 60) {
        return "about " + std::to_string(whole) + " s left";
    }
    const std::int64_t minutes = (whole + 59) / 60;
    if (minutes < 60) {
        return "about " + std::to_string(minutes) + " min left";
    }
    return "about " + std::to_string(minutes / 60) + " h " + std::to_string(minutes % 60) +
           " min left";
}

std::string ProgressLine(const PurgeProgress& progress, double secondsSoFar) {
    std::string line;
    // A fill of free space writes bytes, not files: no "0 files" in front of them.
    if (progress.filesDone > 0 || progress.filesTotal > 0) {
        line = Count(progress.filesDone);
        if (progress.filesTotal > 0) {
            line += " of " + Count(progress.filesTotal);
        }
        line += progress.filesTotal == 1 ? " file, " : " files, ";
    }
    line += SizeText(static_cast<double>(progress.bytesDone), 2);
    if (progress.bytesTotal > 0) {
        line += " of " + SizeText(static_cast<double>(progress.bytesTotal), 2);
    }
    if (progress.pass > 0 && progress.passes > 1) {
        line +=
            ", pass " + std::to_string(progress.pass) + " of " + std::to_string(progress.passes);
    }
    if (const std::optional<double> left = SecondsLeft(progress, secondsSoFar)) {
        line += ", " + TimeLeftText(*left);
    }
    return line;
}

}  // namespace vorlane
