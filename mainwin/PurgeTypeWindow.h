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

class PurgeTypeWindow : public QDialog {
    Q_OBJECT

  public:
    PurgeTypeWindow(Dialogs& dialogs, QWidget* parent);

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
    std::array<QRadioButton*, 3> purgeTypeOptions_{};
    std::array<QLabel*, 3> purgeTypeLabel_{};
    std::array<QComboBox*, 3> passCountList_{};
    QLabel* passesLabel_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace vorlane
