#include "mainwin/CommandRows.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>
#include <vector>

namespace vorlane {

namespace {

// An emptied or hidden label takes no room, so the rows below need not make way for it.
bool RowShowsText(const QWidget& row) {
    const auto labels = row.findChildren<QLabel*>();
    return std::any_of(labels.begin(), labels.end(), [&row](const QLabel* label) {
        return label->isVisibleTo(&row) && !label->text().isEmpty();
    });
}

}  // namespace

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
    std::vector<const Row*> placed;
    for (const Row& row : rows_) {
        if (row.command) {
            placed.push_back(&row);
        }
    }
    std::stable_sort(placed.begin(), placed.end(), [this](const Row* a, const Row* b) {
        return TopOf(*a->command) < TopOf(*b->command);
    });
    // A row whose text needs more lines than its command is high would run into the row
    // below: that row then starts where it ends, so that no text covers another.
    int freeFrom = 0;
    for (const Row* row : placed) {
        const int needed = row->row->hasHeightForWidth() ? row->row->heightForWidth(width())
                                                         : row->row->sizeHint().height();
        const int top = std::max(TopOf(*row->command), freeFrom);
        const int height = std::max(row->command->height(), needed);
        row->row->setGeometry(0, top, width(), height);
        if (row->row->isVisibleTo(this) && RowShowsText(*row->row)) {
            freeFrom = top + std::max(needed, 0);
        }
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
