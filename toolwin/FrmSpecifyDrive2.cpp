#include "toolwin/FrmSpecifyDrive2.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "mainwin/WindowLook.h"
#include "platform/Platform.h"

namespace vorlane {

FrmSpecifyDrive2::FrmSpecifyDrive2(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSpecifyDrive2");
    setModal(true);
    PaintWindow(*this, QColor(128, 0, 0));
    cboDrives_ = new QComboBox(this);
    cboDrives_->setObjectName("cboDrives");
    cboDrives_->setAccessibleName("Drive");
    cmdAccept_ = new QPushButton(QStringLiteral("Accept"), this);
    cmdAccept_->setObjectName("cmdAccept");
    cmdCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel_->setObjectName("cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAccept_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cboDrives_);
    layout->addLayout(buttons);
    connect(cmdAccept_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmSpecifyDrive2::FillList(const std::string& drive) {
    cboDrives_->clear();
    for (const auto& volume : platform::Sys().ListVolumes()) {
        const QString mountPoint = QString::fromStdString(volume.mountPoint);
        // The whole mount point is the drive, never its first characters.
        if (cboDrives_->findData(mountPoint) < 0) {
            const QString label =
                QString::fromStdString(platform::SysVolumes().VolumeLabel(volume));
            cboDrives_->addItem(label.isEmpty() ? mountPoint : mountPoint + " [" + label + "]",
                                mountPoint);
        }
    }
    const int given = cboDrives_->findData(QString::fromStdString(drive));
    cboDrives_->setCurrentIndex(std::max(given, 0));
}

std::string FrmSpecifyDrive2::Choose(const std::string& drive, const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
    FillList(drive);
    if (!DrivesFound()) {
        return {};
    }
    cmdCancel_->setFocus();
    if (exec() != QDialog::Accepted) {
        return {};
    }
    return cboDrives_->currentData().toString().toStdString();
}

}  // namespace vorlane
