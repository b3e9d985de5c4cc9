#pragma once
// The operation's person on a terminal: questions on standard error, answers from
// standard input when it is a terminal, the report on standard output with line
// breaks of this system. Without a terminal every question is answered No.

#include <string>

#include "operation/OperationInterface.h"

namespace vorlane::cli {

class TerminalInterface : public OperationInterface {
  public:
    // assumeYes answers the purge confirmation; interactive: questions can be answered.
    TerminalInterface(bool assumeYes, bool interactive);

    static bool StandardInputIsTerminal();
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

  private:
    // Writes the report from what was printed up to `end`.
    void PrintUpTo(std::size_t end);
    // Only whole lines: the end of the last one may still be rewritten (pass indicator).
    void PrintWholeLines();
    // One letter of `choices`, or 0 at end of input.
    char ReadChoice(const std::string& prompt, const std::string& choices, char fallback);

    bool assumeYes_;
    bool interactive_;
    bool purgeNotConfirmed_ = false;
    std::string report_;            // the report as the operation has told it
    std::size_t printedBytes_ = 0;  // of that, the bytes already on standard output
};

}  // namespace vorlane::cli
