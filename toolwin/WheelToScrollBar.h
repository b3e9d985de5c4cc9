#pragma once
// Scrolls a list drawn as rows beside a scroll bar of its own with the mouse wheel
// anywhere over the rows, not only over the bar: the wheel turns the bar.

#include <QObject>
#include <QScrollBar>

namespace vorlane {

class WheelToScrollBar : public QObject {
    Q_OBJECT

  public:
    // Watches `rows` and every row on it, for as long as it lives.
    WheelToScrollBar(QWidget& rows, QScrollBar& scrollBar);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& rows_;
    QScrollBar& scrollBar_;
};

}  // namespace vorlane
