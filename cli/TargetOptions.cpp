#include "cli/TargetOptions.h"

#include <cstdio>

#include "engine/DriveInfo.h"
#include "engine/PurgeTypes.h"
#include "platform/MountTable.h"
#include "support/Dates.h"
#include "tools/DriveSpeeds.h"

namespace vorlane::cli {
namespace {

std::optional<std::int32_t> ParseDay(const std::string& text) {
    int year = 0;
    int month = 0;
    int day = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d%c", &year, &month, &day, &tail) != 3 ||
        !IsValidDate(year, month, day)) {
        return std::nullopt;
    }
    return DateToJdn(year, month, day);
}

}  // namespace

bool ReadPurgeTypeAndPasses(Arguments& args, int& purgeType, int& passes) {
    const auto type = args.IntValue("--type", 1, kPurgeTypeCount);
    if (!args.Valid()) {
        return false;
    }
    purgeType = type.value_or(1) - 1;
    const auto given = args.IntValue("--passes", kMinNumberOfPasses, MaxNumPasses(purgeType));
    passes = given.value_or(DefaultNumPasses(purgeType));
    return args.Valid();
}

std::string AbsoluteFolder(const std::string& folder) {
    return folder.empty() ? folder : platform::ResolvePath(folder);
}

std::set<std::string> TargetFlags() {
    return {"--subfolders"};
}

std::set<std::string> TargetValuedOptions() {
    return {"--folder", "--spec", "--before", "--type", "--passes"};
}

std::optional<OperationChoices> TargetChoices(Arguments& args, std::string& problem) {
    OperationChoices choices;
    const auto folder = args.Value("--folder");
    if (!folder || folder->empty()) {
        problem = "--folder DIR is required";
        return std::nullopt;
    }
    choices.targetFolder = AbsoluteFolder(*folder);
    choices.targetFilespec = args.Value("--spec").value_or("*.*");
    choices.subdirectories = args.Has("--subfolders");
    if (const auto before = args.Value("--before")) {
        const auto day = ParseDay(*before);
        if (!day) {
            problem = "--before wants a date as YYYY-MM-DD, not " + *before;
            return std::nullopt;
        }
        choices.dateRestriction = {true, *day};
    }
    if (!ReadPurgeTypeAndPasses(args, choices.purgeType, choices.numberOfPasses)) {
        problem = args.Error();
        return std::nullopt;
    }
    return choices;
}

void AddDriveSpeed(OperationChoices& choices, std::optional<float> givenSpeed) {
    const std::string drive = DriveOfPath(choices.targetFolder);
    const float speed = givenSpeed ? *givenSpeed : StoredDriveSpeed(drive);
    if (speed > 0) {
        choices.drivePurgeSpeeds[drive] = speed;
    }
}

}  // namespace vorlane::cli
