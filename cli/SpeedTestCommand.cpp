#include <iostream>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/OptionTables.h"
#include "cli/TargetOptions.h"
#include "cli/TerminalInterface.h"
#include "engine/DriveInfo.h"
#include "engine/PurgeTypes.h"
#include "operation/SpeedTestCommand.h"

namespace vorlane::cli {
namespace {

constexpr const char* kCommand = "speed-test";
constexpr const char* kTitle = "Test purge speed";

// The result goes to standard output, where a script reads it; questions and failures
// stay on standard error.
class SpeedTestTerminal : public TerminalInterface {
  public:
    using TerminalInterface::TerminalInterface;

    MessageAnswer Ask(const Question& question) override {
        if (question.buttons == MessageButtons::Ok && question.icon == MessageIcon::Information) {
            std::cout << question.text << "\n";
            return MessageAnswer::Ok;
        }
        return TerminalInterface::Ask(question);
    }
};

}  // namespace

int RunSpeedTestCommand(const std::vector<std::string>& words, StopRequest& stop) {
    const CommandSpec& spec = SpeedTestCommandSpec();
    Options options(words, spec.options);
    if (const auto status = FirstChecks(spec, options, false)) {
        return *status;
    }
    int purgeType = 0;
    int passes = 1;
    if (!ReadPurgeTypeAndPasses(options, purgeType, passes)) {
        return UsageError(kCommand, options.Error());
    }
    LoadProgramTexts();
    const std::string place = AbsoluteFolder(options.Value("--drive").value_or("."));
    const std::string drive = DriveOfPath(place);
    if (drive.empty()) {
        std::cerr << "vorlane-cli: " << place << " lies on no volume that can be tested\n";
        return kExitRefused;
    }
    if (drive != place) {
        std::cerr << "Testing the volume mounted at " << drive << ", which holds " << place
                  << ".\n";
    }
    SpeedTestTerminal terminal({false, false, GetNumOverwritesPerPass(purgeType)}, stop);
    SpeedTestSettings settings{purgeType, passes, GetNumOverwritesPerPass(purgeType) * passes,
                               [&stop] { return stop.Requested(); }};
    DriveSpeedTable speeds;
    const SpeedTestOutcome outcome = MeasureDriveSpeed(drive, settings, speeds, terminal, kTitle);
    if (!outcome.label.empty()) {
        std::cout << outcome.label << "\n";
    }
    if (stop.Requested()) {
        return kExitStopped;
    }
    return outcome.measured ? kExitAllDone : kExitNotAllPurged;
}

}  // namespace vorlane::cli
