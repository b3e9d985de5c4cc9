#pragma once
// Answers the dialog seam and the choice windows from a script, and records what
// was asked and on which thread.

#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "selection/ChoiceWindows.h"
#include "selection/Dialogs.h"

namespace vorlane::testing {

class ScriptedDialogs : public Dialogs {
  public:
    std::deque<MessageAnswer> answers;  // Ok, or No/Cancel, when exhausted
    std::deque<std::string> files;      // for OpenFileName; empty when exhausted
    std::deque<std::string> folders;    // for BrowseForFolder
    std::vector<Question> asked;
    std::vector<bool> savedNotOpened;  // per operation-file dialog: save (true) or open
    std::thread::id askedOn;
    // Runs while the question is "open": a test may look at the windows here.
    std::function<void(const Question&)> onAsk;

    MessageAnswer Ask(const Question& question) override {
        asked.push_back(question);
        askedOn = std::this_thread::get_id();
        if (onAsk) {
            onAsk(question);
        }
        if (answers.empty()) {
            switch (question.buttons) {
                case MessageButtons::Ok:
                    return MessageAnswer::Ok;
                case MessageButtons::YesNo:
                    return MessageAnswer::No;
                default:
                    return MessageAnswer::Cancel;
            }
        }
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string OpenFileName(const std::string&) override { return Next(files); }
    std::string OperationFileName(const std::string&, bool forSaving) override {
        savedNotOpened.push_back(forSaving);
        return Next(files);
    }
    std::string BrowseForFolder(const std::string&) override { return Next(folders); }
    std::string ReportFileName(const std::string&) override { return Next(files); }
    void Close() override {}

    std::string LastText() const { return asked.empty() ? std::string() : asked.back().text; }

  private:
    static std::string Next(std::deque<std::string>& queue) {
        if (queue.empty()) {
            return {};
        }
        std::string next = queue.front();
        queue.pop_front();
        return next;
    }
};

class ScriptedWindows : public ChoiceWindows {
  public:
    FilesChoiceResult files;
    int fileCountShown = -1;

    FilesChoiceResult ChooseFiles(const std::string&, int fileCount, bool& single) override {
        fileCountShown = fileCount;
        single = false;
        return files;
    }
    DateWindowResult ChooseDate(std::int32_t&, const std::string&) override {
        return DateWindowResult::Cancelled;
    }
    bool ChoosePurgeType(PurgeTypeChoice&) override { return false; }
    void RunLong(const std::function<void()>& work) override { work(); }
};

}  // namespace vorlane::testing
