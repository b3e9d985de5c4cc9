#include "cli/CommandOutput.h"

#include <unistd.h>

#include <iostream>

#include "cli/FileRecordText.h"
#include "cli/Help.h"
#include "cli/JsonObject.h"
#include "support/Strings.h"

namespace vorlane::cli {
namespace {

bool Failed(const FileRecord& record) {
    if (!record.result) {
        return false;
    }
    const Seriousness seriousness = SeriousnessOf(record.result->outcome);
    return seriousness == Seriousness::Failed || seriousness == Seriousness::Damaged;
}

// A name in quotes, as rm quotes it; control characters cannot forge a line.
std::string Quoted(const std::string& path) {
    return "'" + ShownName(path) + "'";
}

}  // namespace

OutputStyle OutputStyleFrom(const Options& options) {
    return {options.Has("--json"), options.Has("--verbose"), options.Has("--quiet")};
}

std::string OutputStyleConflict(const OutputStyle& style) {
    // Standard output holds JSON alone: a line naming a file would break a parser.
    return style.json && style.verbose ? "options '--json' and '--verbose' cannot be combined"
                                       : std::string();
}

CommandOutput::CommandOutput(const OutputStyle& style, std::string command, SummaryCounts counts)
    : style_(style), command_(std::move(command)), counts_(counts) {}

std::ostream& CommandOutput::Report() {
    if (style_.quiet) {
        return nowhere_;
    }
    return style_.json ? std::cerr : std::cout;
}

int CommandOutput::ReportDescriptor() const {
    if (style_.quiet) {
        return -1;
    }
    return style_.json ? STDERR_FILENO : STDOUT_FILENO;
}

void CommandOutput::FileEnded(const FileRecord& record) {
    ++files_;
    if (record.purged || !record.result) {
        ++purged_;
        bytes_ += record.size;
    } else if (Failed(record)) {
        ++failed_;
    } else {
        ++leftAlone_;
    }
    if (style_.json) {
        std::cout << RecordJson(record) << '\n' << std::flush;
    } else if (style_.verbose && (style_.quiet || !reportNamesEachFile_)) {
        std::cout << (record.purged
                          ? "purged " + Quoted(record.path)
                          : "not purged " + Quoted(record.path) + ": " + ResultText(record))
                  << '\n'
                  << std::flush;
    }
    if (Failed(record)) {
        PrintError(Quoted(record.path) + ": " + ResultText(record));
    }
}

void CommandOutput::AddToSummary(std::string_view key, std::int64_t value) {
    extra_.emplace_back(std::string(key), value);
}

void CommandOutput::AddToSummary(std::string_view key, std::string_view value) {
    extra_.emplace_back(std::string(key), std::string(value));
}

int CommandOutput::Finish(int exitStatus) {
    if (style_.quiet && failed_ > 0) {
        PrintError(std::to_string(failed_) + " of " + std::to_string(files_) +
                   (files_ == 1 ? " file" : " files") + " not purged");
    }
    if (!style_.json) {
        return exitStatus;
    }
    JsonObject summary;
    summary.Add("summary", true).Add("command", command_);
    if (counts_ == SummaryCounts::Listing) {
        summary.Add("files", files_).Add("bytes", bytes_);
    } else if (counts_ == SummaryCounts::Purges) {
        summary.Add("files", files_).Add("purged", purged_).Add("left_alone", leftAlone_);
        summary.Add("failed", failed_).Add("bytes_purged", bytes_);
    }
    for (const auto& [key, value] : extra_) {
        std::visit([&, &key = key](const auto& v) { summary.Add(key, v); }, value);
    }
    summary.Add("exit_status", exitStatus);
    std::cout << summary.Text() << '\n' << std::flush;
    return exitStatus;
}

}  // namespace vorlane::cli
