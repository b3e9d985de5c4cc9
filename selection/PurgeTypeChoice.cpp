#include "selection/PurgeTypeChoice.h"

#include "operation/OperationChoices.h"

namespace vorlane {

void PurgeTypeChoice::Initialization() {
    type_ = 0;
    for (int type = 0; type < kPurgeTypeCount; ++type) {
        passes_[type] = DefaultNumPasses(type);
    }
}

int PurgeTypeChoice::PassesOf(int purgeType) const {
    return IsValidPurgeType(purgeType) ? passes_[purgeType] : 0;
}

void PurgeTypeChoice::SelectType(int purgeType) {
    if (IsValidPurgeType(purgeType)) {
        type_ = purgeType;
    }
}

void PurgeTypeChoice::SetPassesOf(int purgeType, int passes) {
    if (IsValidNumPasses(purgeType, passes)) {
        passes_[purgeType] = passes;
    }
}

std::string PurgeTypeChoice::Caption() const {
    return TypeOfPurgeCaption(type_, GetNumberOfPasses());
}

std::string PurgeTypeAcceptQuestion(int overwrites) {
    const std::string times = overwrites == 2 ? "twice." : std::to_string(overwrites) + " times.";
    return "In the type of purge specified each file will be overwritten " + times +
           "\nIs this OK?";
}

}  // namespace vorlane
