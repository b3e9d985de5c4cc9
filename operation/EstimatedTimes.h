#pragma once
// Purge-time estimates of a listing.

#include <cstdint>
#include <string>

namespace vorlane {

// Estimates below this many seconds are not worth a row of the table.
inline constexpr int kEstimateThresholdSeconds = 20;

// Small files purge more slowly per megabyte: the time of a file of m megabytes is
// scaled by kEstimateFactorAtOneMB / m^kEstimateFactorExponent.
inline constexpr double kEstimateFactorAtOneMB = 0.917;
inline constexpr double kEstimateFactorExponent = 0.2;

// The table of estimated purge times for 2, 4, ... 24 overwrites.
std::string EstimatedTimes(float speed, double totalBytes, double adjustmentFactor);

// Small files purge more slowly per megabyte than large ones.
double AdjustmentFactor(double totalBytes, std::int32_t numFiles);

// A duration in seconds as the estimate shows it: seconds form below 300 seconds,
// hours and minutes above.
std::string EstimateText(std::int32_t seconds);

// Nearest integer, halves to even; held within 32 bits.
std::int32_t RoundToInt(double value);

}  // namespace vorlane
