#include "selection/DateInput.h"

#include <algorithm>

#include "support/Dates.h"
#include "support/Strings.h"

namespace vorlane {

namespace {

// More digits than this cannot be a year the window accepts; keeps the number in range.
constexpr std::size_t kMaxYearDigits = 9;

}  // namespace

DateInputCheck CheckDateInput(const std::string& yearText, int month, int day, int lowestYear,
                              int highestYear) {
    DateInputCheck check;
    check.yearText = TrimText(KeepCharacters(yearText, "0123456789"));
    if (check.yearText.empty()) {
        return check;
    }
    const std::string digits =
        check.yearText.substr(0, std::min(check.yearText.size(), kMaxYearDigits));
    const long year = check.yearText.size() > kMaxYearDigits ? highestYear + 1L : std::stol(digits);
    if (year < lowestYear) {
        check.status = DateInputStatus::TooEarly;
    } else if (year > highestYear) {
        check.status = DateInputStatus::TooLate;
    } else if (!IsValidDate(static_cast<int>(year), month, day)) {
        check.status = DateInputStatus::Invalid;
    } else {
        check.status = DateInputStatus::Accepted;
        check.jdn = DateToJdn(static_cast<int>(year), month, day);
    }
    return check;
}

std::string DateInputMessage(DateInputStatus status) {
    switch (status) {
        case DateInputStatus::TooEarly:
            return "Year too early";
        case DateInputStatus::TooLate:
            return "Year too late";
        case DateInputStatus::Invalid:
            return "Date is invalid";
        default:
            return {};
    }
}

}  // namespace vorlane
