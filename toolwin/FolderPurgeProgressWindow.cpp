#include "toolwin/FolderPurgeProgressWindow.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "mainwin/InterruptKeyFilter.h"

namespace vorlane {
namespace {

constexpr char kCaption[] = "Purge folders";
constexpr int kWidth = 480;

}  // namespace

FolderPurgeProgressWindow::FolderPurgeProgressWindow(OperationControl& control, QWidget* parent)
    : QDialog(parent), control_(control) {
    setObjectName("frmPurgeFoldersProgress");
    setWindowTitle(kCaption);
    // F10 is heard while the main window has the focus: showing this must not take it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Clicked, it has the focus: F10 still interrupts from here.
    setProperty(kHearsInterruptKey, true);
    panel_ = new PurgeProgressPanel(this);
    stopButton_ = new QPushButton("Stop", this);
    stopButton_->setObjectName("cmdStop");
    stopButton_->setAutoDefault(false);
    stopButton_->setToolTip("The same as F10: the purge asks whether to cancel after this file");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(stopButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_);
    layout->addLayout(buttons);
    resize(kWidth, sizeHint().height());
    connect(stopButton_, &QPushButton::clicked, this, [this] { control_.RequestInterrupt(); });
}

void FolderPurgeProgressWindow::Reset() {
    panel_->Reset();
    setWindowTitle(kCaption);
    hide();
}

void FolderPurgeProgressWindow::ShowProgress(const PurgeProgress& progress) {
    const std::optional<int> percent = panel_->Show(progress);
    setWindowTitle(percent ? QStringLiteral("%1% \u2013 %2").arg(*percent).arg(kCaption)
                           : QString(kCaption));
    if (!isVisible()) {
        show();
    }
}

}  // namespace vorlane
