#include "operation/SpeedTestCommand.h"

#include "engine/DriveInfo.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

constexpr int kRuns = 3;

void Tell(OperationInterface& ui, const std::string& text, const std::string& title,
          MessageIcon icon) {
    ui.Ask({text, title, MessageButtons::Ok, 1, icon});
}

// Yes: the stored speed stands; No: test again; Cancel: nothing.
MessageAnswer OfferStoredSpeed(float stored, OperationInterface& ui, const std::string& title) {
    return ui.Ask({"A previous test has found this drive to have\na purge speed of " +
                       GroupedNumberText(stored, 2) +
                       " MB/sec. (1 overwrite).\nDo you wish to accept this value?\nIf not, "
                       "click on 'No' to perform the test again.",
                   title, MessageButtons::YesNoCancel, 1, MessageIcon::Question});
}

bool NeedsMedium(platform::DriveKind kind) {
    return kind == platform::DriveKind::Removable || kind == platform::DriveKind::CdRom;
}

SpeedTestOutcome Outcome(const std::string& drive, const DriveSpeedTable& speeds, bool measured) {
    const float speed = speeds.Speed(drive);
    return {measured, speed, PurgeSpeedLabel(drive, speed)};
}

}  // namespace

std::string SpeedTestQuestion(int driveCount, const std::string& onlyDrive) {
    return (driveCount == 1 ? "This writes test files to Drive " + onlyDrive
                            : std::string("This writes test files to a selected drive")) +
           " and then purges them to test the purge speed so as to get an approximate "
           "estimate of purge time required for other files.\n\nDo you wish to proceed with "
           "this test?";
}

SpeedTestOutcome MeasureDriveSpeed(const std::string& drive, const SpeedTestSettings& settings,
                                   DriveSpeedTable& speeds, OperationInterface& ui,
                                   const std::string& title) {
    const auto volume = platform::Sys().VolumeOf(drive);
    if (volume && NeedsMedium(volume->kind) && !DriveReady(drive)) {
        const char* kind = volume->kind == platform::DriveKind::CdRom ? "CD-ROM" : "disk";
        Tell(ui, std::string("There is no ") + kind + " in Drive " + drive + ".", title,
             MessageIcon::Exclamation);
        return Outcome(drive, speeds, false);
    }
    if (const auto stored = OfferedStoredSpeed(drive)) {
        const MessageAnswer answer = OfferStoredSpeed(*stored, ui, title);
        if (answer == MessageAnswer::Cancel) {
            return Outcome(drive, speeds, false);
        }
        if (answer == MessageAnswer::Yes) {
            speeds.Accept(drive, *stored);
            return Outcome(drive, speeds, true);
        }
    }
    for (int run = 1; run <= kRuns; ++run) {
        ui.ShowProgress("Testing Drive " + drive + " ... " + std::to_string(run));
        const SpeedRun result = RunSpeedTest(drive, settings);
        ui.ShowProgress("");
        if (result.result != SpeedRunResult::Measured) {
            speeds.Clear(drive);
            if (!result.message.empty()) {
                const bool note = result.result == SpeedRunResult::NoDiskInfo ||
                                  result.result == SpeedRunResult::NoSpace;
                Tell(ui, result.message, title,
                     note ? MessageIcon::Information : MessageIcon::Exclamation);
            }
            return Outcome(drive, speeds, false);
        }
        const float mean = speeds.Update(drive, result.speed);
        if (run == kRuns) {
            Tell(ui, SpeedResultText(mean, settings.overwrites, settings.numberOfPasses), title,
                 MessageIcon::Information);
        }
    }
    StoreDriveSpeed(drive, speeds.Speed(drive));
    return Outcome(drive, speeds, true);
}

}  // namespace vorlane
