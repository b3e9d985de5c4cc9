#include "mainwin/CommandButton.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace vorlane {

CommandButton::CommandButton(const QString& objectName, const QString& caption, Fires fires,
                             QWidget* parent)
    : QPushButton(caption, parent), fires_(fires), focusOnHover_([] { return true; }) {
    setObjectName(objectName);
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
    // Keyboard activation and accessibility "press" come as clicks; a click made by
    // the mouse has fired already at the release.
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (!inMouseRelease_ || fires_ == Fires::OnClick) {
            emit fired();
        }
    });
}

void CommandButton::mousePressEvent(QMouseEvent* event) {
    // Take the press of any button, so that its release comes here too.
    if (fires_ == Fires::OnMouseUp && event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void CommandButton::mouseReleaseEvent(QMouseEvent* event) {
    inMouseRelease_ = true;
    QPushButton::mouseReleaseEvent(event);
    inMouseRelease_ = false;
    if (fires_ == Fires::OnMouseUp && isEnabled() && rect().contains(event->position().toPoint())) {
        emit fired();
    }
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CommandButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    if (isEnabled() && focusOnHover_ && focusOnHover_()) {
        setFocus(Qt::MouseFocusReason);
    }
}

}  // namespace vorlane
