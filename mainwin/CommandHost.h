#pragma once
// What the operation commands need of the window they run from: its state, its
// command frame and the widget that owns their windows. The main window is the one
// host; the commands never see the rest of it.

#include <QFrame>
#include <QString>
#include <QWidget>

#include "selection/MainState.h"

namespace vorlane {

class CommandButton;

class CommandHost {
  public:
    virtual ~CommandHost() = default;

    // The parent of the windows the commands open.
    virtual QWidget& HostWidget() = 0;
    virtual MainState& State() = 0;
    virtual QFrame* Menu() const = 0;
    virtual CommandButton* Button(const QString& objectName) const = 0;
    virtual void EnableMenu(bool enabled) = 0;
    // Shows the state's labels.
    virtual void Refresh() = 0;
};

}  // namespace vorlane
