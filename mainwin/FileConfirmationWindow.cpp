#include "mainwin/FileConfirmationWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "mainwin/WindowLook.h"

namespace vorlane {
namespace {

constexpr int kAboveReportBottom = 100 / 15;

struct ButtonSpec {
    const char* name;
    const char* caption;
    FileConfirmation answer;
};

constexpr ButtonSpec kButtons[] = {
    {"cmdYes", "Yes", FileConfirmation::Yes},
    {"cmdNo", "No", FileConfirmation::No},
    {"cmdYesAndDontShowAgain", "Purge this file and all subsequent files (don't show this again).",
     FileConfirmation::YesToAll},
    {"cmdStopPurge", "Stop this purge", FileConfirmation::StopPurge},
};

}  // namespace

FileConfirmationWindow::FileConfirmationWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("frmConfirmFiles");
    setWindowTitle("Confirm purging of this file");
    setModal(true);
    QFont arial("Arial");
    setFont(arial);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NamedLabel("lblPurgeThisFile", "Purge this file?", this));
    fileLabel_ = NamedLabel("lblFile", QString(), this);
    fileLabel_->setWordWrap(true);
    layout->addWidget(fileLabel_);
    auto* row = new QHBoxLayout;
    for (const ButtonSpec& spec : kButtons) {
        auto* button = new QPushButton(spec.caption, this);
        button->setObjectName(spec.name);
        button->setAutoDefault(false);
        const FileConfirmation answer = spec.answer;
        connect(button, &QPushButton::clicked, this, [this, answer] { Answer(answer); });
        row->addWidget(button);
    }
    layout->addLayout(row);
}

void FileConfirmationWindow::Answer(FileConfirmation answer) {
    answer_ = answer;
    accept();
}

FileConfirmation FileConfirmationWindow::Choose(const std::string& fileText, const QWidget* over) {
    fileLabel_->setText(ShownText(fileText));
    answer_ = FileConfirmation::No;  // the title bar and Esc answer No
    adjustSize();
    if (over) {
        const QRect report = over->frameGeometry();
        resize(report.width(), height());
        move(report.left(), report.bottom() - kAboveReportBottom - frameGeometry().height());
    }
    exec();
    return answer_;
}

}  // namespace vorlane
