#include "toolwin/WheelToScrollBar.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QWheelEvent>

namespace vorlane {

WheelToScrollBar::WheelToScrollBar(QWidget& rows, QScrollBar& scrollBar)
    : QObject(&rows), rows_(rows), scrollBar_(scrollBar) {
    rows.installEventFilter(this);
    for (QObject* row : rows.children()) {
        row->installEventFilter(this);
    }
}

bool WheelToScrollBar::eventFilter(QObject* watched, QEvent* event) {
    // Each row is watched itself: a wheel over a row reaches the rows' panel only when
    // it came from the window system.
    if (watched == &rows_ && event->type() == QEvent::ChildAdded) {
        static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
    }
    if (event->type() == QEvent::Wheel && scrollBar_.isVisible()) {
        QCoreApplication::sendEvent(&scrollBar_, event);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vorlane
