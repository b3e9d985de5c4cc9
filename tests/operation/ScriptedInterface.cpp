#include "operation/ScriptedInterface.h"

#include <algorithm>

namespace vorlane::testing {

MessageAnswer ScriptedInterface::Ask(const Question& question) {
    asked.push_back(question);
    if (answers.empty()) {
        return question.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedInterface::ConfirmPurge(const std::string& message, const std::string&,
                                     PurgeOptions&) {
    confirmation = message;
    return confirmPurge;
}

FileConfirmation ScriptedInterface::ConfirmFile(const std::string& fileText) {
    confirmedFiles.push_back(fileText);
    if (confirmations.empty()) {
        return FileConfirmation::No;
    }
    const FileConfirmation answer = confirmations.front();
    confirmations.pop_front();
    return answer;
}

void ScriptedInterface::AppendReport(std::string_view piece) {
    ++appendEvents;
    lastReport.append(piece);
    if (onReport) {
        onReport(lastReport);
    }
}

void ScriptedInterface::ReplaceReportTail(std::size_t keptBytes, std::string_view tail) {
    ++replaceEvents;
    lastReport.resize(std::min(keptBytes, lastReport.size()));
    lastReport.append(tail);
    if (onReport) {
        onReport(lastReport);
    }
}

void ScriptedInterface::ShowPhase(ReportPhase phase, std::string_view /*pausedDone*/) {
    if (onPhase) {
        onPhase(phase);
    }
}

void ScriptedInterface::ShowProgress(std::string_view text) {
    progress.emplace_back(text);
    if (onProgress) {
        onProgress(progress.back());
    }
}

}  // namespace vorlane::testing
