#include "mainwin/ReportWindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "mainwin/WindowLook.h"
#include "operation/KeptReports.h"
#include "platform/Platform.h"
#include "selection/ReportButtons.h"

namespace vorlane {
namespace {

constexpr int kTwipsPerPixel = 15;

QPushButton* NamedButton(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void SetWidth(QPushButton& button, int twips) {
    FitButtonWidth(button, twips / kTwipsPerPixel);
}

}  // namespace

QString ReportForDisplay(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

ReportWindow::ReportWindow(OperationControl& control, QWidget* parent, Dialogs& dialogs)
    : QWidget(parent, Qt::Window), control_(control), dialogs_(dialogs) {
    setObjectName("frmReport");
    reportText_ = new QPlainTextEdit(this);
    reportText_->setObjectName("txbText");
    reportText_->setAccessibleName("Report");
    reportText_->setReadOnly(true);
    reportText_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    reportText_->setFont(QFont("Monospace"));
    reportText_->viewport()->installEventFilter(this);
    pauseButton_ = NamedButton("cmdPauseContinue", "Pause", this);
    stopButton_ = NamedButton("cmdStop", "Stop", this);
    closeButton_ = NamedButton("cmdClose", "Close", this);
    copyButton_ = NamedButton("cmdCopyToClipboard", "Copy to clipboard", this);
    saveAsButton_ = NamedButton("cmdSaveAs", "Save as\u2026", this);
    saveAsButton_->setAccessibleName("Save report as");
    saveAsButton_->setEnabled(false);
    keepReports_ = new QCheckBox("Keep reports", this);
    keepReports_->setObjectName("chkKeepReports");
    keepReports_->setToolTip(
        QString::fromStdString("Each finished report is also saved in " + KeptReportsFolder()));
    keepReports_->setChecked(ReportKeepingOn());
    pausedDoneLabel_ = NamedLabel("lblPausedDone", QString(), this);
    dotsLabel_ = NamedLabel("lblDots", ". . .", this);
    dotsLabel_->setAccessibleName("Listing in progress");
    for (QLabel* label : {pausedDoneLabel_, dotsLabel_}) {
        label->setAlignment(Qt::AlignCenter);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyButton_);
    buttons->addStretch();
    buttons->addWidget(pausedDoneLabel_);
    buttons->addWidget(dotsLabel_);
    buttons->addStretch();
    buttons->addWidget(stopButton_);
    buttons->addWidget(pauseButton_);
    // Right of Stop and Pause, which come and go: these and Close never move.
    buttons->addWidget(keepReports_);
    buttons->addWidget(saveAsButton_);
    buttons->addWidget(closeButton_);
    progress_ = new PurgeProgressPanel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(reportText_, 1);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    SetWidth(*closeButton_, 1000);
    connect(pauseButton_, &QPushButton::clicked, this, &ReportWindow::PauseContinue);
    connect(stopButton_, &QPushButton::clicked, this, &ReportWindow::StopClicked);
    connect(closeButton_, &QPushButton::clicked, this, &ReportWindow::CloseClicked);
    connect(copyButton_, &QPushButton::clicked, this, &ReportWindow::CopyToClipboard);
    connect(saveAsButton_, &QPushButton::clicked, this, &ReportWindow::SaveAs);
    connect(keepReports_, &QCheckBox::toggled, this, [](bool on) {
        (void)SetReportKeeping(on);  // a store that cannot be written keeps the last choice
    });
    ShowButtons(ReportPhase::Ended);
    copyButton_->hide();
    dotsLabel_->hide();
    ResetProgress();
    resize(720, 520);
}

QPushButton* ReportWindow::Button(const char* objectName) const {
    return findChild<QPushButton*>(objectName);
}

void ReportWindow::SetCaption(const QString& caption) {
    caption_ = caption;
    setWindowTitle(caption);
}

void ReportWindow::ResetProgress() {
    progress_->Reset();
    setWindowTitle(caption_);
}

void ReportWindow::ShowProgress(const PurgeProgress& progress) {
    const std::optional<int> percent = progress_->Show(progress);
    const bool running = phase_ == ReportPhase::PurgeRunning || phase_ == ReportPhase::Paused;
    ShowTitle(running ? percent : std::nullopt);
}

void ReportWindow::EndProgress() {
    progress_->Stop();
    ShowTitle(std::nullopt);
}

void ReportWindow::ShowTitle(std::optional<int> percent) {
    // The share first, so that a taskbar's narrow button still shows it.
    setWindowTitle(percent ? QStringLiteral("%1% \u2013 %2").arg(*percent).arg(caption_)
                           : caption_);
}

void ReportWindow::ShowNothingRan() {
    ShowButtons(ReportPhase::Ended, pausedDoneLabel_->text().toStdString());
    copyButton_->setVisible(HasReport());
    saveAsButton_->setEnabled(HasReport());
    ShowCopyCaption(reportText_->textCursor().hasSelection());
}

void ReportWindow::ShowFromStart() {
    QTextCursor start = reportText_->textCursor();
    start.movePosition(QTextCursor::Start);
    reportText_->setTextCursor(start);
    ShowCopyCaption(false);
}

void ReportWindow::BringToFront() {
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

void ReportWindow::StartOperation(const QString& caption, bool purging, bool dots) {
    SetCaption(caption);
    purging_ = purging;
    dots_ = dots;
    ShowButtons(purging ? ReportPhase::PurgeRunning : ReportPhase::ListingRunning);
    ShowCopyCaption(false);
    saveAsButton_->setEnabled(false);
}

void ReportWindow::ShowButtons(ReportPhase phase, const std::string& pausedDone) {
    phase_ = phase;
    const ReportButtons shown = ButtonsFor(phase, pausedDone);
    pauseButton_->setText(QString::fromStdString(shown.pauseCaption));
    SetWidth(*pauseButton_, shown.pauseWidth);
    pauseButton_->setVisible(shown.pauseVisible);
    SetWidth(*stopButton_, shown.stopWidth);
    stopButton_->setVisible(shown.stopVisible);
    closeButton_->setVisible(shown.closeVisible);
    copyButton_->setVisible(shown.copyVisible);
    pausedDoneLabel_->setText(QString::fromStdString(shown.pausedDone));
    const bool running = phase == ReportPhase::PurgeRunning || phase == ReportPhase::ListingRunning;
    dotsLabel_->setVisible(dots_ && running);
}

void ReportWindow::ShowCopyCaption(bool textSelected) {
    const CopyButton copy = CopyButtonFor(textSelected);
    copyButton_->setText(QString::fromStdString(copy.caption));
    SetWidth(*copyButton_, copy.width);
}

void ReportWindow::ApplyChange(const ReportChangeBatch::Change& change) {
    const std::size_t kept = std::min(change.keptBytes, text_.size());
    QTextCursor cursor(reportText_->document());
    cursor.movePosition(QTextCursor::End);
    if (kept < text_.size()) {
        // Positions count UTF-16 units and one per line break, as the shown text does.
        const int removed =
            static_cast<int>(ReportForDisplay(std::string_view(text_).substr(kept)).size());
        // An absolute position: moving left character by character costs a layout each.
        cursor.setPosition(cursor.position() - removed, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        text_.resize(kept);
    }
    cursor.insertText(ReportForDisplay(change.tail));
    text_.append(change.tail);
    reportText_->setTextCursor(cursor);
    reportText_->ensureCursorVisible();
}

void ReportWindow::ShowPhase(ReportPhase phase, const std::string& pausedDone) {
    if (phase == ReportPhase::Paused) {
        return;
    }
    if (phase == ReportPhase::PurgeRunning) {
        purging_ = true;
        dots_ = false;
    } else if (phase == ReportPhase::ListingRunning) {
        purging_ = false;
    }
    ShowButtons(phase, pausedDone);
    if (phase == ReportPhase::Ended || phase == ReportPhase::Stopped) {
        EndProgress();
    }
}

void ReportWindow::Finished() {
    EndProgress();
    saveAsButton_->setEnabled(HasReport());
    CopyToClipboard();
    QTextCursor end = reportText_->textCursor();
    end.movePosition(QTextCursor::End);
    reportText_->setTextCursor(end);
}

void ReportWindow::SetFileQuestionShowing(bool showing) {
    if (showing) {
        pauseButton_->hide();
        stopButton_->hide();
    } else {
        ShowButtons(phase_, pausedDoneLabel_->text().toStdString());
    }
}

void ReportWindow::PauseContinue() {
    const bool paused = control_.PauseContinue();
    ShowButtons(paused ? ReportPhase::Paused
                       : (purging_ ? ReportPhase::PurgeRunning : ReportPhase::ListingRunning));
}

void ReportWindow::StopClicked() {
    control_.Stop();
    ShowButtons(ReportPhase::Stopped);
    copyButton_->hide();
}

void ReportWindow::CloseClicked() {
    control_.Close();
    hide();
}

void ReportWindow::closeEvent(QCloseEvent* event) {
    // The title bar's close is the Close button: the window is hidden, not destroyed,
    // and whatever runs stops at its next checkpoint.
    control_.Close();
    event->accept();
}

void ReportWindow::CopyToClipboard() {
    if (!text_.empty()) {
        const QString selected = reportText_->textCursor().selectedText();
        // A selection holds U+2029 for its line breaks.
        QGuiApplication::clipboard()->setText(
            selected.isEmpty() ? ReportForDisplay(text_)
                               : QString(selected).replace(QChar::ParagraphSeparator, '\n'));
        pausedDoneLabel_->clear();
        ShowCopyCaption(false);
    }
    if (closeButton_->isVisible()) {
        closeButton_->setFocus();
    }
}

void ReportWindow::SaveAs() {
    const std::string path = dialogs_.ReportFileName("Save report as");
    if (path.empty()) {
        return;
    }
    if (const std::error_code error = SaveReportAs(path, text_)) {
        Tell(dialogs_,
             "The report could not be saved as " + path + ": " +
                 platform::Platform::ErrorText(error) + ".",
             "Save report as", MessageIcon::Exclamation);
    }
}

bool ReportWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == reportText_->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && copyButton_->isEnabled()) {
        const bool selected = reportText_->textCursor().hasSelection();
        ShowCopyCaption(selected);
        if (selected) {
            pausedDoneLabel_->clear();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vorlane
