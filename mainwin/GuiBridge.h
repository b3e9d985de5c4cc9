#pragma once
// Hands an operation's questions from its worker thread to the GUI thread and waits
// for the answer. On the GUI thread itself the question is asked directly. Close()
// answers every pending and every later question with Cancel (No for the purge
// confirmation and a file), so a worker never waits on windows that are gone.
//
// The worker waits on a pending answer, not on a blocking queued call: a blocking
// call could not be released by Close() when the GUI thread is itself waiting for the
// worker to end.
//
// The bridge is a QObject of the thread that makes it: every call it queues names the
// bridge as its receiver, so calls still queued when it goes are dropped with it.

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>

#include "operation/OperationInterface.h"
#include "operation/PendingAnswer.h"
#include "operation/ReportChangeBatch.h"
#include "selection/Dialogs.h"

namespace vorlane {

// What the windows do with an operation's reports; each runs on the GUI thread.
struct ReportSinks {
    std::function<bool(const std::string&, const std::string&, PurgeOptions&)> confirmPurge;
    std::function<FileConfirmation(const std::string&)> confirmFile;
    // The report changed: keep the first keptBytes bytes, add the tail.
    std::function<void(const ReportChangeBatch::Change&)> reportChanged;
    std::function<void(ReportPhase, const std::string&)> showPhase;
    std::function<void(const std::string&)> reportFinished;
    std::function<void(const std::string&)> showCaption;
    std::function<void(const std::string&)> showProgress;
    // How far a purge has come; a few times a second at most.
    std::function<void(const PurgeProgress&)> purgeProgress;
    // A question from the worker has been answered: the window it came from comes back
    // to the front.
    std::function<void()> questionAnswered;
};

class GuiBridge : public QObject, public OperationInterface {
    Q_OBJECT

  public:
    // Made on the GUI thread: questions and reports run there.
    explicit GuiBridge(Dialogs& dialogs, ReportSinks sinks = {});

    MessageAnswer Ask(const Question& question) override;
    bool ConfirmPurge(const std::string& message, const std::string& yesCaption,
                      PurgeOptions& options) override;
    FileConfirmation ConfirmFile(const std::string& fileText) override;
    void AppendReport(std::string_view piece) override;
    void ReplaceReportTail(std::size_t keptBytes, std::string_view tail) override;
    void ShowPhase(ReportPhase phase, std::string_view pausedDone) override;
    void ReportFinished(std::string_view text) override;
    void ShowCaption(std::string_view caption) override;
    void ShowProgress(std::string_view text) override;
    void ShowPurgeProgress(const PurgeProgress& progress) override;

    // Before any operation starts: where the reports go.
    void SetSinks(ReportSinks sinks) { sinks_ = std::move(sinks); }

    // From the GUI thread, when the windows close.
    void Close();
    bool Closed() const;

  private:
    bool OnGuiThread() const;
    // Runs the question on the GUI thread and waits; false when closed first.
    bool RunOnGui(std::function<void()> question);
    void Post(std::function<void()> work);
    void DeliverReportChanges();
    // On the GUI thread: hands what the report gained to the windows.
    void FlushReport();
    // On the GUI thread: hands the latest progress to the windows, if any is waiting.
    void FlushProgress();

    Dialogs& dialogs_;
    ReportSinks sinks_;
    mutable std::mutex mutex_;
    bool closed_ = false;
    std::shared_ptr<PendingAnswer<bool>> pending_;  // the question the worker waits on
    // The report's changes wait here until the GUI thread's next turn.
    ReportChangeBatch reportChanges_;
    // Only the latest progress counts: the worker overwrites it, the GUI thread takes it.
    std::mutex progressMutex_;
    PurgeProgress latestProgress_;
    bool progressWaiting_ = false;
};

}  // namespace vorlane
