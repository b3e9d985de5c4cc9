#include <iostream>
#include <optional>
#include <set>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/FileList.h"
#include "cli/Help.h"
#include "cli/OptionTables.h"
#include "cli/ProgressLine.h"
#include "cli/TargetOptions.h"
#include "cli/TerminalInterface.h"
#include "engine/FilePurge.h"
#include "engine/PurgeTypes.h"
#include "operation/Operation.h"
#include "operation/OperationChoices.h"
#include "platform/FolderWalk.h"
#include "platform/Platform.h"
#include "platform/Terminal.h"
#include "platform/VolumeTable.h"
#include "support/PathChecks.h"
#include "support/Strings.h"

namespace vorlane::cli {
namespace {

// One call for every pass, as a folder purge makes it: one descriptor for all of them.
// A stop, between passes or inside an overwrite, leaves the file unpurged at its size.
FileRecord PurgeFile(FilePurger& purger, const std::string& path, const OperationChoices& choices,
                     const StopRequest& stop, ProgressLine& progress) {
    const platform::FileStatus status = platform::Sys().StatNoFollow(path);
    const std::int64_t size = status.kind == platform::FileKind::Regular ? status.size : 0;
    const int passes = choices.numberOfPasses;
    int passesDone = 0;
    PurgeHooks hooks;
    hooks.betweenPasses = [&](int done) {
        passesDone = done;
        progress.StartPass(path, done + 1, passes, size);
        return !stop.Requested();
    };
    hooks.stopRequested = [&stop] { return stop.Requested(); };
    progress.StartPass(path, 1, passes, size);
    const FileResult result = PurgeFileAtPath(purger, path, PurgeRequestFor(choices), hooks);
    progress.StartPass(path, 0, passes, size);
    return {path, size, result, result.Purged(), PassesWritten(result.outcome, passes, passesDone)};
}

// Once per volume: where overwriting in place cannot reach the old data.
void NoteCopyOnWrite(const platform::VolumeTable& volumes, const std::string& path,
                     std::set<dev_t>& noted, std::ostream& report) {
    platform::UniqueFd folder;
    platform::FileStatus status;
    if (platform::Sys().OpenFolderPath(platform::SplitPath(path).folder, folder, status) ||
        !noted.insert(status.device).second) {
        return;
    }
    const std::string note = CopyOnWriteNote(volumes, folder.Get());
    if (!note.empty()) {
        report << note << '\n';
    }
}

std::string LineText(const FileResult& result, bool slackOnly) {
    if (result.Purged() && slackOnly) {
        return "slack purged";
    }
    const std::string text = OutcomeText(result, OutcomeForm::Line);
    // Some outcomes say "not purged" themselves; the line says it once.
    const bool saysSo = text.ends_with("not purged.");
    return (result.Purged() || saysSo ? "" : "not purged: ") + text;
}

// The names of the command line, then those of the list, each as one file.
std::vector<ListedName> OperandNames(const Options& options) {
    std::vector<ListedName> names;
    for (const std::string& operand : options.Operands()) {
        names.push_back({operand, 0});
    }
    return names;
}

// Reads the list before anything is touched; the status when it cannot be used.
std::optional<int> AddListedNames(const Options& options, std::vector<ListedName>& names) {
    const std::string source = *options.Value("--files-from");
    if (source == "-" && !options.Has("--yes")) {
        // Answers would be read from the list itself, and names taken for answers.
        PrintError(
            "the list of files comes from standard input, where no answer can be read; "
            "give --yes to purge them");
        return kExitRefused;
    }
    std::vector<ListedName> listed;
    if (const std::error_code unreadable = ReadFileList(source, options.Has("--null"), listed)) {
        PrintError("cannot read the list of files '" + ShownName(ListSourceName(source)) +
                   "': " + platform::SystemErrorText(unreadable));
        return kExitRefused;
    }
    if (names.empty() && listed.empty()) {
        PrintError("'" + ShownName(ListSourceName(source)) + "' names no file");
        return kExitNothingMatched;
    }
    names.insert(names.end(), listed.begin(), listed.end());
    return std::nullopt;
}

// A list's names were never shown to the person, so they are confirmed once.
bool ListConfirmed(const Options& options, std::size_t count, StopRequest& stop) {
    if (options.Has("--yes")) {
        return true;
    }
    const std::string source = ShownName(ListSourceName(*options.Value("--files-from")));
    const std::string text = "Purge " + std::to_string(count) + (count == 1 ? " file" : " files") +
                             ", named in '" + source + "'" +
                             (options.Operands().empty() ? "" : " and on the command line") + "?";
    TerminalInterface terminal({}, stop);
    if (terminal.Ask({text, "File list", MessageButtons::YesNo, 2, MessageIcon::Question}) ==
        MessageAnswer::Yes) {
        return true;
    }
    if (!platform::IsTerminal(platform::kStandardInput)) {
        std::cerr << "No terminal to confirm on; give --yes to purge.\n";
    }
    return false;
}

std::optional<int> OptionFault(const Options& options) {
    constexpr const char* kCommand = "purge";
    const bool listed = options.Has("--files-from");
    for (const std::string& name : options.Given()) {
        if (IsFolderPurgeOnlyOption(name) && !(listed && name == "--yes")) {
            return UsageError(kCommand, "option '" + name + "' needs --folder");
        }
    }
    if (options.Has("--null") && !listed) {
        return UsageError(kCommand, "option '--null' needs --files-from");
    }
    if (options.Operands().empty() && !listed) {
        return UsageError(kCommand, "missing file operand");
    }
    return std::nullopt;
}

// The purge of the names, one after the other, with a line for each in the report.
class NamesPurge {
  public:
    NamesPurge(const OperationChoices& choices, std::string source, const StopRequest& stop,
               CommandOutput& output)
        : choices_(choices),
          source_(std::move(source)),
          stop_(stop),
          output_(output),
          progress_(platform::IsTerminal(platform::kStandardError),
                    GetNumOverwritesPerPass(choices.purgeType), [] { return true; }) {}

    // The heaviest exit status of the names purged.
    int Run(const std::vector<ListedName>& names) {
        for (const ListedName& listed : names) {
            if (stop_.Requested()) {
                break;
            }
            FileRecord record;
            const std::string text = Purge(listed, record);
            const std::string shown =
                ListedNameFault(listed).empty()
                    ? listed.name
                    : ListSourceName(source_) + ":" + std::to_string(listed.entry);
            progress_.WithLineCleared([&] {
                output_.Report() << ShownName(shown) << ": " << text << std::endl;
                output_.FileEnded(record);
            });
        }
        return status_;
    }

  private:
    std::string Purge(const ListedName& listed, FileRecord& record) {
        const std::string& path = listed.name;
        if (const std::string fault = ListedNameFault(listed); !fault.empty()) {
            status_ = HeavierExitStatus(status_, kExitNotAllPurged);
            const FileOutcome outcome =
                path.empty() ? FileOutcome::EmptyFileName : FileOutcome::CannotOpen;
            record = {path, 0, FileResult{outcome, {}}, false, 0};
            return "not purged: " + fault;
        }
        if (const std::error_code unreachable = NameLookupError(path)) {
            status_ = HeavierExitStatus(status_, kExitNotAllPurged);
            record = {path, 0, FileResult{FileOutcome::CannotOpen, unreachable}, false, 0};
            return "not purged: " + platform::SystemErrorText(unreachable);
        }
        // The purge resolves the folder once and works from its descriptor from then on.
        progress_.WithLineCleared(
            [&] { NoteCopyOnWrite(volumes_, path, noted_, output_.Report()); });
        record = PurgeFile(purger_, path, choices_, stop_, progress_);
        status_ = HeavierExitStatus(status_, ExitStatusOf(record.result->outcome));
        return LineText(*record.result, choices_.options.purgeSlackOnly);
    }

    const OperationChoices& choices_;
    const std::string source_;
    const StopRequest& stop_;
    CommandOutput& output_;
    ProgressLine progress_;
    FilePurger purger_;
    const platform::VolumeTable volumes_;
    std::set<dev_t> noted_;
    int status_ = kExitAllDone;
};

}  // namespace

int PurgeFiles(Options& options, StopRequest& stop, CommandOutput& output) {
    if (const std::optional<int> fault = OptionFault(options)) {
        return *fault;
    }
    OperationChoices choices;
    if (!ReadPurgeTypeAndPasses(options, choices.purgeType, choices.numberOfPasses)) {
        return UsageError("purge", options.Error());
    }
    std::vector<ListedName> names = OperandNames(options);
    if (options.Has("--files-from")) {
        if (const std::optional<int> refused = AddListedNames(options, names)) {
            return *refused;
        }
    }
    choices.options.doNotDeletePurgedFiles = options.Has("--keep");
    choices.options.purgeSlackOnly = options.Has("--slack-only");
    choices.options.verifyLastOverwrite = options.Has("--verify");
    choices.options.okToPurgeReadOnlyFiles = !options.Has("--no-read-only");
    choices.options.okToPurgeSystemFiles = options.Has("--system");
    choices.safety = SafetyFrom(options);
    LoadProgramTexts();
    if (options.Has("--files-from") && !ListConfirmed(options, names.size(), stop)) {
        return stop.Requested() ? kExitStopped : kExitRefused;
    }
    output.ReportNamesEachFile();
    NamesPurge purge(choices, options.Value("--files-from").value_or(""), stop, output);
    const int status = purge.Run(names);
    return stop.Requested() ? kExitStopped : status;
}

}  // namespace vorlane::cli
