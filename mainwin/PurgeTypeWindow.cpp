#include "mainwin/PurgeTypeWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "mainwin/WindowLook.h"
#include "support/ProgramText.h"

namespace vorlane {

namespace {

constexpr int kTitleText = 23;

const std::array<const char*, 3> kOptionCaptions{
    "1. Random bytes plus zeros", "2. Alternate bit patterns plus zeros",
    "3. Alternate bit patterns plus random bytes twice"};

const std::array<const char*, 3> kDescriptions{
    "Overwrite the data once with random bytes then with bit pattern 00000000.",
    "Overwrite the data three times with bit patterns 10101010, 01010101 and 00000000.",
    "Overwrite the data twice with bit patterns 10101010 and 01010101, then with random bytes, "
    "then twice with bit patterns 00001010 and 11110101, then again with random bytes."};

const char* const kDodNote =
    "Both the type 2 purge (if done 6 times) and the type 3 purge (if done 3 times) meet the "
    "U.S. DoD 5220.22-M standard for disk sanitization.";

}  // namespace

PurgeTypeWindow::PurgeTypeWindow(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setObjectName("frmTypeOfPurge");
    setWindowTitle("What type of purge should be used?");
    PaintWindow(*this, kChoiceWindowColour);
    auto* grid = new QGridLayout(this);
    passesLabel_ = NamedLabel("lblNumberOfTimes", "Number of times ('passes'):", this);
    grid->addWidget(passesLabel_, 0, 1);
    for (int type = 0; type < 3; ++type) {
        auto* option = new QRadioButton(kOptionCaptions[type], this);
        option->setObjectName(QString("purgeTypeOptions_%1").arg(type));
        auto* description =
            NamedLabel(QString("purgeTypeLabel_%1").arg(type), kDescriptions[type], this);
        description->setWordWrap(true);
        description->setIndent(24);
        auto* passes = new QComboBox(this);
        passes->setObjectName(QString("passCountList_%1").arg(type));
        passes->setAccessibleName(QString("Number of passes of type %1").arg(type + 1));
        for (int n = kMinNumberOfPasses; n <= MaxNumPasses(type); ++n) {
            passes->addItem(QString::number(n));
        }
        grid->addWidget(option, 1 + 2 * type, 0);
        grid->addWidget(passes, 1 + 2 * type, 1, Qt::AlignLeft);
        grid->addWidget(description, 2 + 2 * type, 0, 1, 2);
        purgeTypeOptions_[type] = option;
        purgeTypeLabel_[type] = description;
        passCountList_[type] = passes;
        connect(option, &QRadioButton::toggled, this, [this, type](bool on) {
            if (on && isVisible()) {
                ShowListOf(type);
                acceptButton_->setFocus();
            }
        });
        connect(passes, &QComboBox::activated, this, [this] { acceptButton_->setFocus(); });
    }
    auto* dod = NamedLabel("lblDOD", kDodNote, this);
    dod->setWordWrap(true);
    grid->addWidget(dod, 7, 0, 1, 2);
    acceptButton_ = new QPushButton("Accept", this);
    acceptButton_->setObjectName("cmdAccept");
    acceptButton_->setAutoDefault(false);
    cancelButton_ = new QPushButton("Cancel", this);
    cancelButton_->setObjectName("cmdCancel");
    cancelButton_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(acceptButton_);
    buttons->addWidget(cancelButton_);
    grid->addLayout(buttons, 8, 0, 1, 2);
    setMinimumWidth(560);
    connect(acceptButton_, &QPushButton::clicked, this, &PurgeTypeWindow::Accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

int PurgeTypeWindow::SelectedType() const {
    for (int type = 0; type < 3; ++type) {
        if (purgeTypeOptions_[type]->isChecked()) {
            return type;
        }
    }
    return 0;
}

void PurgeTypeWindow::ShowListOf(int type) {
    for (int other = 0; other < 3; ++other) {
        passCountList_[other]->setVisible(other == type);
    }
    // The list shown is the one its label names: a screen reader says "Number of
    // times ('passes')", not only "6".
    passesLabel_->setBuddy(passCountList_[type]);
}

PurgeTypeChoice PurgeTypeWindow::ShownChoice() const {
    PurgeTypeChoice shown;
    for (int type = 0; type < 3; ++type) {
        shown.SetPassesOf(type, kMinNumberOfPasses + passCountList_[type]->currentIndex());
    }
    shown.SelectType(SelectedType());
    return shown;
}

void PurgeTypeWindow::Accept() {
    const Question question{PurgeTypeAcceptQuestion(ShownChoice().GetNumOverwrites()),
                            GetText(kTitleText), MessageButtons::YesNo, 1, MessageIcon::Question};
    if (dialogs_.Ask(question) == MessageAnswer::Yes) {
        accept();
    }
}

bool PurgeTypeWindow::Choose(PurgeTypeChoice& choice) {
    const int openingType = choice.GetPurgeType();
    for (int type = 0; type < 3; ++type) {
        passCountList_[type]->setCurrentIndex(choice.PassesOf(type) - kMinNumberOfPasses);
    }
    purgeTypeOptions_[openingType]->setChecked(true);
    ShowListOf(openingType);
    acceptButton_->setFocus();
    const bool accepted = exec() == QDialog::Accepted;
    const PurgeTypeChoice shown = ShownChoice();
    for (int type = 0; type < 3; ++type) {
        choice.SetPassesOf(type, shown.PassesOf(type));
    }
    choice.SelectType(accepted ? shown.GetPurgeType() : openingType);
    purgeTypeOptions_[choice.GetPurgeType()]->setChecked(true);
    return accepted;
}

}  // namespace vorlane
