#include "mainwin/BackgroundWork.h"

#include <QEventLoop>
#include <memory>

namespace vorlane {

BackgroundWork::BackgroundWork(QObject* parent) : QObject(parent) {
    worker_ = new BackgroundWorker;
    worker_->moveToThread(&thread_);
    // The worker goes with its thread's end, on its own thread.
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    // Queued: the result arrives after every call the work queued to the GUI thread.
    connect(worker_, &BackgroundWorker::Done, this, &BackgroundWork::WorkDone,
            Qt::QueuedConnection);
    thread_.setObjectName("operation worker");
    thread_.start();
}

BackgroundWork::~BackgroundWork() {
    WaitForEnd();
}

void BackgroundWork::WaitForEnd() {
    if (!thread_.isRunning()) {
        return;
    }
    // quit() acts once the work in hand returns: the worker's loop ends after it.
    thread_.quit();
    thread_.wait();
    then_ = nullptr;
}

bool BackgroundWork::Start(std::function<void()> work, std::function<void()> then) {
    return StartErased(
        [work = std::move(work)] {
            work();
            return QVariant();
        },
        [then = std::move(then)](const QVariant&) { then(); });
}

bool BackgroundWork::StartErased(std::function<QVariant()> work,
                                 std::function<void(const QVariant&)> then) {
    if (busy_ || !thread_.isRunning()) {
        return false;
    }
    busy_ = true;
    then_ = std::move(then);
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, work = std::move(work)] { worker->Run(work); },
        Qt::QueuedConnection);
    return true;
}

void BackgroundWork::WorkDone(const QVariant& result) {
    busy_ = false;
    // The continuation may start the next work: take it out first.
    const std::function<void(const QVariant&)> then = std::move(then_);
    then_ = nullptr;
    if (then) {
        then(result);
    }
    emit Finished();
}

void RunWhileServingEvents(const std::function<void()>& work) {
    const std::unique_ptr<QThread> worker(QThread::create(work));
    QEventLoop loop;
    // Queued across the threads: a worker that ends before the loop runs still ends it.
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    // The loop also ends when the program quits; the work must still end before its
    // captures go.
    worker->wait();
}

}  // namespace vorlane
