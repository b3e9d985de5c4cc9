#pragma once
// The purge confirmation: says exactly what will be destroyed and carries the purge
// options. No purge starts without its Yes; closing it by the title bar or Esc is No.

#include <QDialog>
#include <array>
#include <optional>

#include "operation/OperationChoices.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace vorlane {

class PurgeConfirmationWindow : public QDialog {
    Q_OBJECT

  public:
    explicit PurgeConfirmationWindow(QWidget* parent);

    // Shows the message modally with the options; on Yes, options takes the boxes for
    // this purge. The boxes keep their ticks from one opening to the next, also after a
    // No, unless the options changed elsewhere meanwhile. The box "Do not delete purged files" is
    // back to its opening state afterwards, whatever the answer. "Verify the last overwrite"
    // opens as the settings store holds it, and a Yes stores it. drive: the target's mount point.
    bool Choose(const std::string& message, const std::string& yesCaption, bool subdirectories,
                const std::string& drive, PurgeOptions& options);

    QCheckBox* Box(const char* objectName) const;

  private:
    void ShowOptions(const PurgeOptions& options, bool subdirectories);
    PurgeOptions BoxOptions() const;
    void SelectClusterSize(const std::string& drive);

    QLabel* messageLabel_ = nullptr;
    std::array<QCheckBox*, 8> boxes_{};
    QCheckBox* verifyBox_ = nullptr;  // kept in the settings store, not with the others
    QFrame* clusterSizeFrame_ = nullptr;
    QComboBox* clusterSizeList_ = nullptr;
    QLabel* fileSystemLabel_ = nullptr;
    QPushButton* purgeButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    bool clusterSizeMatched_ = false;
    // The options as the last answer left them with the caller.
    std::optional<PurgeOptions> handedOut_;
};

}  // namespace vorlane
