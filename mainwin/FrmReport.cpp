#include "mainwin/FrmReport.h"

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
    button.setFixedWidth(twips / kTwipsPerPixel);
}

}  // namespace

QString ReportForDisplay(std::string_view text) {
    std::string lines;
    lines.reserve(text.size());
    for (const char c : text) {
        if (c != '\r') {
            lines += c;
        }
    }
    return QString::fromStdString(lines);
}

FrmReport::FrmReport(OperationControl& control, QWidget* parent)
    : QWidget(parent, Qt::Window), control_(control) {
    setObjectName("frmReport");
    txbText_ = new QPlainTextEdit(this);
    txbText_->setObjectName("txbText");
    txbText_->setAccessibleName("Report");
    txbText_->setReadOnly(true);
    txbText_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txbText_->setFont(QFont("Monospace"));
    txbText_->viewport()->installEventFilter(this);
    cmdPauseContinue_ = NamedButton("cmdPauseContinue", "Pause", this);
    cmdStop_ = NamedButton("cmdStop", "Stop", this);
    cmdClose_ = NamedButton("cmdClose", "Close", this);
    cmdCopyToClipboard_ = NamedButton("cmdCopyToClipboard", "Copy to clipboard", this);
    lblPausedDone_ = NamedLabel("lblPausedDone", QString(), this);
    lblDots_ = NamedLabel("lblDots", ". . .", this);
    lblDots_->setAccessibleName("Listing in progress");
    for (QLabel* label : {lblPausedDone_, lblDots_}) {
        label->setAlignment(Qt::AlignCenter);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopyToClipboard_);
    buttons->addStretch();
    buttons->addWidget(lblPausedDone_);
    buttons->addWidget(lblDots_);
    buttons->addStretch();
    buttons->addWidget(cmdStop_);
    buttons->addWidget(cmdPauseContinue_);
    buttons->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txbText_, 1);
    layout->addLayout(buttons);
    SetWidth(*cmdClose_, 1000);
    connect(cmdPauseContinue_, &QPushButton::clicked, this, &FrmReport::PauseContinue);
    connect(cmdStop_, &QPushButton::clicked, this, &FrmReport::StopClicked);
    connect(cmdClose_, &QPushButton::clicked, this, &FrmReport::CloseClicked);
    connect(cmdCopyToClipboard_, &QPushButton::clicked, this, &FrmReport::CopyToClipboard);
    ShowButtons(ReportPhase::Ended);
    cmdCopyToClipboard_->hide();
    lblDots_->hide();
    resize(720, 520);
}

QPushButton* FrmReport::Button(const char* objectName) const {
    return findChild<QPushButton*>(objectName);
}

void FrmReport::StartOperation(const QString& caption, bool purging, bool dots) {
    setWindowTitle(caption);
    purging_ = purging;
    dots_ = dots;
    ShowButtons(purging ? ReportPhase::PurgeRunning : ReportPhase::ListingRunning);
    ShowCopyCaption(false);
}

void FrmReport::ShowButtons(ReportPhase phase, const std::string& pausedDone) {
    phase_ = phase;
    const ReportButtons shown = ButtonsFor(phase, pausedDone);
    cmdPauseContinue_->setText(QString::fromStdString(shown.pauseCaption));
    SetWidth(*cmdPauseContinue_, shown.pauseWidth);
    cmdPauseContinue_->setVisible(shown.pauseVisible);
    SetWidth(*cmdStop_, shown.stopWidth);
    cmdStop_->setVisible(shown.stopVisible);
    cmdClose_->setVisible(shown.closeVisible);
    cmdCopyToClipboard_->setVisible(shown.copyVisible);
    lblPausedDone_->setText(QString::fromStdString(shown.pausedDone));
    const bool running = phase == ReportPhase::PurgeRunning || phase == ReportPhase::ListingRunning;
    lblDots_->setVisible(dots_ && running);
}

void FrmReport::ShowCopyCaption(bool textSelected) {
    const CopyButton copy = CopyButtonFor(textSelected);
    cmdCopyToClipboard_->setText(QString::fromStdString(copy.caption));
    SetWidth(*cmdCopyToClipboard_, copy.width);
}

void FrmReport::ApplyChange(const ReportChangeBatch::Change& change) {
    const std::size_t kept = std::min(change.keptBytes, text_.size());
    QTextCursor cursor(txbText_->document());
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
    txbText_->setTextCursor(cursor);
    txbText_->ensureCursorVisible();
}

void FrmReport::ShowPhase(ReportPhase phase, const std::string& pausedDone) {
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
}

void FrmReport::Finished() {
    CopyToClipboard();
    QTextCursor end = txbText_->textCursor();
    end.movePosition(QTextCursor::End);
    txbText_->setTextCursor(end);
}

void FrmReport::SetFileQuestionShowing(bool showing) {
    if (showing) {
        cmdPauseContinue_->hide();
        cmdStop_->hide();
    } else {
        ShowButtons(phase_, lblPausedDone_->text().toStdString());
    }
}

void FrmReport::PauseContinue() {
    const bool paused = control_.PauseContinue();
    ShowButtons(paused ? ReportPhase::Paused
                       : (purging_ ? ReportPhase::PurgeRunning : ReportPhase::ListingRunning));
}

void FrmReport::StopClicked() {
    control_.Stop();
    ShowButtons(ReportPhase::Stopped);
    cmdCopyToClipboard_->hide();
}

void FrmReport::CloseClicked() {
    control_.Close();
    hide();
}

void FrmReport::closeEvent(QCloseEvent* event) {
    // The title bar's close is the Close button: the window is hidden, not destroyed,
    // and whatever runs stops at its next checkpoint.
    control_.Close();
    event->accept();
}

void FrmReport::CopyToClipboard() {
    if (!text_.empty()) {
        const QString selected = txbText_->textCursor().selectedText();
        // A selection holds U+2029 for its line breaks.
        QGuiApplication::clipboard()->setText(
            selected.isEmpty() ? ReportForDisplay(text_)
                               : QString(selected).replace(QChar::ParagraphSeparator, '\n'));
        lblPausedDone_->clear();
        ShowCopyCaption(false);
    }
    if (cmdClose_->isVisible()) {
        cmdClose_->setFocus();
    }
}

bool FrmReport::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txbText_->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        cmdCopyToClipboard_->isEnabled()) {
        const bool selected = txbText_->textCursor().hasSelection();
        ShowCopyCaption(selected);
        if (selected) {
            lblPausedDone_->clear();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vorlane
