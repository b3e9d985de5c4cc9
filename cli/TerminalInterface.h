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
    void ShowReport(std::string_view text) override;
    void ShowPhase(ReportPhase phase, std::string_view pausedDone) override;
    void ReportFinished(std::string_view text) override;
    void ShowProgress(std::string_view text) override;

  private:
    // Writes the text from what was printed up to `end`.
    void PrintUpTo(std::string_view text, std::size_t end);
    // One letter of `choices`, or 0 at end of input.
    char ReadChoice(const std::string& prompt, const std::string& choices, char fallback);

    bool assumeYes_;
    bool interactive_;
    bool purgeNotConfirmed_ = false;
    std::string printed_;  // the report text already on standard output
};

}  // namespace vorlane::cli
