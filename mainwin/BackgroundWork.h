#pragma once
// Runs one piece of work at a time on a worker thread of its own, and hands its result
// back to the GUI thread in a signal that carries it as a value. The caller goes on in
// the continuation it gave, run on the GUI thread once the work is done; nothing waits
// for the work in a loop of its own, so the GUI thread serves its events as always.
//
// The worker is a QObject living on the thread; the work is queued to it, and its
// result comes back queued to this object, after everything the work queued before.
// Destroying this object waits for the work in hand, which the owner must have stopped
// (Close of the operation's flags and of the bridge) so that the wait is short.

#include <QObject>
#include <QThread>
#include <QVariant>
#include <functional>

namespace vorlane {

// Lives on the worker thread: runs the work queued to it, one at a time.
class BackgroundWorker : public QObject {
    Q_OBJECT

  public:
    void Run(const std::function<QVariant()>& work) { emit Done(work()); }

  signals:
    void Done(const QVariant& result);
};

class BackgroundWork : public QObject {
    Q_OBJECT

  public:
    explicit BackgroundWork(QObject* parent = nullptr);
    ~BackgroundWork() override;

    // True from Start until the continuation has begun.
    bool Busy() const { return busy_; }

    // Runs work on the worker, then then(result) on this object's thread. Ignored (and
    // false) while a work is in hand: one operation at a time.
    template <typename Result>
    bool Start(std::function<Result()> work, std::function<void(const Result&)> then) {
        return StartErased(
            [work = std::move(work)] { return QVariant::fromValue(work()); },
            [then = std::move(then)](const QVariant& result) { then(result.value<Result>()); });
    }
    bool Start(std::function<void()> work, std::function<void()> then);

    // Blocks until the work in hand has ended, without running its continuation: for an
    // owner that goes before the event loop could deliver it.
    void WaitForEnd();

  signals:
    // After every continuation: the work and what followed it are done.
    void Finished();

  private:
    bool StartErased(std::function<QVariant()> work, std::function<void(const QVariant&)> then);
    void WorkDone(const QVariant& result);

    QThread thread_;
    BackgroundWorker* worker_ = nullptr;
    std::function<void(const QVariant&)> then_;
    bool busy_ = false;
};

// Runs work on a thread of its own and returns when it is done, serving the GUI
// thread's events meanwhile in a local loop. Only for the short folder counts of the
// target commands, whose callers still go on with the count where they stand; every
// operation runs through BackgroundWork.
void RunWhileServingEvents(const std::function<void()>& work);

}  // namespace vorlane
