#pragma once
// The drive chooser of the speed test: every mounted volume by its mount point (pseudo
// file systems are never listed), the given drive selected first.

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <string>

namespace vorlane {

class FrmSpecifyDrive2 : public QDialog {
    Q_OBJECT

  public:
    explicit FrmSpecifyDrive2(QWidget* parent = nullptr);

    // The chosen mount point, or empty on Cancel. drive: the one selected first.
    std::string Choose(const std::string& drive, const std::string& caption);
    bool DrivesFound() const { return cboDrives_->count() > 0; }

    QComboBox* Drives() const { return cboDrives_; }
    QPushButton* AcceptButton() const { return cmdAccept_; }
    QPushButton* CancelButton() const { return cmdCancel_; }

  private:
    void FillList(const std::string& drive);

    QComboBox* cboDrives_ = nullptr;
    QPushButton* cmdAccept_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

}  // namespace vorlane
