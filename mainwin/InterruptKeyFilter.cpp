#include "mainwin/InterruptKeyFilter.h"

#include <QApplication>
#include <QKeyEvent>

namespace vorlane {

InterruptKeyFilter::InterruptKeyFilter(QWidget& mainWindow, OperationControl& control)
    : QObject(&mainWindow), mainWindow_(&mainWindow), control_(control) {}

bool InterruptKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease && mainWindow_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        // The event reaches the filter once per receiver on its way up; act on the first.
        QWidget* focus = QApplication::focusWidget();
        if (key->key() == Qt::Key_F10 && !key->isAutoRepeat() && widget &&
            widget == (focus ? focus : mainWindow_.data()) &&
            (widget == mainWindow_ || mainWindow_->isAncestorOf(widget) ||
             widget->window()->property(kHearsInterruptKey).toBool())) {
            control_.RequestInterrupt();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vorlane
