#include "mainwin/WindowAccessibility.h"

#include <QAccessibleWidget>
#include <QDialog>
#include <QMainWindow>

namespace vorlane {

namespace {

QAccessibleInterface* FrameOfPlainWindow(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    // Asked once per class of the object, most derived first: answer only then, and
    // only for this program's own windows, so that no kind Qt gives (a dialog, a main
    // window, a list's popup, a tool tip) is ever overruled.
    if (!widget || className != QLatin1String(object->metaObject()->className()) ||
        !className.startsWith(QLatin1String("vorlane::")) || widget->windowType() != Qt::Window ||
        qobject_cast<QDialog*>(widget) || qobject_cast<QMainWindow*>(widget)) {
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
