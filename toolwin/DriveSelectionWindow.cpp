#include "toolwin/DriveSelectionWindow.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "mainwin/WindowLook.h"
#include "platform/Platform.h"

namespace vorlane {

DriveSelectionWindow::DriveSelectionWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSpecifyDrive2");
    setModal(true);
    PaintWindow(*this, QColor(128, 0, 0));
    driveList_ = new QComboBox(this);
    driveList_->setObjectName("cboDrives");
    driveList_->setAccessibleName("Drive");
    acceptButton_ = new QPushButton(QStringLiteral("Accept"), this);
    acceptButton_->setObjectName("cmdAccept");
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName("cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(acceptButton_);
    buttons->addWidget(cancelButton_);
    // Names the list by its purpose: a screen reader says "Drive", not only "/".
    auto* driveLabel = NamedLabel("lblDrive", QStringLiteral("Drive:"), this);
    driveLabel->setBuddy(driveList_);
    auto* drive = new QHBoxLayout;
    drive->addWidget(driveLabel);
    drive->addWidget(driveList_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(drive);
    layout->addLayout(buttons);
    connect(acceptButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void DriveSelectionWindow::FillList(const std::string& drive) {
    driveList_->clear();
    for (const auto& volume : platform::Sys().ListVolumes()) {
        const QString mountPoint = QString::fromStdString(volume.mountPoint);
        // The whole mount point is the drive, never its first characters.
        if (driveList_->findData(mountPoint) < 0) {
            const QString label =
                QString::fromStdString(platform::SysVolumes().VolumeLabel(volume));
            driveList_->addItem(label.isEmpty() ? mountPoint : mountPoint + " [" + label + "]",
                                mountPoint);
        }
    }
    const int given = driveList_->findData(QString::fromStdString(drive));
    driveList_->setCurrentIndex(std::max(given, 0));
}

std::string DriveSelectionWindow::Choose(const std::string& drive, const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
    FillList(drive);
    if (!DrivesFound()) {
        return {};
    }
    cancelButton_->setFocus();
    if (exec() != QDialog::Accepted) {
        return {};
    }
    return driveList_->currentData().toString().toStdString();
}

}  // namespace vorlane
