#include "mainwin/GuiBridge.h"

#include <QThread>
#include <QTimer>

#include "mainwin/QtDialogs.h"

namespace vorlane {

namespace {
constexpr int kReportInterval = 100;    // ms
constexpr int kProgressInterval = 250;  // ms: four updates a second move a bar smoothly
}  // namespace

GuiBridge::GuiBridge(Dialogs& dialogs, ReportSinks sinks)
    : dialogs_(dialogs), sinks_(std::move(sinks)) {}

bool GuiBridge::OnGuiThread() const {
    return QThread::currentThread() == thread();
}

bool GuiBridge::Closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

void GuiBridge::Close() {
    std::shared_ptr<PendingAnswer<bool>> pending;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        pending = pending_;
    }
    if (pending) {
        pending->Cancel();
    }
}

bool GuiBridge::RunOnGui(std::function<void()> question) {
    if (Closed()) {
        return false;
    }
    if (OnGuiThread()) {
        question();
        return !Closed();
    }
    // One question at a time: the operation waits for each answer.
    auto pending = std::make_shared<PendingAnswer<bool>>(false);
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return false;
        }
        pending_ = pending;
    }
    // The question owns copies of everything it shows; it runs only while the bridge is
    // open, and the worker stops waiting at Close() whether or not it has run.
    QMetaObject::invokeMethod(
        this,
        [this, pending, question = std::move(question)] {
            if (pending->Cancelled()) {
                return;
            }
            FlushReport();  // the report as it stands when the question comes
            question();
            if (sinks_.questionAnswered) {
                sinks_.questionAnswered();
            }
            pending->Give(true);
        },
        Qt::QueuedConnection);
    const bool answered = pending->Wait();
    std::lock_guard lock(mutex_);
    pending_.reset();
    return answered && !closed_;
}

void GuiBridge::Post(std::function<void()> work) {
    if (Closed()) {
        return;
    }
    if (OnGuiThread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
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

void GuiBridge::DeliverReportChanges() {
    // A batch stays open a little while, so that a purge of many small files redraws
    // the report a few times a second, not once per file.
    Post([this] { QTimer::singleShot(kReportInterval, this, [this] { FlushReport(); }); });
}

void GuiBridge::FlushReport() {
    const ReportChangeBatch::Change change = reportChanges_.Take();
    if (sinks_.reportChanged) {
        sinks_.reportChanged(change);
    }
}

void GuiBridge::AppendReport(std::string_view piece) {
    if (reportChanges_.Append(piece)) {
        DeliverReportChanges();
    }
}

void GuiBridge::ReplaceReportTail(std::size_t keptBytes, std::string_view tail) {
    if (reportChanges_.ReplaceTail(keptBytes, tail)) {
        DeliverReportChanges();
    }
}

void GuiBridge::ShowPhase(ReportPhase phase, std::string_view pausedDone) {
    if (sinks_.showPhase) {
        Post([this, phase, copy = std::string(pausedDone)] {
            FlushReport();
            sinks_.showPhase(phase, copy);
        });
    }
}

void GuiBridge::ShowPurgeProgress(const PurgeProgress& progress) {
    if (!sinks_.purgeProgress) {
        return;
    }
    {
        std::lock_guard lock(progressMutex_);
        latestProgress_ = progress;
        if (progressWaiting_) {
            return;  // the delivery on its way takes this one along
        }
        progressWaiting_ = true;
    }
    Post([this] { QTimer::singleShot(kProgressInterval, this, [this] { FlushProgress(); }); });
}

void GuiBridge::FlushProgress() {
    PurgeProgress progress;
    {
        std::lock_guard lock(progressMutex_);
        if (!progressWaiting_) {
            return;
        }
        progressWaiting_ = false;
        progress = latestProgress_;
    }
    sinks_.purgeProgress(progress);
}

void GuiBridge::ReportFinished(std::string_view text) {
    if (sinks_.reportFinished) {
        Post([this, copy = std::string(text)] {
            FlushReport();
            if (sinks_.purgeProgress) {
                FlushProgress();  // the last figures, before the window settles
            }
            sinks_.reportFinished(copy);
        });
    }
}

void GuiBridge::ShowCaption(std::string_view caption) {
    if (sinks_.showCaption) {
        Post([this, copy = std::string(caption)] {
            FlushReport();
            sinks_.showCaption(copy);
        });
    }
}

void GuiBridge::ShowProgress(std::string_view text) {
    if (sinks_.showProgress) {
        Post([this, copy = std::string(text)] {
            FlushReport();
            sinks_.showProgress(copy);
        });
    }
}

}  // namespace vorlane
