#pragma once
// Answers an operation's questions from a script and records what it was told.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "operation/OperationInterface.h"

namespace vorlane::testing {

class ScriptedInterface : public OperationInterface {
  public:
    std::deque<MessageAnswer> answers;  // for Ask, in order; Ok/No when exhausted
    std::deque<FileConfirmation> confirmations;
    bool confirmPurge = true;

    std::vector<Question> asked;
    std::string confirmation;  // the last confirmation's message
    std::vector<std::string> confirmedFiles;
    std::string lastReport;  // the report as the events built it
    int appendEvents = 0;
    int replaceEvents = 0;
    std::string finishedReport;
    std::vector<std::string> captions;
    // Called with the report each time it is shown: a test presses buttons here.
    std::function<void(const std::string&)> onReport;
    std::function<void(ReportPhase)> onPhase;
    std::vector<std::string> progress;  // the main window's progress label, each time
    std::function<void(const std::string&)> onProgress;

    MessageAnswer Ask(const Question& question) override;
    bool ConfirmPurge(const std::string& message, const std::string& yesCaption,
                      PurgeOptions& options) override;
    FileConfirmation ConfirmFile(const std::string& fileText) override;
    void AppendReport(std::string_view piece) override;
    void ReplaceReportTail(std::size_t keptBytes, std::string_view tail) override;
    void ShowPhase(ReportPhase phase, std::string_view pausedDone) override;
    void ReportFinished(std::string_view text) override { finishedReport = text; }
    void ShowCaption(std::string_view caption) override { captions.emplace_back(caption); }
    void ShowProgress(std::string_view text) override;
};

}  // namespace vorlane::testing
