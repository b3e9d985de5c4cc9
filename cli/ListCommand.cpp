#include <charconv>
#include <iostream>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/TargetOptions.h"
#include "cli/TerminalInterface.h"
#include "operation/PurgeCommands.h"

namespace vorlane::cli {
namespace {

constexpr const char* kCommand = "list";

// --speed when given; nothing when not.
Expected<std::optional<float>, UsageFault> ParseSpeed(const Options& options) {
    const auto text = options.Value("--speed");
    if (!text) {
        return std::optional<float>();
    }
    float speed = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), speed);
    if (error != std::errc() || end != text->data() + text->size() || !(speed > 0)) {
        return Unexpected(UsageFault{"invalid value '" + *text +
                                     "' for --speed: MB per second, above 0, is needed"});
    }
    return std::optional<float>(speed);
}

int ListStatus(const OperationResult& result, const StopRequest& stop) {
    if (stop.Requested()) {
        return kExitStopped;
    }
    if (!result.ran) {
        return result.nothingMatched ? kExitNothingMatched : kExitRefused;
    }
    if (result.state.fileCount == 0) {
        return kExitNothingMatched;
    }
    return result.stopped ? kExitNotAllPurged : kExitAllDone;
}

int List(Options& options, StopRequest& stop, CommandOutput& output) {
    auto choices = TargetChoices(options);
    if (!choices) {
        return UsageError(kCommand, choices.error().text);
    }
    const auto speed = ParseSpeed(options);
    if (!speed) {
        return UsageError(kCommand, speed.error().text);
    }
    LoadProgramTexts();
    AddDriveSpeed(*choices, *speed);
    const bool listFolders = options.Has("--folders");
    // Without folder lines a tree's report is only progress marks until the summary
    // replaces them: nothing of it is printed before the end.
    TerminalInterface terminal({false, choices->subdirectories && !listFolders, 1, &output}, stop);
    if (const int refused = CheckTargetForCommand(*choices, terminal, false)) {
        return refused;
    }
    OperationControl control;
    stop.Watch(&control);
    const OperationResult result = RunList(*choices, terminal, control, listFolders);
    stop.Watch(nullptr);
    return ListStatus(result, stop);
}

}  // namespace

int RunListCommand(const std::vector<std::string>& words, StopRequest& stop) {
    const CommandSpec& spec = ListCommandSpec();
    Options options(words, spec.options);
    if (const auto status = FirstChecks(spec, options, false)) {
        return *status;
    }
    CommandOutput output(OutputStyleFrom(options), kCommand, SummaryCounts::Listing);
    return output.Finish(List(options, stop, output));
}

}  // namespace vorlane::cli
