#include "mainwin/GuiBridge.h"

#include <QThread>

#include "mainwin/QtDialogs.h"

namespace vorlane {

struct GuiBridge::Pending {
    bool done = false;
};

GuiBridge::GuiBridge(QObject* gui, Dialogs& dialogs, ReportSinks sinks)
    : gui_(gui), dialogs_(dialogs), sinks_(std::move(sinks)) {}

bool GuiBridge::OnGuiThread() const {
    return gui_ && QThread::currentThread() == gui_->thread();
}

bool GuiBridge::Closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

void GuiBridge::Close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    answered_.notify_all();
}

bool GuiBridge::RunOnGui(std::function<void()> question) {
    if (Closed() || !gui_) {
        return false;
    }
    if (OnGuiThread()) {
        question();
        return !Closed();
    }
    auto pending = std::make_shared<Pending>();
    // The question owns copies of everything it shows; it runs only while the bridge is
    // open, and the worker stops waiting at Close() whether or not it has run.
    QMetaObject::invokeMethod(
        gui_.data(),
        [this, pending, question = std::move(question)] {
            if (Closed()) {
                return;
            }
            question();
            {
                std::lock_guard lock(mutex_);
                pending->done = true;
            }
            answered_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [&] { return pending->done || closed_; });
    return pending->done && !closed_;
}

void GuiBridge::Post(std::function<void()> work) {
    if (Closed() || !gui_) {
        return;
    }
    if (OnGuiThread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(gui_.data(), std::move(work), Qt::QueuedConnection);
}

MessageAnswer GuiBridge::Ask(const Question& question) {
    auto answer = std::make_shared<MessageAnswer>(CancelAnswer(question.buttons));
    const bool answered = RunOnGui([this, answer, question] { *answer = dialogs_.Ask(question); });
    return answered ? *answer : CancelAnswer(question.buttons);
}

bool GuiBridge::ConfirmPurge(const std::string& message, const std::string& yesCaption,
                             PurgeOptions& options) {
    if (!sinks_.confirmPurge) {
        return false;
    }
    auto result = std::make_shared<std::pair<bool, PurgeOptions>>(false, options);
    const bool answered = RunOnGui([this, result, message, yesCaption] {
        result->first = sinks_.confirmPurge(message, yesCaption, result->second);
    });
    if (!answered) {
        return false;
    }
    options = result->second;
    return result->first;
}

FileConfirmation GuiBridge::ConfirmFile(const std::string& fileText) {
    if (!sinks_.confirmFile) {
        return FileConfirmation::No;
    }
    auto result = std::make_shared<FileConfirmation>(FileConfirmation::No);
    const bool answered =
        RunOnGui([this, result, fileText] { *result = sinks_.confirmFile(fileText); });
    return answered ? *result : FileConfirmation::No;
}

void GuiBridge::ShowReport(std::string_view text) {
    if (sinks_.showReport) {
        Post([this, copy = std::string(text)] { sinks_.showReport(copy); });
    }
}

void GuiBridge::ShowPhase(ReportPhase phase, std::string_view pausedDone) {
    if (sinks_.showPhase) {
        Post([this, phase, copy = std::string(pausedDone)] { sinks_.showPhase(phase, copy); });
    }
}

void GuiBridge::ReportFinished(std::string_view text) {
    if (sinks_.reportFinished) {
        Post([this, copy = std::string(text)] { sinks_.reportFinished(copy); });
    }
}

void GuiBridge::ShowCaption(std::string_view caption) {
    if (sinks_.showCaption) {
        Post([this, copy = std::string(caption)] { sinks_.showCaption(copy); });
    }
}

void GuiBridge::ShowProgress(std::string_view text) {
    if (sinks_.showProgress) {
        Post([this, copy = std::string(text)] { sinks_.showProgress(copy); });
    }
}

}  // namespace vorlane
