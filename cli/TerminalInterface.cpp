#include "cli/TerminalInterface.h"

#include <algorithm>
#include <cctype>
#include <iostream>

#include "platform/Terminal.h"

namespace vorlane::cli {
namespace {

// What the terminal offers for a set of buttons: the prompt and the letters it takes.
struct ButtonChoice {
    const char* prompt;
    std::string letters;
};

ButtonChoice ChoiceFor(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
            return {"[o]k/[c]ancel", "oc"};
        case MessageButtons::YesNo:
            return {"[y]es/[n]o", "yn"};
        case MessageButtons::YesNoCancel:
            return {"[y]es/[n]o/[c]ancel", "ync"};
        case MessageButtons::Ok:
            break;
    }
    return {"", "o"};
}

MessageAnswer AnswerOf(char choice) {
    switch (choice) {
        case 'y':
            return MessageAnswer::Yes;
        case 'o':
            return MessageAnswer::Ok;
        case 'c':
            return MessageAnswer::Cancel;
        default:
            return MessageAnswer::No;
    }
}

// The answer that stops: Cancel where there is one.
MessageAnswer StoppingAnswer(MessageButtons buttons) {
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
}

std::ostream& ReportStream(CommandOutput* output) {
    return output != nullptr ? output->Report() : std::cout;
}

bool ReportGoesToTerminal(const CommandOutput* output) {
    const int fd = output != nullptr ? output->ReportDescriptor() : platform::kStandardOutput;
    return fd >= 0 && platform::IsTerminal(fd);
}

}  // namespace

TerminalInterface::TerminalInterface(const TerminalSettings& settings, StopRequest& stop)
    : settings_(settings),
      stop_(stop),
      interactive_(platform::IsTerminal(platform::kStandardInput)),
      outputIsTerminal_(ReportGoesToTerminal(settings.output)),
      printer_(ReportStream(settings.output), settings.holdReport),
      progress_(platform::IsTerminal(platform::kStandardError), settings.overwritesPerPass,
                [this] { return !outputIsTerminal_ || printer_.AtLineStart(); }) {}

void TerminalInterface::Say(const std::string& text) {
    progress_.WithLineCleared([&] { std::cerr << text << std::flush; });
}

char TerminalInterface::ReadChoice(const std::string& prompt, const std::string& letters,
                                   char fallback) {
    for (;;) {
        Say(prompt + " ");
        std::string line;
        switch (platform::ReadLine(platform::kStandardInput, stop_.WakeDescriptor(), inputBuffer_,
                                   line)) {
            case platform::LineRead::Woken:
                Say("\n");
                return 0;
            case platform::LineRead::End:
                Say("\n");
                return fallback;
            case platform::LineRead::Line:
                break;
        }
        const char c = line.empty() ? fallback : static_cast<char>(std::tolower(line[0]));
        if (letters.find(c) != std::string::npos) {
            return c;
        }
    }
}

MessageAnswer TerminalInterface::Ask(const Question& question) {
    Say("\n" + question.title + ": " + question.text + "\n");
    if (question.buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (!interactive_ || stop_.Requested()) {
        return question.buttons == MessageButtons::OkCancel || stop_.Requested()
                   ? StoppingAnswer(question.buttons)
                   : MessageAnswer::No;
    }
    const ButtonChoice choice = ChoiceFor(question.buttons);
    const std::string& letters = choice.letters;
    // The default button answers an empty line.
    const int index = std::clamp(question.defaultButton, 1, static_cast<int>(letters.size())) - 1;
    const char answer = ReadChoice(choice.prompt, letters, letters[index]);
    return answer == 0 ? StoppingAnswer(question.buttons) : AnswerOf(answer);
}

bool TerminalInterface::ConfirmPurge(const std::string& message, const std::string& yesCaption,
                                     PurgeOptions& /*options*/) {
    if (stop_.Requested()) {
        return false;
    }
    Say(message + "\n");
    if (settings_.assumeYes) {
        return true;
    }
    if (!interactive_) {
        purgeNotConfirmed_ = true;
        Say("No terminal to confirm on; give --yes to purge.\n");
        return false;
    }
    const char answer = ReadChoice(yesCaption + "? [y]es/[n]o, cancel this purge", "yn", 'n');
    purgeNotConfirmed_ = answer == 'n';
    return answer == 'y';
}

FileConfirmation TerminalInterface::ConfirmFile(const std::string& fileText) {
    if (stop_.Requested()) {
        return FileConfirmation::StopPurge;
    }
    Say("Purge this file?\n" + fileText + "\n");
    if (!interactive_) {
        return FileConfirmation::No;
    }
    switch (ReadChoice("[y]es/[n]o/[a]ll subsequent files/[s]top this purge", "ynas", 'n')) {
        case 'y':
            return FileConfirmation::Yes;
        case 'a':
            return FileConfirmation::YesToAll;
        case 'n':
            return FileConfirmation::No;
        default:
            return FileConfirmation::StopPurge;
    }
}

void TerminalInterface::AppendReport(std::string_view piece) {
    report_.append(piece);
    PrintSettled();
}

void TerminalInterface::ReplaceReportTail(std::size_t keptBytes, std::string_view tail) {
    report_.resize(std::min(keptBytes, report_.size()));
    report_.append(tail);
    PrintSettled();
}

void TerminalInterface::PrintSettled() {
    if (printer_.WouldPrint(report_)) {
        progress_.WithLineCleared([&] { printer_.Update(report_); });
    }
}

void TerminalInterface::ShowPhase(ReportPhase phase, std::string_view /*pausedDone*/) {
    // A starting operation clears its flags; a signal that came before still counts.
    if (phase == ReportPhase::PurgeRunning || phase == ReportPhase::ListingRunning) {
        stop_.Reapply();
    }
}

void TerminalInterface::ReportFinished(std::string_view text) {
    progress_.WithLineCleared([&] { printer_.Finish(text); });
}

void TerminalInterface::ReportNotKept(std::string_view text) {
    Say(std::string(text) + "\n");
}

void TerminalInterface::ShowProgress(std::string_view text) {
    progress_.SetStatus(std::string(text));
}

void TerminalInterface::FileEnded(const FileRecord& record) {
    if (settings_.output != nullptr) {
        progress_.WithLineCleared([&] { settings_.output->FileEnded(record); });
    }
}

void TerminalInterface::ShowPassProgress(const std::string& path, int pass, int passes,
                                         std::int64_t bytes) {
    progress_.StartPass(path, pass, passes, bytes);
}

}  // namespace vorlane::cli
