#pragma once
// Asks about one file before it is purged, over the bottom of the report window.
// Closing it is No for that file.

#include <QDialog>

#include "operation/OperationInterface.h"

class QLabel;

namespace vorlane {

class FileConfirmationWindow : public QDialog {
    Q_OBJECT

  public:
    explicit FileConfirmationWindow(QWidget* parent);

    // Shows the file modally over the bottom of `over` (when given).
    FileConfirmation Choose(const std::string& fileText, const QWidget* over);

  private:
    void Answer(FileConfirmation answer);

    QLabel* fileLabel_ = nullptr;
    FileConfirmation answer_ = FileConfirmation::No;
};

}  // namespace vorlane
