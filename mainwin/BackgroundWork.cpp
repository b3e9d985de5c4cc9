#include "mainwin/BackgroundWork.h"

#include <QEventLoop>
#include <QThread>
#include <memory>

namespace vorlane {

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
