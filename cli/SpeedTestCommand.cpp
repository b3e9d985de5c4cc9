#include "cli/SpeedTestCommand.h"

#include <iostream>

#include "cli/Arguments.h"
#include "cli/TargetOptions.h"
#include "cli/TerminalInterface.h"
#include "cli/Usage.h"
#include "engine/DriveInfo.h"
#include "engine/PurgeTypes.h"
#include "operation/SpeedTestCommand.h"

namespace vorlane::cli {
namespace {

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

int RunSpeedTestCommand(const std::vector<std::string>& words) {
    Arguments args(words, {}, {"--drive", "--type", "--passes"});
    int purgeType = 0;
    int passes = 1;
    if (!args.Valid() || !args.Words().empty() ||
        !ReadPurgeTypeAndPasses(args, purgeType, passes)) {
        return UsageError(args.Valid() && !args.Words().empty()
                              ? "unexpected " + args.Words().front()
                              : args.Error());
    }
    const std::string place = AbsoluteFolder(args.Value("--drive").value_or("."));
    const std::string drive = DriveOfPath(place);
    if (drive.empty()) {
        std::cerr << "vorlane-cli: " << place << " lies on no volume that can be tested\n";
        return 1;
    }
    if (drive != place) {
        std::cerr << "Testing the volume mounted at " << drive << ", which holds " << place
                  << ".\n";
    }
    SpeedTestTerminal terminal(false, TerminalInterface::StandardInputIsTerminal());
    SpeedTestSettings settings{purgeType, passes, GetNumOverwritesPerPass(purgeType) * passes,
                               nullptr};
    DriveSpeedTable speeds;
    const SpeedTestOutcome outcome = MeasureDriveSpeed(drive, settings, speeds, terminal, kTitle);
    if (!outcome.label.empty()) {
        std::cout << outcome.label << "\n";
    }
    return outcome.measured ? 0 : 1;
}

}  // namespace vorlane::cli
