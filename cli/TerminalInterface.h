#pragma once
// The operation's person on a terminal: questions and messages on standard error,
// answers from standard input when it is a terminal, the report on standard output
// exactly as it ends up (LF line ends), and the progress of a purge on standard error
// when that is a terminal. Without a terminal every question is answered No. A stop
// signal answers a waiting question with Cancel (or Stop, or No).

#include <string>

#include "cli/CommandOutput.h"
#include "cli/ProgressLine.h"
#include "cli/ReportPrinter.h"
#include "cli/StopRequest.h"
#include "operation/OperationInterface.h"

namespace vorlane::cli {

struct TerminalSettings {
    bool assumeYes = false;     // answers the purge confirmation
    bool holdReport = false;    // print the report only when it is finished
    int overwritesPerPass = 1;  // for the share of a pass done
    // Where the report and the files' records go; null: the report to standard output.
    CommandOutput* output = nullptr;
};

class TerminalInterface : public OperationInterface {
  public:
    TerminalInterface(const TerminalSettings& settings, StopRequest& stop);

    // True when the purge confirmation was asked and not given: answered No, or nobody
    // at a terminal to answer.
    bool PurgeNotConfirmed() const { return purgeNotConfirmed_; }

    MessageAnswer Ask(const Question& question) override;
    bool ConfirmPurge(const std::string& message, const std::string& yesCaption,
                      PurgeOptions& options) override;
    FileConfirmation ConfirmFile(const std::string& fileText) override;
    void AppendReport(std::string_view piece) override;
    void ReplaceReportTail(std::size_t keptBytes, std::string_view tail) override;
    void ShowPhase(ReportPhase phase, std::string_view pausedDone) override;
    void ReportFinished(std::string_view text) override;
    void ShowProgress(std::string_view text) override;
    // On standard error: the report itself went to standard output whole.
    void ReportNotKept(std::string_view text) override;
    // Every line reaches standard output, however long the report grows.
    bool KeepsWholeReport() const override { return true; }
    void ShowPassProgress(const std::string& path, int pass, int passes,
                          std::int64_t bytes) override;
    void FileEnded(const FileRecord& record) override;

  private:
    // Writes text to standard error with the progress line out of the way.
    void Say(const std::string& text);
    // Prints what of the report, as it reads now, no later edit can change.
    void PrintSettled();
    // One letter of `letters`; `fallback` for an empty line or the end of input, 0
    // when a stop signal came.
    char ReadChoice(const std::string& prompt, const std::string& letters, char fallback);

    TerminalSettings settings_;
    StopRequest& stop_;
    bool interactive_;
    bool outputIsTerminal_;
    bool purgeNotConfirmed_ = false;
    std::string inputBuffer_;
    std::string report_;  // as the operation has told it
    ReportPrinter printer_;
    ProgressLine progress_;  // last: its thread reads the printer
};

}  // namespace vorlane::cli
