#include <charconv>

#include "cli/OperationCommands.h"
#include "cli/TargetOptions.h"
#include "cli/TerminalInterface.h"
#include "cli/Usage.h"
#include "operation/PurgeCommands.h"

namespace vorlane::cli {
namespace {

std::optional<float> ParseSpeed(const Arguments& args, std::string& problem) {
    const auto text = args.Value("--speed");
    if (!text) {
        return std::nullopt;
    }
    float speed = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), speed);
    if (error != std::errc() || end != text->data() + text->size() || !(speed > 0)) {
        problem = "--speed wants a positive number of MB per second, not " + *text;
    }
    return speed;
}

}  // namespace

int RunListCommand(const std::vector<std::string>& words) {
    std::set<std::string> flags = TargetFlags();
    flags.insert("--folders");
    std::set<std::string> valued = TargetValuedOptions();
    valued.insert("--speed");
    Arguments args(words, flags, valued);
    if (!args.Valid() || !args.Words().empty()) {
        return UsageError(args.Valid() ? "unexpected " + args.Words().front() : args.Error());
    }
    std::string problem;
    auto choices = TargetChoices(args, problem);
    const auto speed = ParseSpeed(args, problem);
    if (!choices || !problem.empty()) {
        return UsageError(problem);
    }
    AddDriveSpeed(*choices, speed);
    TerminalInterface terminal(false, false);
    if (!CheckTarget(*choices, terminal, false)) {
        return 1;
    }
    OperationControl control;
    const OperationResult result = RunList(*choices, terminal, control, args.Has("--folders"));
    return result.ran && !result.stopped ? 0 : 1;
}

}  // namespace vorlane::cli
