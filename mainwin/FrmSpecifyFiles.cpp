#include "mainwin/FrmSpecifyFiles.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "mainwin/WindowLook.h"
#include "platform/Platform.h"

namespace vorlane {

namespace {

QRadioButton* Option(const char* name, QWidget* parent) {
    auto* option = new QRadioButton(parent);
    option->setObjectName(name);
    return option;
}

QLineEdit* TextBox(const char* name, const char* accessibleName, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    return box;
}

}  // namespace

FrmSpecifyFiles::FrmSpecifyFiles(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setObjectName("frmSpecifyFiles");
    setWindowTitle("Specify files");
    PaintWindow(*this, kFilesWindowColour);
    optSingleFile_ = Option("optSingleFile", this);
    optAllFiles_ = Option("optAllFiles", this);
    optExtension_ = Option("optExtension", this);
    optMultipleFiles_ = Option("optMultipleFiles", this);
    file_ = new QListWidget(this);
    file_->setObjectName("File");
    file_->setAccessibleName("Files in the folder");
    txbExtension_ = TextBox("txbExtension", "Extension", this);
    txbFilespec_ = TextBox("txbFilespec", "File specification", this);
    cmdAccept_ = new QPushButton("Accept", this);
    cmdAccept_->setObjectName("cmdAccept");
    cmdAccept_->setAutoDefault(false);
    cmdCancel_ = new QPushButton("Cancel", this);
    cmdCancel_->setObjectName("cmdCancel");
    cmdCancel_->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(optSingleFile_, 0, 0, 1, 2);
    grid->addWidget(file_, 1, 0, 1, 2);
    grid->addWidget(optAllFiles_, 2, 0, 1, 2);
    grid->addWidget(optExtension_, 3, 0);
    grid->addWidget(txbExtension_, 3, 1);
    grid->addWidget(optMultipleFiles_, 4, 0);
    grid->addWidget(txbFilespec_, 4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAccept_);
    buttons->addWidget(cmdCancel_);
    grid->addLayout(buttons, 5, 0, 1, 2);
    setMinimumWidth(620);

    connect(cmdAccept_, &QPushButton::clicked, this, &FrmSpecifyFiles::Accept);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    for (QRadioButton* option : {optSingleFile_, optAllFiles_}) {
        connect(option, &QRadioButton::clicked, this, [this] { cmdAccept_->setFocus(); });
    }
    connect(optExtension_, &QRadioButton::clicked, this, [this] { txbExtension_->setFocus(); });
    connect(optMultipleFiles_, &QRadioButton::clicked, this, [this] { txbFilespec_->setFocus(); });
    connect(file_, &QListWidget::itemClicked, this, [this] {
        optSingleFile_->setChecked(true);
        cmdAccept_->setFocus();
    });
    for (QLineEdit* box : {txbExtension_, txbFilespec_}) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::returnPressed, this, &FrmSpecifyFiles::Accept);
    }
}

bool FrmSpecifyFiles::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress) {
        if (watched == txbExtension_) {
            optExtension_->setChecked(true);
        } else if (watched == txbFilespec_) {
            optMultipleFiles_->setChecked(true);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool FrmSpecifyFiles::SingleFileSelected() const {
    return optSingleFile_->isChecked();
}

FilesKind FrmSpecifyFiles::ChosenKind() const {
    if (optSingleFile_->isChecked()) {
        return FilesKind::SingleFile;
    }
    if (optExtension_->isChecked()) {
        return FilesKind::Extension;
    }
    if (optMultipleFiles_->isChecked()) {
        return FilesKind::Filespec;
    }
    return FilesKind::AllFiles;
}

void FrmSpecifyFiles::Accept() {
    FilesChoiceInput input;
    input.kind = ChosenKind();
    if (file_->currentItem() && file_->currentItem()->isSelected()) {
        input.selectedFile = file_->currentItem()->text().toStdString();
    }
    input.extensionText = txbExtension_->text().toStdString();
    input.filespecText = txbFilespec_->text().toStdString();
    const FilesChoiceResult result = AcceptFilesChoice(input);
    if (!result.refusal.empty()) {
        Tell(dialogs_, result.refusal, "Error", MessageIcon::Exclamation);
        return;
    }
    result_ = result;
    if (result.accepted) {
        accept();
    } else {
        reject();
    }
}

void FrmSpecifyFiles::FillFileList(const std::string& folder) {
    file_->clear();
    std::vector<platform::FolderEntry> entries;
    if (platform::Sys().ListFolder(folder, entries)) {
        return;
    }
    for (const platform::FolderEntry& entry : entries) {
        if (entry.status.kind != platform::FileKind::Directory) {
            file_->addItem(QString::fromStdString(entry.name));
        }
    }
}

FilesChoiceResult FrmSpecifyFiles::Choose(const std::string& folder, int fileCount,
                                          const std::string& action) {
    result_ = {};
    txbExtension_->clear();
    txbFilespec_->clear();
    optSingleFile_->setText(
        QString::fromStdString(FilesOptionCaption(FilesKind::SingleFile, action)));
    optAllFiles_->setText(QString::fromStdString(FilesOptionCaption(FilesKind::AllFiles, action)));
    optExtension_->setText(
        QString::fromStdString(FilesOptionCaption(FilesKind::Extension, action)));
    optMultipleFiles_->setText(
        QString::fromStdString(FilesOptionCaption(FilesKind::Filespec, action)));
    const bool anyFile = fileCount != 0;
    FillFileList(anyFile ? folder : std::string());
    optSingleFile_->setEnabled(anyFile);
    file_->setEnabled(anyFile);
    (anyFile ? optSingleFile_ : optAllFiles_)->setChecked(true);
    exec();
    return result_;
}

}  // namespace vorlane
