#include "mainwin/PurgeConfirmationWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/DriveInfo.h"
#include "mainwin/WindowLook.h"
#include "selection/ReportButtons.h"
#include "tools/VerifySetting.h"

namespace vorlane {
namespace {

struct BoxSpec {
    const char* name;
    const char* caption;
};

// In the order of PurgeOptions.
constexpr std::array<BoxSpec, 8> kBoxes{{
    {"chkDoNotDeletePurgedFiles", "Do not delete purged files (only for testing)"},
    {"chkOKToPurgeReadOnlyFiles", "OK to purge read-only files"},
    {"chkOKToPurgeSystemFiles", "OK to purge system files"},
    {"chkOKToPurgeSensitiveFiles", "OK to purge sensitive files (exe, dll, sys, ini, etc.)"},
    {"chkFolderNamesOnly", "Include only folder names (not file names) in report"},
    {"chkConfirmFiles", "Confirm purge operation for each file"},
    {"chkDeleteEmptyFolders", "Delete empty folders"},
    {"chkPurgeSlackOnly", "Purge slack area only"},
}};

enum Box { DoNotDelete, ReadOnly, System, Sensitive, FolderNames, Confirm, DeleteEmpty, SlackOnly };

// The options in the order of the boxes.
std::array<bool, 8> ValuesOf(const PurgeOptions& options) {
    return {options.doNotDeletePurgedFiles, options.okToPurgeReadOnlyFiles,
            options.okToPurgeSystemFiles,   options.okToPurgeSensitiveFiles,
            options.folderNamesOnly,        options.confirmFiles,
            options.deleteEmptyFolders,     options.purgeSlackOnly};
}

QPushButton* NamedButton(const char* name, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

PurgeConfirmationWindow::PurgeConfirmationWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("frmPurgeConfirmation");
    setWindowTitle("Purge confirmation");
    setModal(true);
    messageLabel_ = NamedLabel("lblMessage", QString(), this);
    messageLabel_->setWordWrap(true);
    messageLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(messageLabel_);
    layout->addSpacing(12);
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        boxes_[i] = new QCheckBox(kBoxes[i].caption, this);
        boxes_[i]->setObjectName(kBoxes[i].name);
        layout->addWidget(boxes_[i]);
        // Whatever is ticked, No stays the answer that Return gives.
        connect(boxes_[i], &QCheckBox::clicked, this, [this] { cancelButton_->setFocus(); });
    }
    verifyBox_ = new QCheckBox("Verify the last overwrite", this);
    verifyBox_->setObjectName("verifyLastOverwrite");
    layout->addWidget(verifyBox_);
    connect(verifyBox_, &QCheckBox::clicked, this, [this] { cancelButton_->setFocus(); });
    boxes_[ReadOnly]->setChecked(true);
    boxes_[FolderNames]->setChecked(true);
    boxes_[DeleteEmpty]->setChecked(true);

    clusterSizeFrame_ = new QFrame(this);
    clusterSizeFrame_->setObjectName("fraClusterSize");
    auto* clusterLayout = new QHBoxLayout(clusterSizeFrame_);
    QLabel* clusterSizeLabel = NamedLabel("lblClusterSize", "Cluster size:", clusterSizeFrame_);
    clusterLayout->addWidget(clusterSizeLabel);
    clusterSizeList_ = new QComboBox(clusterSizeFrame_);
    clusterSizeLabel->setBuddy(clusterSizeList_);
    clusterSizeList_->setObjectName("cboClusterSize");
    clusterSizeList_->setAccessibleName("Cluster size");
    for (int entry = 0; entry < kClusterSizeEntries; ++entry) {
        clusterSizeList_->addItem(QString::fromStdString(ClusterSizeCaption(entry)),
                                  ClusterSizeOfEntry(entry));
    }
    clusterSizeList_->setCurrentIndex(ClusterSizeEntry(4096));
    clusterLayout->addWidget(clusterSizeList_);
    fileSystemLabel_ = NamedLabel("lblFileSystem", QString(), this);
    layout->addWidget(clusterSizeFrame_);
    layout->addWidget(fileSystemLabel_);
    clusterSizeFrame_->hide();
    fileSystemLabel_->hide();

    purgeButton_ = NamedButton("cmdDoPurge", this);
    cancelButton_ = NamedButton("cmdCancel", this);
    cancelButton_->setText("No, cancel this purge");
    cancelButton_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(purgeButton_);
    buttons->addWidget(cancelButton_);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    connect(purgeButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(560);
}

QCheckBox* PurgeConfirmationWindow::Box(const char* objectName) const {
    return findChild<QCheckBox*>(objectName);
}

void PurgeConfirmationWindow::ShowOptions(const PurgeOptions& options, bool subdirectories) {
    // The boxes keep what was ticked, also before a No; only options that changed
    // elsewhere since (a loaded setup) are drawn anew.
    if (!handedOut_ || ValuesOf(*handedOut_) != ValuesOf(options)) {
        const std::array<bool, 8> values = ValuesOf(options);
        for (int i = DoNotDelete; i <= SlackOnly; ++i) {
            boxes_[i]->setChecked(values[i]);
        }
    }
    // Where no folder can be emptied the box has no use; its value stays the person's.
    boxes_[DeleteEmpty]->setVisible(subdirectories);
}

PurgeOptions PurgeConfirmationWindow::BoxOptions() const {
    return {boxes_[DoNotDelete]->isChecked(), boxes_[ReadOnly]->isChecked(),
            boxes_[System]->isChecked(),      boxes_[Sensitive]->isChecked(),
            boxes_[FolderNames]->isChecked(), boxes_[Confirm]->isChecked(),
            boxes_[DeleteEmpty]->isChecked(), boxes_[SlackOnly]->isChecked()};
}

void PurgeConfirmationWindow::SelectClusterSize(const std::string& drive) {
    const int entry = ClusterSizeEntry(GetClusterSize(drive));
    clusterSizeMatched_ = entry >= 0;
    if (clusterSizeMatched_) {
        clusterSizeList_->setCurrentIndex(entry);
    }
}

bool PurgeConfirmationWindow::Choose(const std::string& message, const std::string& yesCaption,
                                     bool subdirectories, const std::string& drive,
                                     PurgeOptions& options) {
    ShowOptions(options, subdirectories);
    const bool doNotDeleteAtOpening = boxes_[DoNotDelete]->isChecked();
    verifyBox_->setChecked(StoredVerifyLastOverwrite());
    messageLabel_->setText(ShownText(message));
    purgeButton_->setText(QString::fromStdString(yesCaption));
    SelectClusterSize(drive);
    cancelButton_->setFocus();
    // Every opening starts from No: only the Yes button changes it.
    const bool yes = exec() == QDialog::Accepted;
    fileSystemLabel_->clear();
    if (yes) {
        options = BoxOptions();
        options.verifyLastOverwrite = verifyBox_->isChecked();
        // Best effort: this purge has the box as ticked; only the next opening may differ.
        (void)StoreVerifyLastOverwrite(options.verifyLastOverwrite);
        if (clusterSizeMatched_) {
            SetDriveClusterSize(drive, clusterSizeList_->currentData().toInt());
        }
    }
    handedOut_ = options;
    boxes_[DoNotDelete]->setChecked(doNotDeleteAtOpening);
    return yes;
}

}  // namespace vorlane
