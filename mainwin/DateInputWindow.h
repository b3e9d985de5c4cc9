#pragma once
// The date window: month, day and year of the day before which files are covered.

#include <QDialog>
#include <cstdint>

#include "selection/ChoiceWindows.h"
#include "selection/Dialogs.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorlane {

class DateInputWindow : public QDialog {
    Q_OBJECT

  public:
    DateInputWindow(Dialogs& dialogs, QWidget* parent);

    // Shows the day (an empty date when it lies outside the years offered) modally.
    DateWindowResult Choose(std::int32_t& jdn, const QString& caption);
    // The main window's Clock1, while this window shows: trims the year and enables
    // "Remove date restriction" only when something is entered.
    void Tidy();

    void SetYearRange(int lowest, int highest);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Accept();
    void Remove();
    void DateListChosen();

    Dialogs& dialogs_;
    QLabel* dateLabel_ = nullptr;
    QComboBox* monthList_ = nullptr;
    QComboBox* dayList_ = nullptr;
    QLineEdit* yearEdit_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    int lowestYear_;
    int highestYear_;
    bool moveFocus_ = true;
    DateWindowResult result_ = DateWindowResult::Cancelled;
    std::int32_t jdn_ = 0;
};

}  // namespace vorlane
