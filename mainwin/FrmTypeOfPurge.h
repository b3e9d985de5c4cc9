#pragma once
// The purge-type window: three types, each with its own list of passes.

#include <QDialog>
#include <array>

#include "selection/Dialogs.h"
#include "selection/PurgeTypeChoice.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vorlane {

class FrmTypeOfPurge : public QDialog {
    Q_OBJECT

  public:
    FrmTypeOfPurge(Dialogs& dialogs, QWidget* parent);

    // Shows the choice modally. Accept (after Yes to its question) takes the shown
    // type; Cancel, Esc and the title bar restore the type of the opening. Passes
    // chosen in the lists stay chosen either way. True when accepted.
    bool Choose(PurgeTypeChoice& choice);

    int SelectedType() const;

  private:
    void ShowListOf(int type);
    void Accept();
    PurgeTypeChoice ShownChoice() const;

    Dialogs& dialogs_;
    std::array<QRadioButton*, 3> optPurgeType_{};
    std::array<QLabel*, 3> lblPurgeType_{};
    std::array<QComboBox*, 3> cboNumberOfPasses_{};
    QPushButton* cmdAccept_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

}  // namespace vorlane
