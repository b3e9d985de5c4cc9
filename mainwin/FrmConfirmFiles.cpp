#include "mainwin/FrmConfirmFiles.h"

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

FrmConfirmFiles::FrmConfirmFiles(QWidget* parent) : QDialog(parent) {
    setObjectName("frmConfirmFiles");
    setWindowTitle("Confirm purging of this file");
    setModal(true);
    QFont arial("Arial");
    setFont(arial);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NamedLabel("lblPurgeThisFile", "Purge this file?", this));
    lblFile_ = NamedLabel("lblFile", QString(), this);
    lblFile_->setWordWrap(true);
    layout->addWidget(lblFile_);
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

void FrmConfirmFiles::Answer(FileConfirmation answer) {
    answer_ = answer;
    accept();
}

FileConfirmation FrmConfirmFiles::Choose(const std::string& fileText, const QWidget* over) {
    lblFile_->setText(QString::fromStdString(fileText));
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
