#include "operation/EstimatedTimes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "operation/ReportBuffer.h"
#include "support/Strings.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

constexpr int kLongFormFrom = 300;
constexpr int kSecondsPerDay = 86400;
constexpr int kSecondsPerHour = 3600;

std::string RowTimeText(std::int32_t t) {
    if (t < kSecondsPerDay) {
        return EstimateText(t);
    }
    const std::int32_t hours = RoundToInt(static_cast<double>(t) / kSecondsPerHour);
    return DurationText(hours * kSecondsPerHour, false, false);
}

}  // namespace

std::int32_t RoundToInt(double value) {
    // Huge sizes at a crawling speed go beyond 32 bits; the longest time stands for them.
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::nearbyint(value), kLow, kHigh));
}

double AdjustmentFactor(double totalBytes, std::int32_t numFiles) {
    const double averageMB = totalBytes / numFiles / kBytesPerMegabyte;
    return kEstimateFactorAtOneMB / std::pow(averageMB, kEstimateFactorExponent);
}

std::string EstimateText(std::int32_t seconds) {
    return DurationText(seconds, false, seconds >= kLongFormFrom);
}

std::string EstimatedTimes(float speed, double totalBytes, double adjustmentFactor) {
    const double megabytes = totalBytes / kBytesPerMegabyte;
    std::string text = "Estimated purge times for various numbers of overwrites" +
                       std::string(kLineBreak) + "using a purge speed (as measured) of " +
                       GroupedNumberText(speed, 2) + " MB/sec." + std::string(kLineBreak) +
                       "and an adjustment factor of " + GroupedNumberText(adjustmentFactor, 2) +
                       ":" + std::string(kLineBreak);
    bool anyRow = false;
    for (int overwrites = 2; overwrites <= 24; overwrites += 2) {
        const std::int32_t s = RoundToInt(megabytes / speed * overwrites);
        const std::int32_t t = RoundToInt(s * adjustmentFactor);
        if (t >= kEstimateThresholdSeconds) {
            text += std::to_string(overwrites) + " overwrites: " + RowTimeText(t) +
                    std::string(kLineBreak);
            anyRow = true;
        }
    }
    if (!anyRow) {
        text += "All less than " + std::to_string(kEstimateThresholdSeconds) + " seconds" +
                std::string(kLineBreak);
    }
    return text;
}

}  // namespace vorlane
