#include "engine/DateRestriction.h"

#include "engine/FileOperations.h"
#include "support/Folders.h"
#include "support/Strings.h"

namespace vorlane {

bool DayIsCovered(const DateRestriction& restriction, std::optional<std::int32_t> day) {
    return !restriction.active || (day && *day < restriction.onlyBeforeJdn);
}

DateExclusion FileExcludedByDateRestriction(const std::string& path,
                                            const DateRestriction& restriction) {
    if (!restriction.active) {
        return {};
    }
    const std::optional<std::int32_t> day = FileDateJdn(path);
    if (!day) {
        return {true, true, path + "\nError, perhaps invalid file name."};
    }
    if (DayIsCovered(restriction, day)) {
        return {};
    }
    return {true, false,
            "The file " + path + "\nhas a date of " + FileDateTimeText(path, true) + " (" +
                JdnToDateText(*day, false, false) + ")\n" +
                "and so is excluded by the current date restriction."};
}

std::string DateRestrictionText(const DateRestriction& restriction) {
    if (!restriction.active) {
        return "No date restriction";
    }
    return "Purge only files with dates before " + ShortDateText(restriction.onlyBeforeJdn) + " (" +
           JdnToDateText(restriction.onlyBeforeJdn, false, false) + ")";
}

}  // namespace vorlane
