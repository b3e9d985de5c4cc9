#include "engine/PurgeTypes.h"

#include <array>

namespace vorlane {
namespace {

constexpr std::array<PatternSelector, 2> kType0{kRandomPattern, 0x00};
constexpr std::array<PatternSelector, 3> kType1{0xAA, 0x55, 0x00};
constexpr std::array<PatternSelector, 6> kType2{0xAA, 0x55, kRandomPattern,
                                                0x0A, 0xF5, kRandomPattern};
constexpr std::array<int, kPurgeTypeCount> kMaxPasses{9, 8, 4};
constexpr std::array<int, kPurgeTypeCount> kDefaultPasses{6, 4, 2};
constexpr std::array<const char*, kPurgeTypeCount> kShortNames{
    "random bytes plus zeros", "alternate bit patterns plus zeros",
    "alternate bit patterns plus random bytes twice"};

}  // namespace

bool IsValidPurgeType(int purgeType) {
    return purgeType >= 0 && purgeType < kPurgeTypeCount;
}

std::span<const PatternSelector> OverwriteSequence(int purgeType) {
    switch (purgeType) {
        case 0:
            return kType0;
        case 1:
            return kType1;
        case 2:
            return kType2;
        default:
            return {};
    }
}

int GetNumOverwritesPerPass(int purgeType) {
    return static_cast<int>(OverwriteSequence(purgeType).size());
}

int MaxNumPasses(int purgeType) {
    return IsValidPurgeType(purgeType) ? kMaxPasses[purgeType] : 0;
}

int DefaultNumPasses(int purgeType) {
    return IsValidPurgeType(purgeType) ? kDefaultPasses[purgeType] : 0;
}

bool IsValidNumPasses(int purgeType, int passes) {
    return IsValidPurgeType(purgeType) && passes >= kMinNumberOfPasses &&
           passes <= MaxNumPasses(purgeType);
}

std::string PurgeTypeNumPasses(int purgeType, int numberOfPasses) {
    if (!IsValidPurgeType(purgeType)) {
        return {};
    }
    std::string text = kShortNames[purgeType];
    if (numberOfPasses == 1) {
        return text + " once";
    }
    if (numberOfPasses == 2) {
        return text + " twice";
    }
    return text + " " + std::to_string(numberOfPasses) + " times";
}

}  // namespace vorlane
