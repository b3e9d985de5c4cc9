#pragma once
// Every finished report is also kept as a file of its own, so that what a purge did can
// be read again after the window closed or the terminal scrolled away:
// $XDG_STATE_HOME/vorlane/reports/YYYY-MM-DD-hhmmss-<operation>.txt, local time, the
// newest kReportsKept of them. The folder is the user's alone (0700) and so is each
// report (0600): reports name the user's files. A report that cannot be kept never
// fails the operation that wrote it.

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

#include "operation/OperationInterface.h"

namespace vorlane {

inline constexpr std::size_t kReportsKept = 200;

// The operations' words in the names of their reports.
inline constexpr std::string_view kPurgeReport = "purge";
inline constexpr std::string_view kListReport = "list";
inline constexpr std::string_view kFreeSpaceReport = "purge-free-space";

// $XDG_STATE_HOME/vorlane/reports, or ~/.local/state/vorlane/reports when that is not an
// absolute path; empty when neither can be named.
std::string KeptReportsFolder();

// Whether reports are kept: the setting "KeepReports", on unless it says "0".
bool ReportKeepingOn();
[[nodiscard]] std::error_code SetReportKeeping(bool on);

// Writes text as a new report of `operation` and removes the oldest beyond `limit`
// (only names of kept reports, never anything else in the folder). savedName: the
// report's name in the folder.
[[nodiscard]] std::error_code KeepReport(std::string_view operation, std::string_view text,
                                         std::string& savedName, std::size_t limit = kReportsKept);

// Whether a name is one KeepReport gives.
bool IsKeptReportName(std::string_view name);

// At the end of an operation: keeps its report when the setting (and `wanted`, the run's
// own choice) allows, and tells the person once, without a question, when it could not.
void KeepFinishedReport(OperationInterface& ui, std::string_view operation, std::string_view text,
                        bool wanted = true);

// "Save as…": the report as shown, to a file the person named.
[[nodiscard]] std::error_code SaveReportAs(const std::string& path, std::string_view text);

}  // namespace vorlane
