#include "mainwin/WindowAccessibility.h"

#include <QAccessibleWidget>
#include <QDialog>
#include <QMainWindow>

namespace vorlane {

namespace {

QAccessibleInterface* FrameOfPlainWindow(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    // Asked once per class of the object, most derived first: answer only then, so the
    // widget's own kind (a dialog, a main window) is never overruled.
    if (!widget || className != QLatin1String(object->metaObject()->className()) ||
        !widget->isWindow() || qobject_cast<QDialog*>(widget) ||
        qobject_cast<QMainWindow*>(widget)) {
        return nullptr;
    }
    return new QAccessibleWidget(widget, QAccessible::Window);
}

}  // namespace

void ExposeTopLevelWidgetsAsFrames() {
    static const bool installed = [] {
        QAccessible::installFactory(FrameOfPlainWindow);
        return true;
    }();
    (void)installed;  // the installation is the point, once per program
}

}  // namespace vorlane
