#pragma once
// The check behind the date window's Accept button.

#include <cstdint>
#include <string>

namespace vorlane {

inline constexpr int kDateWindowLowestYear = 1980;
inline constexpr int kDateWindowHighestYear = 2999;

enum class DateInputStatus { NoYear, TooEarly, TooLate, Invalid, Accepted };

struct DateInputCheck {
    DateInputStatus status = DateInputStatus::NoYear;
    std::string yearText;  // the typed year reduced to its digits, for the box
    std::int32_t jdn = 0;  // the day number when accepted
};

// month and day: 0 for the empty first entry of their lists.
DateInputCheck CheckDateInput(const std::string& yearText, int month, int day, int lowestYear,
                              int highestYear);

// The message of a refused input, empty for the others.
std::string DateInputMessage(DateInputStatus status);

}  // namespace vorlane
