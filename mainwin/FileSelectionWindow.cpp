#include "mainwin/FileSelectionWindow.h"

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

FileSelectionWindow::FileSelectionWindow(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setObjectName("frmSpecifyFiles");
    setWindowTitle("Specify files");
    PaintWindow(*this, kFilesWindowColour);
    singleFileOption_ = Option("optSingleFile", this);
    allFilesOption_ = Option("optAllFiles", this);
    extensionOption_ = Option("optExtension", this);
    multipleFilesOption_ = Option("optMultipleFiles", this);
    file_ = new QListWidget(this);
    file_->setObjectName("File");
    file_->setAccessibleName("Files in the folder");
    extensionEdit_ = TextBox("txbExtension", "Extension", this);
    fileSpecEdit_ = TextBox("txbFilespec", "File specification", this);
    acceptButton_ = new QPushButton("Accept", this);
    acceptButton_->setObjectName("cmdAccept");
    acceptButton_->setAutoDefault(false);
    cancelButton_ = new QPushButton("Cancel", this);
    cancelButton_->setObjectName("cmdCancel");
    cancelButton_->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(singleFileOption_, 0, 0, 1, 2);
    grid->addWidget(file_, 1, 0, 1, 2);
    grid->addWidget(allFilesOption_, 2, 0, 1, 2);
    grid->addWidget(extensionOption_, 3, 0);
    grid->addWidget(extensionEdit_, 3, 1);
    grid->addWidget(multipleFilesOption_, 4, 0);
    grid->addWidget(fileSpecEdit_, 4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(acceptButton_);
    buttons->addWidget(cancelButton_);
    grid->addLayout(buttons, 5, 0, 1, 2);
    setMinimumWidth(620);

    connect(acceptButton_, &QPushButton::clicked, this, &FileSelectionWindow::Accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    for (QRadioButton* option : {singleFileOption_, allFilesOption_}) {
        connect(option, &QRadioButton::clicked, this, [this] { acceptButton_->setFocus(); });
    }
    connect(extensionOption_, &QRadioButton::clicked, this, [this] { extensionEdit_->setFocus(); });
    connect(multipleFilesOption_, &QRadioButton::clicked, this,
            [this] { fileSpecEdit_->setFocus(); });
    connect(file_, &QListWidget::itemClicked, this, [this] {
        singleFileOption_->setChecked(true);
        acceptButton_->setFocus();
    });
    for (QLineEdit* box : {extensionEdit_, fileSpecEdit_}) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::returnPressed, this, &FileSelectionWindow::Accept);
        connect(box, &QLineEdit::textEdited, this, [this, box] { ChooseOptionOf(box); });
    }
}

void FileSelectionWindow::ChooseOptionOf(const QObject* box) {
    if (box == extensionEdit_) {
        extensionOption_->setChecked(true);
    } else if (box == fileSpecEdit_) {
        multipleFilesOption_->setChecked(true);
    }
}

bool FileSelectionWindow::eventFilter(QObject* watched, QEvent* event) {
    // A click into a box chooses its option; the focus alone does not: a keyboard user
    // tabs past both boxes on the way to Accept.
    if (event->type() == QEvent::MouseButtonPress) {
        ChooseOptionOf(watched);
    }
    return QDialog::eventFilter(watched, event);
}

bool FileSelectionWindow::SingleFileSelected() const {
    return singleFileOption_->isChecked();
}

FilesKind FileSelectionWindow::ChosenKind() const {
    if (singleFileOption_->isChecked()) {
        return FilesKind::SingleFile;
    }
    if (extensionOption_->isChecked()) {
        return FilesKind::Extension;
    }
    if (multipleFilesOption_->isChecked()) {
        return FilesKind::Filespec;
    }
    return FilesKind::AllFiles;
}

void FileSelectionWindow::Accept() {
    FilesChoiceInput input;
    input.kind = ChosenKind();
    if (file_->currentItem() && file_->currentItem()->isSelected()) {
        input.selectedFile = file_->currentItem()->text().toStdString();
    }
    input.extensionText = extensionEdit_->text().toStdString();
    input.filespecText = fileSpecEdit_->text().toStdString();
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

void FileSelectionWindow::FillFileList(const std::string& folder) {
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

FilesChoiceResult FileSelectionWindow::Choose(const std::string& folder, int fileCount,
                                              const std::string& action) {
    result_ = {};
    extensionEdit_->clear();
    fileSpecEdit_->clear();
    singleFileOption_->setText(
        QString::fromStdString(FilesOptionCaption(FilesKind::SingleFile, action)));
    allFilesOption_->setText(
        QString::fromStdString(FilesOptionCaption(FilesKind::AllFiles, action)));
    extensionOption_->setText(
        QString::fromStdString(FilesOptionCaption(FilesKind::Extension, action)));
    multipleFilesOption_->setText(
        QString::fromStdString(FilesOptionCaption(FilesKind::Filespec, action)));
    const bool anyFile = fileCount != 0;
    FillFileList(anyFile ? folder : std::string());
    singleFileOption_->setEnabled(anyFile);
    file_->setEnabled(anyFile);
    (anyFile ? singleFileOption_ : allFilesOption_)->setChecked(true);
    exec();
    return result_;
}

}  // namespace vorlane
