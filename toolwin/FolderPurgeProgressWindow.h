#pragma once
// The progress of "Purge folders" beside the main window: the bar and line of a purge,
// and a Stop button that does what F10 does (the walk then asks whether to cancel).
// It never takes the focus from the main window, where F10 is heard.

#include <QDialog>
#include <QPushButton>

#include "mainwin/PurgeProgressPanel.h"
#include "operation/OperationControl.h"

namespace vorlane {

class FolderPurgeProgressWindow : public QDialog {
    Q_OBJECT

  public:
    FolderPurgeProgressWindow(OperationControl& control, QWidget* parent);

    // A new purge: hidden until its first progress.
    void Reset();
    void ShowProgress(const PurgeProgress& progress);

    PurgeProgressPanel* Panel() const { return panel_; }
    QPushButton* StopButton() const { return stopButton_; }

  private:
    OperationControl& control_;
    PurgeProgressPanel* panel_ = nullptr;
    QPushButton* stopButton_ = nullptr;
};

}  // namespace vorlane
