#pragma once
// Where a command's words go. The report goes to standard output, or to standard
// error under --json (standard output then holds one JSON object per line and nothing
// else), or nowhere under --quiet. Each file's end is told as a record: a JSON line,
// a line naming the file under --verbose, and a line on standard error for every file
// that failed, in every mode, the way rm names a file it could not remove.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "cli/Options.h"
#include "operation/FileRecord.h"

namespace vorlane::cli {

struct OutputStyle {
    bool json = false;
    bool verbose = false;
    bool quiet = false;
};

// --json, --verbose, --quiet as given; the options a command lacks stay off.
OutputStyle OutputStyleFrom(const Options& options);
// Why the options cannot go together, empty when they can.
std::string OutputStyleConflict(const OutputStyle& style);

// What the summary counts: the files' ends of a purge, the files a listing found, or no
// files at all (the free-space purge gives its own figures).
enum class SummaryCounts { Purges, Listing, Nothing };

class CommandOutput {
  public:
    CommandOutput(const OutputStyle& style, std::string command,
                  SummaryCounts counts = SummaryCounts::Purges);
    CommandOutput(const CommandOutput&) = delete;
    CommandOutput& operator=(const CommandOutput&) = delete;

    const OutputStyle& Style() const { return style_; }
    // The human report's stream, and its descriptor (-1 when it goes nowhere).
    std::ostream& Report();
    int ReportDescriptor() const;

    void FileEnded(const FileRecord& record);
    // The report gives each file a line of its own ("NAME: purged"), so --verbose would
    // only say it twice while the report reaches standard output.
    void ReportNamesEachFile() { reportNamesEachFile_ = true; }
    // A figure of the command's own for the summary, before the exit status.
    void AddToSummary(std::string_view key, std::int64_t value);
    void AddToSummary(std::string_view key, std::string_view value);
    // Ends the output: the summary object under --json, the count of failed files on
    // standard error under --quiet. Returns exitStatus.
    int Finish(int exitStatus);

  private:
    OutputStyle style_;
    std::string command_;
    SummaryCounts counts_;
    bool reportNamesEachFile_ = false;
    std::ostream nowhere_{nullptr};
    std::int64_t files_ = 0;
    std::int64_t purged_ = 0;
    std::int64_t leftAlone_ = 0;
    std::int64_t failed_ = 0;
    std::int64_t bytes_ = 0;  // of the files purged, or listed
    std::vector<std::pair<std::string, std::variant<std::int64_t, std::string>>> extra_;
};

}  // namespace vorlane::cli
