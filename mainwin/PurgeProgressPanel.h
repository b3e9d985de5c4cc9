#pragma once
// A purge's progress, beyond its report: a bar and the line under it (files and bytes
// done of the totals, the pass, the time left at the rate so far). Hidden until the
// first progress of an operation arrives. While the purge runs, the time left is worked
// out anew every second, also while a flush to the device holds the bytes still.

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <optional>

#include "operation/OperationInterface.h"

class QLabel;
class QProgressBar;

namespace vorlane {

class PurgeProgressPanel : public QWidget {
    Q_OBJECT

  public:
    explicit PurgeProgressPanel(QWidget* parent);

    // A new operation: hidden, and the rate starts anew.
    void Reset();
    // Shows the progress; returns the share done, when a total is known.
    std::optional<int> Show(const PurgeProgress& progress);
    // The operation ended: the figures stay as they are.
    void Stop();
    // Words of the operation's own in place of the line's figures, such as a fill's
    // speed; empty gives the line back to the figures.
    void ShowText(const QString& text);

    QProgressBar* Bar() const { return bar_; }
    QLabel* Line() const { return line_; }

  private:
    void ShowLine();

    QProgressBar* bar_ = nullptr;
    QLabel* line_ = nullptr;
    QElapsedTimer sinceFirst_;
    PurgeProgress last_;
    QString text_;
    QTimer ticker_;
};

}  // namespace vorlane
