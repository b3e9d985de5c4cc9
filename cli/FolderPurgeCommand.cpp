#include <algorithm>
#include <iostream>

#include "cli/OperationCommands.h"
#include "cli/TargetOptions.h"
#include "cli/TerminalInterface.h"
#include "cli/Usage.h"
#include "operation/PurgeCommands.h"
#include "operation/SetupChoices.h"
#include "tools/SetupFile.h"

namespace vorlane::cli {
namespace {

constexpr int kExitNotAllPurged = 1;

const std::set<std::string> kOptionFlags{"--keep",      "--no-read-only",      "--system",
                                         "--sensitive", "--file-names",        "--confirm-each",
                                         "--yes",       "--keep-empty-folders"};

PurgeOptions OptionsFrom(const Arguments& args) {
    PurgeOptions options;
    options.doNotDeletePurgedFiles = args.Has("--keep");
    options.okToPurgeReadOnlyFiles = !args.Has("--no-read-only");
    options.okToPurgeSystemFiles = args.Has("--system");
    options.okToPurgeSensitiveFiles = args.Has("--sensitive");
    options.folderNamesOnly = !args.Has("--file-names");
    options.confirmFiles = args.Has("--confirm-each");
    options.deleteEmptyFolders = !args.Has("--keep-empty-folders");
    return options;
}

int Purge(OperationChoices choices, bool assumeYes) {
    AddDriveSpeed(choices, std::nullopt);
    TerminalInterface terminal(assumeYes, TerminalInterface::StandardInputIsTerminal());
    if (!CheckTarget(choices, terminal, true)) {
        return kExitNotAllPurged;
    }
    OperationControl control;
    const OperationResult result = RunPurge(choices, terminal, control);
    if (terminal.PurgeNotConfirmed()) {
        return kExitUsage;
    }
    // A folder left whole (unreadable, another volume) holds files that were not purged.
    const bool allPurged = result.ran && !result.stopped &&
                           result.state.purgedFileCount == result.state.fileCount &&
                           result.state.foldersNotPurged == 0;
    return allPurged ? 0 : kExitNotAllPurged;
}

int PurgeFromSetup(const Arguments& args) {
    const std::string path = *args.Value("--setup");
    Setup setup;
    if (!LoadSetupFromFile(path, setup)) {
        std::cerr << "Error when attempting to load setup from file " << path << "!\n";
        return kExitNotAllPurged;
    }
    OperationChoices choices = ChoicesFromSetup(setup);
    choices.targetFolder = AbsoluteFolder(choices.targetFolder);
    return Purge(choices, args.Has("--yes"));
}

}  // namespace

bool IsOperationPurge(const std::vector<std::string>& words) {
    return std::any_of(words.begin(), words.end(), [](const std::string& word) {
        return word == "--folder" || word == "--setup";
    });
}

int RunFolderPurgeCommand(const std::vector<std::string>& words) {
    std::set<std::string> flags = TargetFlags();
    flags.insert(kOptionFlags.begin(), kOptionFlags.end());
    std::set<std::string> valued = TargetValuedOptions();
    valued.insert("--setup");
    Arguments args(words, flags, valued);
    if (!args.Valid() || !args.Words().empty()) {
        return UsageError(args.Valid() ? "unexpected " + args.Words().front() : args.Error());
    }
    if (args.Value("--setup")) {
        // The operation file holds every choice; another option would be silently lost.
        for (const std::string& option : flags) {
            if (option != "--yes" && args.Has(option)) {
                return UsageError(option + " cannot be combined with --setup");
            }
        }
        for (const std::string& option : valued) {
            if (option != "--setup" && args.Value(option)) {
                return UsageError(option + " cannot be combined with --setup");
            }
        }
        return PurgeFromSetup(args);
    }
    std::string problem;
    auto choices = TargetChoices(args, problem);
    if (!choices) {
        return UsageError(problem);
    }
    choices->options = OptionsFrom(args);
    return Purge(*choices, args.Has("--yes"));
}

}  // namespace vorlane::cli
