#include "operation/ConfirmationMessage.h"

#include "engine/DateRestriction.h"
#include "engine/FileOperations.h"
#include "operation/ReportBuffer.h"
#include "support/Strings.h"

namespace vorlane {
namespace {

constexpr int kPathLimit = 100;

std::string JoinPath(const std::string& folder, const std::string& name) {
    return WithTrailingSeparator(folder) + name;
}

// Two or more files, including a count stopped above 1000.
bool ManyFiles(std::optional<std::int32_t> countedFiles) {
    return !countedFiles || *countedFiles >= 2;
}

bool SingleFileFailsDate(const ConfirmationInput& in) {
    if (in.multipleFiles || in.countedFiles != 1 || !in.dateRestriction) {
        return false;
    }
    const std::optional<std::int32_t> jdn =
        FileDateJdn(JoinPath(in.targetFolder, in.targetFilespec));
    return !DayIsCovered({.active = true, .onlyBeforeJdn = in.onlyBeforeJdn}, jdn);
}

std::string WhatToPurge(const ConfirmationInput& in) {
    const std::string count = in.countedFiles ? std::to_string(*in.countedFiles) : "";
    if (in.targetFilespec != kAllFiles) {
        std::string what = "the file";
        if (in.multipleFiles) {
            what = in.countedFiles > 1 ? "the " + count + " files" : "the files";
        }
        return what + std::string(kLineBreak) +
               ShortenPath(JoinPath(in.targetFolder, in.targetFilespec), kPathLimit);
    }
    std::string what = "all " + count + " files in ";
    if (in.countedFiles == 1) {
        what = "the single file in ";
    } else if (in.countedFiles == 2) {
        what = "both files in ";
    } else if (!in.countedFiles) {
        // The count stopped at its limit: there is no number to name.
        what = "all files in ";
    }
    return what + std::string(kLineBreak) + ShortenPath(in.targetFolder, kPathLimit);
}

std::string WhereToPurge(const ConfirmationInput& in) {
    if (!in.subdirectories) {
        return " ?";
    }
    std::string text = std::string(kLineBreak) + "and all files ";
    if (in.targetFilespec != kAllFiles) {
        text += "of the form \"" + in.targetFilespec + "\" ";
    }
    return text + "in all subfolders?";
}

std::string WhatIsDestroyed(const ConfirmationInput& in) {
    if ((!in.multipleFiles && !in.subdirectories) || in.countedFiles == 1) {
        return "this file.";
    }
    if (!in.countedFiles) {
        return "these (more than 1000) files.";
    }
    return "these " + LowerCaseText(NumberWords(*in.countedFiles, false)) + " files.";
}

}  // namespace

ConfirmationMessage BuildConfirmationMessage(const ConfirmationInput& input) {
    if (SingleFileFailsDate(input)) {
        return {};
    }
    std::string text =
        "Are you sure that you want to purge " + WhatToPurge(input) + WhereToPurge(input);
    if (ManyFiles(input.countedFiles) && input.dateRestriction) {
        text += std::string(kLineBreak) + "which satisfy the date restriction.";
    }
    text += std::string(kLineBreak) + "This will permanently destroy all data in " +
            WhatIsDestroyed(input);
    return {true, text};
}

std::string PurgeYesCaption(std::optional<std::int32_t> countedFiles, bool subdirectories) {
    return ManyFiles(countedFiles) || subdirectories ? "Yes, purge these files"
                                                     : "Yes, purge this file";
}

}  // namespace vorlane
