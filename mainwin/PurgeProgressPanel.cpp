#include "mainwin/PurgeProgressPanel.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "operation/ProgressText.h"

namespace vorlane {

PurgeProgressPanel::PurgeProgressPanel(QWidget* parent) : QWidget(parent) {
    bar_ = new QProgressBar(this);
    bar_->setObjectName("progressBar");
    bar_->setAccessibleName("Purge progress");
    bar_->setRange(0, 100);
    line_ = new QLabel(this);
    line_->setObjectName("lblProgress");
    line_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_);
    layout->addWidget(line_);
    Reset();
}

void PurgeProgressPanel::Reset() {
    hide();
    bar_->setRange(0, 100);
    bar_->setValue(0);
    line_->clear();
    sinceFirst_.invalidate();
}

std::optional<int> PurgeProgressPanel::Show(const PurgeProgress& progress) {
    if (!sinceFirst_.isValid()) {
        sinceFirst_.start();
    }
    const std::optional<int> percent = ProgressPercent(progress);
    // Without a total the bar only shows that something moves.
    bar_->setRange(0, percent ? 100 : 0);
    bar_->setValue(percent.value_or(0));
    const double seconds = static_cast<double>(sinceFirst_.elapsed()) / 1000.0;
    line_->setText(QString::fromStdString(ProgressLine(progress, seconds)));
    show();
    return percent;
}

}  // namespace vorlane
