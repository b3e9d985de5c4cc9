#pragma once
// The file-name and date test that decides which files an operation covers, and
// the check of a single chosen file against the date restriction.

#include <cstdint>
#include <optional>
#include <string>

#include "support/Dates.h"

namespace vorlane {

// Only files whose local modification day lies before onlyBeforeJdn are covered.
struct DateRestriction {
    bool active = false;
    std::int32_t onlyBeforeJdn = kNoDateRestrictionJdn;
};

// What the check of a single file found. When excluded, the message is for the
// person: with an exclamation icon when the date could not be read, otherwise
// with an information icon.
struct DateExclusion {
    bool excluded = false;
    bool dateUnreadable = false;
    std::string message;
};

// The one date rule: a file is covered when no restriction is active, or when its day
// is known and lies strictly before the restriction day (that day itself is not).
bool DayIsCovered(const DateRestriction& restriction, std::optional<std::int32_t> day);

DateExclusion FileExcludedByDateRestriction(const std::string& path,
                                            const DateRestriction& restriction);

// The main window's label: "Purge only files with dates before ..." or
// "No date restriction".
std::string DateRestrictionText(const DateRestriction& restriction);

}  // namespace vorlane
