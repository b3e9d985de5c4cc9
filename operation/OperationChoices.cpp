#include "operation/OperationChoices.h"

#include <array>

#include "engine/PurgeTypes.h"
#include "support/Strings.h"
#include "support/Utf8.h"

namespace vorlane {
namespace {

constexpr int kFolderCaptionLimit = 70;
// A single file's long name keeps its start and its extension.
constexpr int kFileCaptionLimit = 70;
constexpr int kFileCaptionKept = 64;
constexpr std::array<const char*, kPurgeTypeCount> kTypeCaptions{
    "Random bytes plus zeros", "Alternate bit patterns plus zeros",
    "Alternate bit patterns plus random bytes twice"};

std::string TimesText(int passes) {
    if (passes == 1) {
        return "once";
    }
    if (passes == 2) {
        return "twice";
    }
    return std::to_string(passes) + " times";
}

}  // namespace

PurgeRequest PurgeRequestFor(const OperationChoices& choices) {
    return {.purgeType = choices.purgeType,
            .passes = choices.numberOfPasses,
            .deleteFile = !choices.options.doNotDeletePurgedFiles,
            .okToPurgeReadOnly = choices.options.okToPurgeReadOnlyFiles,
            .okToPurgeSystem = choices.options.okToPurgeSystemFiles,
            .allowHardLinks = choices.safety.allowHardLinks,
            .slackOnly = choices.options.purgeSlackOnly,
            .verifyLastOverwrite = choices.options.verifyLastOverwrite};
}

bool NamesOneFile(const OperationChoices& choices) {
    return choices.specRule == FileSpecRule::OneFile || !HasWildcard(choices.targetFilespec);
}

std::string FolderCaption(const std::string& targetFolder) {
    return ShortenPath(WithTrailingSeparator(targetFolder), kFolderCaptionLimit);
}

std::string FileSpecCaption(const std::string& targetFilespec) {
    if (HasWildcard(targetFilespec) ||
        DecodeUtf8(targetFilespec).size() <= static_cast<std::size_t>(kFileCaptionLimit)) {
        return targetFilespec;
    }
    return LeftText(targetFilespec, kFileCaptionKept) + "..." +
           FileExtension(targetFilespec, false);
}

std::string TypeOfPurgeCaption(int purgeType, int numberOfPasses) {
    if (!IsValidPurgeType(purgeType)) {
        return {};
    }
    const int overwrites = numberOfPasses * GetNumOverwritesPerPass(purgeType);
    return std::string(kTypeCaptions[purgeType]) + ", " + TimesText(numberOfPasses) +
           " (= " + std::to_string(overwrites) + " overwrite" + (overwrites > 1 ? "s" : "") + ")";
}

float DrivePurgeSpeed(const OperationChoices& choices, const std::string& drive) {
    const auto found = choices.drivePurgeSpeeds.find(drive);
    return found == choices.drivePurgeSpeeds.end() ? 0.0f : found->second;
}

}  // namespace vorlane
