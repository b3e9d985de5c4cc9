#include "operation/OperationChoices.h"

#include <array>

#include "engine/PurgeTypes.h"
#include "support/Strings.h"

namespace vorlane {
namespace {

constexpr int kFolderCaptionLimit = 70;
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

std::string FolderCaption(const std::string& targetFolder) {
    return ShortenPath(WithTrailingSeparator(targetFolder), kFolderCaptionLimit);
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
