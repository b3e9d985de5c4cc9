#include "mainwin/FrmCEDateInput.h"

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

FrmCEDateInput::FrmCEDateInput(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      lowestYear_(kDateWindowLowestYear),
      highestYear_(kDateWindowHighestYear) {
    setObjectName("frmCEDateInput");
    PaintWindow(*this, kChoiceWindowColour);
    lblDateText_ = NamedLabel(
        "lblDateText",
        "Specify date such that ONLY files with dates BEFORE this date will be purged.", this);
    lblDateText_->setWordWrap(true);
    cboMonthNames_ = new QComboBox(this);
    cboMonthNames_->setObjectName("cboMonthNames");
    cboMonthNames_->setAccessibleName("Month");
    cboMonthNames_->addItem(QString());
    for (int month = 1; month <= 12; ++month) {
        cboMonthNames_->addItem(
            QString::fromStdString(std::string(MonthName(month, false, false))));
    }
    cboDayNumbers_ = new QComboBox(this);
    cboDayNumbers_->setObjectName("cboDayNumbers");
    cboDayNumbers_->setAccessibleName("Day");
    cboDayNumbers_->addItem(QString());
    for (int day = 1; day <= 31; ++day) {
        cboDayNumbers_->addItem(QString::number(day));
    }
    txbYear_ = new QLineEdit(this);
    txbYear_->setObjectName("txbYear");
    txbYear_->setAccessibleName("Year");
    txbYear_->setMaxLength(12);
    txbYear_->installEventFilter(this);
    cmdAccept_ = Button("cmdAccept", "Accept", this);
    cmdClear_ = Button("cmdClear", "Remove date restriction", this);
    cmdCancel_ = Button("cmdCancel", "Cancel", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblDateText_, 0, 0, 1, 3);
    grid->addWidget(cboMonthNames_, 1, 0);
    grid->addWidget(cboDayNumbers_, 1, 1);
    grid->addWidget(txbYear_, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAccept_);
    buttons->addWidget(cmdClear_);
    buttons->addWidget(cmdCancel_);
    grid->addLayout(buttons, 2, 0, 1, 3);
    setFixedWidth(7800 / 15);

    connect(cmdAccept_, &QPushButton::clicked, this, &FrmCEDateInput::Accept);
    connect(cmdClear_, &QPushButton::clicked, this, &FrmCEDateInput::Remove);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(cboMonthNames_, &QComboBox::activated, this, &FrmCEDateInput::DateListChosen);
    connect(cboDayNumbers_, &QComboBox::activated, this, &FrmCEDateInput::DateListChosen);
}

void FrmCEDateInput::SetYearRange(int lowest, int highest) {
    lowestYear_ = lowest;
    highestYear_ = highest;
}

bool FrmCEDateInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txbYear_ && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            Accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmCEDateInput::DateListChosen() {
    if (!moveFocus_ || !isVisible()) {
        return;
    }
    txbYear_->setText(QString::fromStdString(TrimText(txbYear_->text().toStdString())));
    if (cboMonthNames_->currentIndex() > 0 && cboDayNumbers_->currentIndex() > 0 &&
        !txbYear_->text().isEmpty()) {
        cmdAccept_->setFocus();
    }
}

void FrmCEDateInput::Tidy() {
    if (!isVisible()) {
        return;
    }
    const QString trimmed = QString::fromStdString(TrimText(txbYear_->text().toStdString()));
    if (trimmed != txbYear_->text()) {
        txbYear_->setText(trimmed);
    }
    cmdClear_->setEnabled(!trimmed.isEmpty() || cboMonthNames_->currentIndex() > 0 ||
                          cboDayNumbers_->currentIndex() > 0);
}

void FrmCEDateInput::Accept() {
    const DateInputCheck check =
        CheckDateInput(txbYear_->text().toStdString(), cboMonthNames_->currentIndex(),
                       cboDayNumbers_->currentIndex(), lowestYear_, highestYear_);
    txbYear_->setText(QString::fromStdString(check.yearText));
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

void FrmCEDateInput::Remove() {
    result_ = DateWindowResult::Removed;
    accept();
}

DateWindowResult FrmCEDateInput::Choose(std::int32_t& jdn, const QString& caption) {
    setWindowTitle(caption);
    result_ = DateWindowResult::Cancelled;
    int year = 0;
    int month = 0;
    int day = 0;
    const bool shown =
        JdnToDate(jdn, year, month, day) && year >= lowestYear_ && year <= highestYear_;
    cboMonthNames_->setCurrentIndex(shown ? month : 0);
    cboDayNumbers_->setCurrentIndex(shown ? day : 0);
    txbYear_->setText(shown ? QString::number(year) : QString());
    cmdClear_->setEnabled(shown);
    exec();
    if (result_ == DateWindowResult::Accepted) {
        jdn = jdn_;
    }
    return result_;
}

}  // namespace vorlane
