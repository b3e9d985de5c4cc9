#pragma once
// F10 released (not an auto-repeat) while a widget of the main window has the focus
// requests the interrupt of the subfolder purge. Installed on the application, so
// that it sees the key whichever control has the focus.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "operation/OperationControl.h"

namespace vorlane {

// A window of the main window's tools with this property set true hears F10 as well.
inline constexpr char kHearsInterruptKey[] = "hearsInterruptKey";

class InterruptKeyFilter : public QObject {
    Q_OBJECT

  public:
    InterruptKeyFilter(QWidget& mainWindow, OperationControl& control);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> mainWindow_;
    OperationControl& control_;
};

}  // namespace vorlane
