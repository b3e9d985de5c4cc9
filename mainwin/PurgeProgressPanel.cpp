#include "mainwin/PurgeProgressPanel.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "operation/ProgressText.h"

namespace vorlane {
namespace {

constexpr int kRecountEvery = 1000;  // ms

}  // namespace

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
    ticker_.setInterval(kRecountEvery);
    connect(&ticker_, &QTimer::timeout, this, &PurgeProgressPanel::ShowLine);
    Reset();
}

void PurgeProgressPanel::Reset() {
    Stop();
    hide();
    bar_->setRange(0, 100);
    bar_->setValue(0);
    line_->clear();
    text_.clear();
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
    last_ = progress;
    ShowLine();
    show();
    if (!ticker_.isActive()) {
        ticker_.start();
    }
    return percent;
}

void PurgeProgressPanel::Stop() {
    ticker_.stop();
    // Nothing is left to wait for: the figures without a time left.
    text_.clear();
    if (sinceFirst_.isValid()) {
        line_->setText(QString::fromStdString(ProgressLine(last_, 0)));
    }
}

void PurgeProgressPanel::ShowText(const QString& text) {
    text_ = text;
    ShowLine();
}

void PurgeProgressPanel::ShowLine() {
    if (!text_.isEmpty()) {
        line_->setText(text_);
        return;
    }
    const double seconds = static_cast<double>(sinceFirst_.elapsed()) / 1000.0;
    line_->setText(QString::fromStdString(ProgressLine(last_, seconds)));
}

}  // namespace vorlane
