#include "mainwin/DateInputWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "mainwin/WindowLook.h"
#include "selection/DateInput.h"
#include "support/Dates.h"
#include "support/Strings.h"

namespace vorlane {

namespace {

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

DateInputWindow::DateInputWindow(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      lowestYear_(kDateWindowLowestYear),
      highestYear_(kDateWindowHighestYear) {
    setObjectName("frmCEDateInput");
    PaintWindow(*this, kChoiceWindowColour);
    dateLabel_ = NamedLabel(
        "lblDateText",
        "Specify date such that ONLY files with dates BEFORE this date will be purged.", this);
    dateLabel_->setWordWrap(true);
    monthList_ = new QComboBox(this);
    monthList_->setObjectName("cboMonthNames");
    monthList_->setAccessibleName("Month");
    monthList_->addItem(QString());
    for (int month = 1; month <= 12; ++month) {
        monthList_->addItem(QString::fromStdString(std::string(MonthName(month, false, false))));
    }
    dayList_ = new QComboBox(this);
    dayList_->setObjectName("cboDayNumbers");
    dayList_->setAccessibleName("Day");
    dayList_->addItem(QString());
    for (int day = 1; day <= 31; ++day) {
        dayList_->addItem(QString::number(day));
    }
    yearEdit_ = new QLineEdit(this);
    yearEdit_->setObjectName("txbYear");
    yearEdit_->setAccessibleName("Year");
    yearEdit_->setMaxLength(12);
    yearEdit_->installEventFilter(this);
    acceptButton_ = Button("cmdAccept", "Accept", this);
    clearButton_ = Button("cmdClear", "Remove date restriction", this);
    cancelButton_ = Button("cmdCancel", "Cancel", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(dateLabel_, 0, 0, 1, 3);
    // Each field under its name, which also names it to a screen reader.
    const std::pair<const char*, QWidget*> fields[] = {
        {"Month", monthList_}, {"Day", dayList_}, {"Year", yearEdit_}};
    int column = 0;
    for (const auto& [name, field] : fields) {
        QLabel* label = NamedLabel(QString("lbl%1").arg(name), name, this);
        label->setBuddy(field);
        grid->addWidget(label, 1, column);
        grid->addWidget(field, 2, column++);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(acceptButton_);
    buttons->addWidget(clearButton_);
    buttons->addWidget(cancelButton_);
    grid->addLayout(buttons, 3, 0, 1, 3);
    setMinimumWidth(7800 / 15);

    connect(acceptButton_, &QPushButton::clicked, this, &DateInputWindow::Accept);
    connect(clearButton_, &QPushButton::clicked, this, &DateInputWindow::Remove);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(monthList_, &QComboBox::activated, this, &DateInputWindow::DateListChosen);
    connect(dayList_, &QComboBox::activated, this, &DateInputWindow::DateListChosen);
}

void DateInputWindow::SetYearRange(int lowest, int highest) {
    lowestYear_ = lowest;
    highestYear_ = highest;
}

bool DateInputWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == yearEdit_ && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            Accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void DateInputWindow::DateListChosen() {
    if (!moveFocus_ || !isVisible()) {
        return;
    }
    yearEdit_->setText(QString::fromStdString(TrimText(yearEdit_->text().toStdString())));
    if (monthList_->currentIndex() > 0 && dayList_->currentIndex() > 0 &&
        !yearEdit_->text().isEmpty()) {
        acceptButton_->setFocus();
    }
}

void DateInputWindow::Tidy() {
    if (!isVisible()) {
        return;
    }
    const QString trimmed = QString::fromStdString(TrimText(yearEdit_->text().toStdString()));
    if (trimmed != yearEdit_->text()) {
        yearEdit_->setText(trimmed);
    }
    clearButton_->setEnabled(!trimmed.isEmpty() || monthList_->currentIndex() > 0 ||
                             dayList_->currentIndex() > 0);
}

void DateInputWindow::Accept() {
    const DateInputCheck check =
        CheckDateInput(yearEdit_->text().toStdString(), monthList_->currentIndex(),
                       dayList_->currentIndex(), lowestYear_, highestYear_);
    yearEdit_->setText(QString::fromStdString(check.yearText));
    const std::string title = windowTitle().toStdString();
    switch (check.status) {
        case DateInputStatus::NoYear:
            return;
        case DateInputStatus::TooEarly:
        case DateInputStatus::TooLate:
            Tell(dialogs_, DateInputMessage(check.status), title, MessageIcon::None);
            return;
        case DateInputStatus::Invalid:
            Tell(dialogs_, DateInputMessage(check.status), title, MessageIcon::Information);
            return;
        case DateInputStatus::Accepted:
            result_ = DateWindowResult::Accepted;
            jdn_ = check.jdn;
            accept();
            return;
    }
}

void DateInputWindow::Remove() {
    result_ = DateWindowResult::Removed;
    accept();
}

DateWindowResult DateInputWindow::Choose(std::int32_t& jdn, const QString& caption) {
    setWindowTitle(caption);
    result_ = DateWindowResult::Cancelled;
    int year = 0;
    int month = 0;
    int day = 0;
    const bool shown =
        JdnToDate(jdn, year, month, day) && year >= lowestYear_ && year <= highestYear_;
    monthList_->setCurrentIndex(shown ? month : 0);
    dayList_->setCurrentIndex(shown ? day : 0);
    yearEdit_->setText(shown ? QString::number(year) : QString());
    clearButton_->setEnabled(shown);
    exec();
    if (result_ == DateWindowResult::Accepted) {
        jdn = jdn_;
    }
    return result_;
}

}  // namespace vorlane
