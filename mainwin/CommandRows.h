#pragma once
// The labels beside the command frame, each row beside the command it belongs to. A
// row follows its command wherever the frame's layout puts it (another font, another
// scale, a command hidden above it), and keeps its place when its own labels are
// hidden, so that no label ever stands beside another command.

#include <QPointer>
#include <QWidget>
#include <vector>

namespace vorlane {

class CommandRows : public QWidget {
    Q_OBJECT

  public:
    explicit CommandRows(QWidget* parent);

    // Puts `row` (a child of this) beside `command`: its top at the command's top, as
    // high as the command or as its own contents need, whichever is more.
    void AddRow(QWidget* command, QWidget* row);
    // The width below which the rows never go, even with short texts.
    void SetLeastWidth(int pixels);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Row {
        QPointer<QWidget> command;
        QWidget* row;
    };
    void PlaceRows();
    int TopOf(const QWidget& command) const;

    std::vector<Row> rows_;
    int leastWidth_ = 0;
};

}  // namespace vorlane
