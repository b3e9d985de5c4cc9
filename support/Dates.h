#pragma once
// Calendar dates as Julian day numbers: exact proleptic Gregorian conversions, the
// month-name tables and the date texts of the date restriction. Years are
// astronomical (year 0 is 1 BC); the supported years are -30000..30000.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace vorlane {

inline constexpr std::int32_t kInvalidJdn = std::numeric_limits<std::int32_t>::min();
// Julian day number of 30 December 1899, day 0 of the serial date scale.
inline constexpr std::int32_t kSerialDayZeroJdn = 2415019;
// The day number that stands for "no date restriction".
inline constexpr std::int32_t kNoDateRestrictionJdn = 9000000;
inline constexpr int kLowestYear = -30000;
inline constexpr int kHighestYear = 30000;

bool IsValidDate(int year, int month, int day);
// The day number of a valid date (1 January 1980 -> 2444240); kInvalidJdn otherwise.
std::int32_t DateToJdn(int year, int month, int day);
// False, leaving the outputs alone, when the day number lies outside the supported years.
bool JdnToDate(std::int32_t jdn, int& year, int& month, int& day);

// Month 1..12; an empty text for any other month.
std::string_view MonthName(int month, bool shortName, bool german);

// English: "March 4, 2003"; German: "4. März 2003". Years beyond +-9999 are grouped
// by thousands. Empty for an invalid day number.
std::string JdnToDateText(std::int32_t jdn, bool shortNames, bool german);
// The date in the user's short date form, as the locale writes it (e.g. 03/04/2003).
std::string ShortDateText(std::int32_t jdn);

}  // namespace vorlane
