#include "support/UserLocale.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "support/Utf8.h"

namespace vorlane {
namespace {

std::mutex& LocaleMutex() {
    static std::mutex mutex;
    return mutex;
}

std::locale& CurrentLocale() {
    static std::locale locale = [] {
        try {
            return std::locale("");
        } catch (const std::runtime_error&) {
            return std::locale::classic();
        }
    }();
    return locale;
}

// Inserts the separator into a run of digits as the grouping string asks: its
// bytes are group sizes from the right, the last one repeating.
std::string GroupDigits(const std::string& digits, const std::string& grouping,
                        const std::string& separator) {
    if (grouping.empty() || separator.empty()) {
        return digits;
    }
    std::string out;
    std::size_t remaining = digits.size();
    std::size_t groupIndex = 0;
    std::vector<std::string> groups;
    while (remaining > 0) {
        const char size = grouping[std::min(groupIndex, grouping.size() - 1)];
        if (size <= 0 || size == CHAR_MAX) {
            groups.push_back(digits.substr(0, remaining));
            break;
        }
        const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(size), remaining);
        groups.push_back(digits.substr(remaining - take, take));
        remaining -= take;
        ++groupIndex;
    }
    for (auto it = groups.rbegin(); it != groups.rend(); ++it) {
        if (!out.empty()) {
            out += separator;
        }
        out += *it;
    }
    return out;
}

}  // namespace

std::locale UserLocale() {
    std::lock_guard lock(LocaleMutex());
    return CurrentLocale();
}

void SetUserLocale(const std::locale& locale) {
    std::lock_guard lock(LocaleMutex());
    CurrentLocale() = locale;
}

std::string GroupedNumberText(double value, int decimals) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, std::clamp(decimals, 0, 30));
    if (result.ec != std::errc()) {
        return {};
    }
    std::string plain(buffer, result.ptr);
    std::string sign;
    if (!plain.empty() && plain.front() == '-') {
        sign = "-";
        plain.erase(0, 1);
    }
    const std::size_t point = plain.find('.');
    const std::string whole = plain.substr(0, point);
    if (whole.empty() || whole.find_first_not_of("0123456789") != std::string::npos) {
        return sign + plain;  // inf or nan
    }
    const std::locale locale = UserLocale();
    const auto& punct = std::use_facet<std::numpunct<wchar_t>>(locale);
    std::string text = sign + GroupDigits(whole, punct.grouping(),
                                          EncodeUtf8(static_cast<char32_t>(punct.thousands_sep())));
    if (point != std::string::npos) {
        text += EncodeUtf8(static_cast<char32_t>(punct.decimal_point()));
        text += plain.substr(point + 1);
    }
    return text;
}

}  // namespace vorlane
