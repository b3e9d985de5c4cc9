#include "toolwin/TextViewWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "mainwin/WindowLook.h"
#include "platform/Platform.h"
#include "support/ViewerText.h"

namespace vorlane {
namespace {

constexpr std::size_t kMostBytesRead = 64 * 1024 * 1024;
constexpr int kCopyButtonWidth = 3270 / 15;
const QString kCopyCaption = QStringLiteral("Copy to clipboard");
const QString kCopySelectionCaption = QStringLiteral("Copy selected text to clipboard");

}  // namespace

TextViewWindow::TextViewWindow(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setObjectName("frmView");
    helpText_ = new QPlainTextEdit(this);
    helpText_->setObjectName("txbText1");
    helpText_->setReadOnly(true);
    helpText_->setAccessibleName("Help text");
    helpText_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    helpText_->setFont(QFont(QStringLiteral("monospace")));
    copyButton_ = new QPushButton(kCopyCaption, this);
    copyButton_->setObjectName("cmdCopyToClipboard");
    copyButton_->setAutoDefault(false);
    // Wide enough for either caption, so that the button keeps its size as they change.
    FitButtonWidth(*copyButton_, kCopyButtonWidth, {kCopyCaption, kCopySelectionCaption});
    closeButton_ = new QPushButton(QStringLiteral("Close"), this);
    closeButton_->setObjectName("cmdClose");
    closeButton_->setAutoDefault(false);

    documentationButton_ = new QPushButton(QStringLiteral("Online documentation"), this);
    documentationButton_->setObjectName("cmdOnlineDocumentation");
    documentationButton_->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyButton_);
    buttons->addStretch();
    buttons->addWidget(documentationButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(helpText_, 1);
    layout->addLayout(buttons);

    connect(helpText_, &QPlainTextEdit::selectionChanged, this, [this] {
        copyButton_->setText(helpText_->textCursor().hasSelection() ? kCopySelectionCaption
                                                                    : kCopyCaption);
    });
    connect(copyButton_, &QPushButton::clicked, this, [this] { CopyToClipboard(); });
    connect(closeButton_, &QPushButton::clicked, this, [this] { hide(); });
}

void TextViewWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!loaded_) {
        Load();
    }
}

void TextViewWindow::closeEvent(QCloseEvent* event) {
    // Closed from its frame: the next Help reads the file again.
    loaded_ = false;
    hide();
    event->ignore();
}

void TextViewWindow::Load() {
    copyButton_->setText(kCopyCaption);
    helpText_->clear();
    std::string bytes;
    const std::error_code error = platform::Sys().ReadWholeFile(filePath_, bytes, kMostBytesRead);
    if (error) {
        dialogs_.Ask({"Error " + std::to_string(error.value()) + ".  " +
                          platform::Platform::ErrorText(error) + "\n" + filePath_,
                      "Error reading file", MessageButtons::Ok, 1, MessageIcon::Exclamation});
        return;
    }
    helpText_->setPlainText(QString::fromStdString(ViewerText(bytes)));
    helpText_->moveCursor(QTextCursor::Start);
    loaded_ = true;
}

void TextViewWindow::CopyToClipboard() {
    if (!helpText_->document()->isEmpty()) {
        const QTextCursor cursor = helpText_->textCursor();
        QString text = cursor.hasSelection() ? cursor.selectedText() : helpText_->toPlainText();
        // A selection holds paragraph separators where the lines break.
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        QApplication::clipboard()->setText(text);
    }
    copyButton_->setText(kCopyCaption);
    closeButton_->setFocus();
}

}  // namespace vorlane
