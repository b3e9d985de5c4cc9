#include "support/Dates.h"

#include <array>
#include <chrono>
#include <ctime>
#include <sstream>

#include "support/UserLocale.h"
#include "support/Utf8.h"

namespace vorlane {
namespace {

namespace chr = std::chrono;

// Day number of 1 January 1970, the epoch of the system clock's days.
constexpr std::int32_t kUnixEpochJdn = 2440588;

constexpr std::array<std::string_view, 12> kEnglishFull = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 12> kEnglishShort = {
    "Jan.", "Feb.", "Mar.", "Apr.", "May", "June", "July", "Aug.", "Sept.", "Oct.", "Nov.", "Dec."};
constexpr std::array<std::string_view, 12> kGermanFull = {
    "Januar", "Februar", "März",      "April",   "Mai",      "Juni",
    "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
constexpr std::array<std::string_view, 12> kGermanShort = {
    "Jan.", "Feb.", "März", "Apr.", "Mai", "Juni", "Juli", "Aug.", "Sept.", "Okt.", "Nov.", "Dez."};

// A year, with a separator between thousands once it has more than four digits.
std::string YearText(int year, char separator) {
    std::string digits = std::to_string(year < 0 ? -static_cast<long>(year) : year);
    if (digits.size() > 4) {
        for (auto pos = static_cast<std::ptrdiff_t>(digits.size()) - 3; pos > 0; pos -= 3) {
            digits.insert(static_cast<std::size_t>(pos), 1, separator);
        }
    }
    return (year < 0 ? "-" : "") + digits;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    if (year < kLowestYear || year > kHighestYear) {
        return false;
    }
    const chr::year_month_day date{chr::year{year}, chr::month{static_cast<unsigned>(month)},
                                   chr::day{static_cast<unsigned>(day)}};
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && date.ok();
}

std::int32_t DateToJdn(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) {
        return kInvalidJdn;
    }
    const chr::sys_days days{chr::year{year} / month / day};
    return static_cast<std::int32_t>(days.time_since_epoch().count()) + kUnixEpochJdn;
}

bool JdnToDate(std::int32_t jdn, int& year, int& month, int& day) {
    static const std::int32_t first = DateToJdn(kLowestYear, 1, 1);
    static const std::int32_t last = DateToJdn(kHighestYear, 12, 31);
    if (jdn < first || jdn > last) {
        return false;
    }
    const chr::year_month_day date{chr::sys_days{chr::days{jdn - kUnixEpochJdn}}};
    year = static_cast<int>(date.year());
    month = static_cast<int>(static_cast<unsigned>(date.month()));
    day = static_cast<int>(static_cast<unsigned>(date.day()));
    return true;
}

std::string_view MonthName(int month, bool shortName, bool german) {
    if (month < 1 || month > 12) {
        return {};
    }
    const auto& table = german ? (shortName ? kGermanShort : kGermanFull)
                               : (shortName ? kEnglishShort : kEnglishFull);
    return table[static_cast<std::size_t>(month - 1)];
}

std::string JdnToDateText(std::int32_t jdn, bool shortNames, bool german) {
    int year = 0, month = 0, day = 0;
    if (!JdnToDate(jdn, year, month, day)) {
        return {};
    }
    const std::string monthName(MonthName(month, shortNames, german));
    if (german) {
        return std::to_string(day) + ". " + monthName + " " + YearText(year, '.');
    }
    return monthName + " " + std::to_string(day) + ", " + YearText(year, ',');
}

std::string ShortDateText(std::int32_t jdn) {
    int year = 0, month = 0, day = 0;
    if (!JdnToDate(jdn, year, month, day)) {
        return {};
    }
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_wday =
        static_cast<int>(chr::weekday{chr::sys_days{chr::days{jdn - kUnixEpochJdn}}}.c_encoding());
    std::wostringstream out;
    out.imbue(UserLocale());
    const wchar_t format[] = L"%x";
    std::use_facet<std::time_put<wchar_t>>(out.getloc())
        .put(std::ostreambuf_iterator<wchar_t>(out), out, L' ', &when, std::begin(format),
             std::end(format) - 1);
    std::u32string chars;
    for (const wchar_t c : out.str()) {
        chars.push_back(static_cast<char32_t>(c));
    }
    return EncodeUtf8(chars);
}

}  // namespace vorlane
