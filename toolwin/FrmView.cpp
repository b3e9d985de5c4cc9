#include "toolwin/FrmView.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/Platform.h"
#include "support/ViewerText.h"

namespace vorlane {
namespace {

constexpr std::size_t kMostBytesRead = 64 * 1024 * 1024;
constexpr int kCopyButtonWidth = 3270 / 15;
const QString kCopyCaption = QStringLiteral("Copy to clipboard");
const QString kCopySelectionCaption = QStringLiteral("Copy selected text to clipboard");

}  // namespace

FrmView::FrmView(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    setObjectName("frmView");
    txbText1_ = new QPlainTextEdit(this);
    txbText1_->setObjectName("txbText1");
    txbText1_->setReadOnly(true);
    txbText1_->setAccessibleName("Help text");
    txbText1_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txbText1_->setFont(QFont(QStringLiteral("monospace")));
    cmdCopyToClipboard_ = new QPushButton(kCopyCaption, this);
    cmdCopyToClipboard_->setObjectName("cmdCopyToClipboard");
    cmdCopyToClipboard_->setFixedWidth(kCopyButtonWidth);
    cmdClose_ = new QPushButton(QStringLiteral("Close"), this);
    cmdClose_->setObjectName("cmdClose");

    cmdOnlineDocumentation_ = new QPushButton(QStringLiteral("Online documentation"), this);
    cmdOnlineDocumentation_->setObjectName("cmdOnlineDocumentation");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopyToClipboard_);
    buttons->addStretch();
    buttons->addWidget(cmdOnlineDocumentation_);
    buttons->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txbText1_, 1);
    layout->addLayout(buttons);

    connect(txbText1_, &QPlainTextEdit::selectionChanged, this, [this] {
        cmdCopyToClipboard_->setText(txbText1_->textCursor().hasSelection() ? kCopySelectionCaption
                                                                            : kCopyCaption);
    });
    connect(cmdCopyToClipboard_, &QPushButton::clicked, this, [this] { CopyToClipboard(); });
    connect(cmdClose_, &QPushButton::clicked, this, [this] { hide(); });
}

void FrmView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!loaded_) {
        Load();
    }
}

void FrmView::closeEvent(QCloseEvent* event) {
    // Closed from its frame: the next Help reads the file again.
    loaded_ = false;
    hide();
    event->ignore();
}

void FrmView::Load() {
    cmdCopyToClipboard_->setText(kCopyCaption);
    txbText1_->clear();
    std::string bytes;
    const std::error_code error = platform::Sys().ReadWholeFile(filePath_, bytes, kMostBytesRead);
    if (error) {
        dialogs_.Ask({"Error " + std::to_string(error.value()) + ".  " +
                          platform::Platform::ErrorText(error) + "\n" + filePath_,
                      "Error reading file", MessageButtons::Ok, 1, MessageIcon::Exclamation});
        return;
    }
    txbText1_->setPlainText(QString::fromStdString(ViewerText(bytes)));
    txbText1_->moveCursor(QTextCursor::Start);
    loaded_ = true;
}

void FrmView::CopyToClipboard() {
    if (!txbText1_->document()->isEmpty()) {
        const QTextCursor cursor = txbText1_->textCursor();
        QString text = cursor.hasSelection() ? cursor.selectedText() : txbText1_->toPlainText();
        // A selection holds paragraph separators where the lines break.
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        QApplication::clipboard()->setText(text);
    }
    cmdCopyToClipboard_->setText(kCopyCaption);
    cmdClose_->setFocus();
}

}  // namespace vorlane
