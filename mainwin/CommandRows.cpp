#include "mainwin/CommandRows.h"

#include <QEvent>
#include <algorithm>

namespace vorlane {

CommandRows::CommandRows(QWidget* parent) : QWidget(parent) {}

void CommandRows::AddRow(QWidget* command, QWidget* row) {
    row->setParent(this);
    rows_.push_back({command, row});
    // A command moves when its frame does, or when a command above it is hidden.
    for (QWidget* watched : {command, command->parentWidget()}) {
        if (watched) {
            watched->installEventFilter(this);
        }
    }
    updateGeometry();
}

void CommandRows::SetLeastWidth(int pixels) {
    leastWidth_ = pixels;
    updateGeometry();
}

int CommandRows::TopOf(const QWidget& command) const {
    const QWidget* top = window();
    return command.mapTo(top, QPoint(0, 0)).y() - mapTo(top, QPoint(0, 0)).y();
}

void CommandRows::PlaceRows() {
    for (const Row& row : rows_) {
        if (!row.command) {
            continue;
        }
        const int needed = row.row->hasHeightForWidth() ? row.row->heightForWidth(width())
                                                        : row.row->sizeHint().height();
        row.row->setGeometry(0, TopOf(*row.command), width(),
                             std::max(row.command->height(), needed));
    }
}

QSize CommandRows::sizeHint() const {
    int width = leastWidth_;
    for (const Row& row : rows_) {
        width = std::max(width, row.row->sizeHint().width());
    }
    return {width, 0};
}

QSize CommandRows::minimumSizeHint() const {
    // Hidden rows count too: the setup panel must fit when it opens.
    int width = leastWidth_;
    for (const Row& row : rows_) {
        width = std::max(width, row.row->minimumSizeHint().width());
    }
    return {width, 0};
}

bool CommandRows::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::LayoutRequest:
            // A row's contents changed: its height, and this widget's width, may follow.
            updateGeometry();
            PlaceRows();
            break;
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::Show:
            PlaceRows();
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

bool CommandRows::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Move || type == QEvent::Resize) {
        PlaceRows();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vorlane
