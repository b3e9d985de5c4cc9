#include "mainwin/BackgroundWork.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <atomic>
#include <thread>

namespace vorlane {

void RunWhileServingEvents(const std::function<void()>& work) {
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    if (!done) {
        loop.exec();
    }
    // The loop also ends when the program quits; the work must still end before its
    // captures go.
    worker.join();
    QCoreApplication::removePostedEvents(&loop);
}

}  // namespace vorlane
