#include "cli/TerminalInterface.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <iostream>

namespace vorlane::cli {
namespace {

// Reports and messages carry CR LF; a terminal wants LF.
std::string WithoutCarriageReturns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

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

}  // namespace

TerminalInterface::TerminalInterface(bool assumeYes, bool interactive)
    : assumeYes_(assumeYes), interactive_(interactive) {}

bool TerminalInterface::StandardInputIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

char TerminalInterface::ReadChoice(const std::string& prompt, const std::string& choices,
                                   char fallback) {
    std::cout.flush();
    for (;;) {
        std::cerr << prompt << ' ' << std::flush;
        std::string line;
        if (!std::getline(std::cin, line)) {
            return fallback;
        }
        const char c = line.empty() ? fallback : static_cast<char>(std::tolower(line[0]));
        if (choices.find(c) != std::string::npos) {
            return c;
        }
    }
}

MessageAnswer TerminalInterface::Ask(const Question& question) {
    std::cerr << "\n" << question.title << ": " << WithoutCarriageReturns(question.text) << "\n";
    if (question.buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (!interactive_) {
        return question.buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
                                                            : MessageAnswer::No;
    }
    const ButtonChoice choice = ChoiceFor(question.buttons);
    const std::string& letters = choice.letters;
    // The default button answers an empty line.
    const int index = std::clamp(question.defaultButton, 1, static_cast<int>(letters.size())) - 1;
    return AnswerOf(ReadChoice(choice.prompt, letters, letters[index]));
}

bool TerminalInterface::ConfirmPurge(const std::string& message, const std::string& yesCaption,
                                     PurgeOptions& /*options*/) {
    std::cerr << WithoutCarriageReturns(message) << "\n";
    if (assumeYes_) {
        return true;
    }
    if (!interactive_) {
        purgeNotConfirmed_ = true;
        std::cerr << "No terminal to confirm on; give --yes to purge.\n";
        return false;
    }
    purgeNotConfirmed_ =
        ReadChoice(yesCaption + "? [y]es/[n]o, cancel this purge", "yn", 'n') != 'y';
    return !purgeNotConfirmed_;
}

FileConfirmation TerminalInterface::ConfirmFile(const std::string& fileText) {
    std::cerr << "Purge this file?\n" << fileText << "\n";
    if (!interactive_) {
        return FileConfirmation::No;
    }
    switch (ReadChoice("[y]es/[n]o/[a]ll subsequent files/[s]top this purge", "ynas", 'n')) {
        case 'y':
            return FileConfirmation::Yes;
        case 'a':
            return FileConfirmation::YesToAll;
        case 's':
            return FileConfirmation::StopPurge;
        default:
            return FileConfirmation::No;
    }
}

void TerminalInterface::PrintUpTo(std::size_t end) {
    if (end <= printedBytes_) {
        return;
    }
    std::cout << WithoutCarriageReturns(
        std::string_view(report_).substr(printedBytes_, end - printedBytes_));
    printedBytes_ = end;
}

void TerminalInterface::PrintWholeLines() {
    const std::size_t lastBreak = report_.rfind('\n');
    if (lastBreak != std::string::npos) {
        PrintUpTo(lastBreak + 1);
        std::cout.flush();
    }
}

void TerminalInterface::AppendReport(std::string_view piece) {
    report_.append(piece);
    PrintWholeLines();
}

void TerminalInterface::ReplaceReportTail(std::size_t keptBytes, std::string_view tail) {
    // Text rewritten after it was printed cannot be taken back; go on from where the
    // printed text and the new tail agree.
    if (keptBytes < printedBytes_) {
        const std::string_view printedTail =
            std::string_view(report_).substr(keptBytes, printedBytes_ - keptBytes);
        const auto [mismatch, ignored] =
            std::mismatch(printedTail.begin(), printedTail.end(), tail.begin(), tail.end());
        printedBytes_ = keptBytes + static_cast<std::size_t>(mismatch - printedTail.begin());
    }
    report_.resize(std::min(keptBytes, report_.size()));
    report_.append(tail);
    PrintWholeLines();
}

void TerminalInterface::ShowPhase(ReportPhase /*phase*/, std::string_view /*pausedDone*/) {}

void TerminalInterface::ReportFinished(std::string_view text) {
    if (text != report_) {
        ReplaceReportTail(0, text);
    }
    PrintUpTo(report_.size());
    std::cout.flush();
}

void TerminalInterface::ShowProgress(std::string_view text) {
    if (interactive_ && !text.empty()) {
        std::cerr << text << "\n";
    }
}

}  // namespace vorlane::cli
