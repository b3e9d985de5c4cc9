#pragma once
// The drive chooser of the speed test: every mounted volume by its mount point (pseudo
// file systems are never listed), the given drive selected first.

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <string>

namespace vorlane {

class DriveSelectionWindow : public QDialog {
    Q_OBJECT

  public:
    explicit DriveSelectionWindow(QWidget* parent = nullptr);

    // The chosen mount point, or empty on Cancel. drive: the one selected first.
    std::string Choose(const std::string& drive, const std::string& caption);
    bool DrivesFound() const { return driveList_->count() > 0; }

    QComboBox* Drives() const { return driveList_; }
    QPushButton* AcceptButton() const { return acceptButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

  private:
    void FillList(const std::string& drive);

    QComboBox* driveList_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace vorlane
