#include "selection/MainState.h"

#include <cmath>
#include <utility>

#include "operation/EstimatedTimes.h"
#include "operation/SetupChoices.h"
#include "support/Folders.h"
#include "support/ProgramText.h"
#include "support/Strings.h"

namespace vorlane {

namespace {

constexpr int kNotSpecifiedText = 4;
constexpr int kProductNameText = 2;
constexpr int kMakerNameText = 310;

}  // namespace

OperationChoices NothingChosen() {
    OperationChoices none;
    none.targetFilespec.clear();
    return none;
}

void ResetState(MainState& state) {
    state = MainState{};
    state.notSpecified = GetText(kNotSpecifiedText);
    state.userSetupFilePath = UserDataFilePath(LowerCaseText(GetText(kProductNameText)) + ".usr",
                                               GetText(kMakerNameText));
}

bool TargetSpecified(const MainState& state) {
    return !state.choices.targetFolder.empty() && !state.choices.targetFilespec.empty();
}

OperationChoices ChoicesOf(const MainState& state) {
    OperationChoices choices = state.choices;
    choices.specRule =
        state.singleFileTarget ? FileSpecRule::OneFile : FileSpecRule::NameAndExtension;
    choices.purgeType = state.purgeType.GetPurgeType();
    choices.numberOfPasses = state.purgeType.GetNumberOfPasses();
    return choices;
}

Setup SetupOf(const MainState& state) {
    Setup setup = SetupFromChoices(ChoicesOf(state));
    // The same first line as vorlane-cli writes, so that the two kinds of file agree.
    setup.versionText = VORLANE_SETUP_VERSION;
    return setup;
}

void ApplySetup(MainState& state, const Setup& setup) {
    const OperationChoices choices = ChoicesFromSetup(setup);
    state.singleFileTarget = choices.specRule == FileSpecRule::OneFile;
    state.purgeType.SelectType(choices.purgeType);
    state.purgeType.SetPassesOf(choices.purgeType, choices.numberOfPasses);
    // A setup holds no drive speeds and no guards: those the state keeps.
    OperationChoices taken = choices;
    taken.safety = state.choices.safety;
    taken.batchSmallFiles = state.choices.batchSmallFiles;
    taken.drivePurgeSpeeds = state.choices.drivePurgeSpeeds;
    state.choices = std::move(taken);
}

bool LoadSetupForNextRun(MainState& state) {
    if (state.userSetupFilePath.empty() || !EntryExists(state.userSetupFilePath)) {
        return false;
    }
    // Read into a copy: a file that fails part-way must not leave half its choices.
    Setup setup = SetupOf(state);
    if (!LoadSetupFromFile(state.userSetupFilePath, setup)) {
        return false;
    }
    ApplySetup(state, setup);
    RememberSetup(setup, state.remembered);
    return true;
}

std::optional<std::int32_t> SingleFileEstimateSeconds(double bytes, float speed, int overwrites,
                                                      double adjustA, double adjustB) {
    if (speed <= 0) {
        return std::nullopt;
    }
    const double megabytes = bytes / kBytesPerMegabyte;
    if (megabytes <= 0) {
        return 0;
    }
    const std::int32_t plain = RoundToInt(overwrites * megabytes / speed);
    return RoundToInt(plain * adjustA / std::pow(megabytes, adjustB));
}

}  // namespace vorlane
