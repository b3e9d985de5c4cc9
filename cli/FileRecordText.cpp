#include "cli/FileRecordText.h"

#include <algorithm>
#include <iterator>

#include "cli/JsonObject.h"

namespace vorlane::cli {
namespace {

using enum FileOutcome;

struct ResultName {
    FileOutcome outcome;
    const char* word;
};

// Scripts match on these words: an outcome keeps its word for good, and a new outcome
// gets a new word.
constexpr ResultName kWords[] = {
    {Ok, "purged"},
    {ExcludedProgramFolder, "excluded-program-folder"},
    {ExcludedSwapFile, "excluded-swap-file"},
    {ExcludedTrashDesktopIni, "excluded-trash-desktop-ini"},
    {SensitiveUndecided, "sensitive-extension"},
    {SensitiveRefused, "sensitive-extension-refused"},
    {EmptyFileName, "empty-file-name"},
    {CannotOpen, "cannot-open"},
    {NotDeleted, "not-deleted"},
    {InvalidPurgeType, "invalid-purge-type"},
    {InvalidClusterSize, "invalid-cluster-size"},
    {SymbolicLink, "symbolic-link"},
    {NotRegularFile, "not-regular-file"},
    {CannotOpenForWriting, "cannot-open-for-writing"},
    {WriteFailed, "write-failed"},
    {FlushFailed, "flush-failed"},
    {FileChanged, "file-changed"},
    {InvalidNumberOfPasses, "invalid-number-of-passes"},
    {HardLinks, "hard-links"},
    {Stopped, "stopped"},
    {GrewDuringPurge, "grew-during-purge"},
    {MountPoint, "mount-point"},
    {PseudoFileSystem, "pseudo-file-system"},
    {LowerLayer, "lower-layer"},
    {RemovalNotFlushed, "removal-not-flushed"},
    {PartlyOverwritten, "partly-overwritten"},
    {ShrankDuringPurge, "shrank-during-purge"},
    {InUse, "in-use"},
    {OpenedForWritingDuringPurge, "opened-for-writing-during-purge"},
    {VerificationFailed, "verification-failed"},
    {CannotVerify, "cannot-verify"},
    {ReadOnlyNotPermitted, "read-only-not-permitted"},
    {SystemNotPermitted, "system-file-not-permitted"},
};

bool Declined(const FileRecord& record) {
    return record.result && record.result->Purged() && !record.purged;
}

// The report's words without the name before them: ": a file ..., not purged." reads
// "a file ..., not purged".
std::string WithoutReportPunctuation(std::string text) {
    const std::size_t start = text.find_first_not_of(": ");
    text.erase(0, std::min(start, text.size()));
    while (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

void AddCause(JsonObject& json, const std::error_code& cause) {
    if (cause) {
        json.Add("system_cause", cause.message()).Add("errno", cause.value());
    } else {
        json.AddNull("system_cause").AddNull("errno");
    }
}

}  // namespace

std::string ResultWord(const FileRecord& record) {
    if (!record.result) {
        return "listed";
    }
    if (Declined(record)) {
        return "declined";
    }
    const auto* found = std::find_if(
        std::begin(kWords), std::end(kWords),
        [&](const ResultName& name) { return name.outcome == record.result->outcome; });
    return found == std::end(kWords) ? "unknown" : found->word;
}

std::string ResultText(const FileRecord& record) {
    if (!record.result) {
        return "listed";
    }
    if (Declined(record)) {
        return "declined, not purged";
    }
    const std::string line = OutcomeText(*record.result, OutcomeForm::Line, record.path);
    // The exclusions have no words of their own on a line: the report's serve.
    return !line.empty() ? line
                         : WithoutReportPunctuation(
                               OutcomeText(*record.result, OutcomeForm::Report, record.path));
}

std::string RecordJson(const FileRecord& record) {
    JsonObject json;
    json.Add("path", record.path);
    if (!IsValidUtf8(record.path)) {
        json.Add("path_bytes", Base64(record.path));
    }
    json.Add("size", record.size).Add("result", ResultWord(record));
    if (record.result) {
        json.Add("code", static_cast<int>(record.result->outcome))
            .Add("result_text", ResultText(record));
        AddCause(json, record.result->cause);
    } else {
        json.AddNull("code").AddNull("result_text");
        AddCause(json, {});
    }
    json.Add("passes", record.passes).Add("verified", record.result && record.result->verified);
    return json.Text();
}

}  // namespace vorlane::cli
