#include "toolwin/SubfolderSelectionWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "mainwin/WindowLook.h"
#include "support/Strings.h"
#include "toolwin/WheelToScrollBar.h"

namespace vorlane {
namespace {

const QColor kListBackColour(128, 0, 0);
constexpr int kReadingFontSize = 11;

QPushButton* NamedButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

SubfolderSelectionWindow::SubfolderSelectionWindow(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setObjectName("frmSelectSubfolders");
    setModal(true);
    PaintWindow(*this, kListBackColour);
    subfolderPanel_ = new QWidget(this);
    subfolderPanel_->setObjectName("picSubfolders");
    subfolderPanel_->setLayout(new QVBoxLayout);
    subfolderPanel_->layout()->setContentsMargins(0, 0, 0, 0);
    subfolderPanel_->layout()->setSpacing(0);
    reading_ = new QLabel(subfolderPanel_);
    QFont readingFont = reading_->font();
    readingFont.setPointSize(kReadingFontSize);
    reading_->setFont(readingFont);
    subfolderPanel_->layout()->addWidget(reading_);
    // The rows stand at the top, one under the other; the space below stays empty.
    static_cast<QVBoxLayout*>(subfolderPanel_->layout())->addStretch(1);
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setObjectName("vsbScrollBar");
    scrollBar_->setAccessibleName("Scroll the subfolders");
    scrollBar_->hide();
    new WheelToScrollBar(*subfolderPanel_, *scrollBar_);
    subfolderCountLabel_ = NamedLabel("lblNumSubfolders", "", this);
    selectAll_ = NamedButton("cmdSelectDeselectAllSubfolders_1", "Select all", this);
    deselectAll_ = NamedButton("cmdSelectDeselectAllSubfolders_0", "Deselect all", this);
    acceptButton_ = NamedButton("cmdAccept", "Accept", this);
    cancelButton_ = NamedButton("cmdCancel", "Cancel", this);
    acceptButton_->setAutoDefault(false);
    cancelButton_->setAutoDefault(false);

    auto* list = new QHBoxLayout;
    list->addWidget(subfolderPanel_, 1);
    list->addWidget(scrollBar_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(selectAll_);
    buttons->addWidget(deselectAll_);
    buttons->addWidget(subfolderCountLabel_, 1);
    buttons->addWidget(acceptButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(list, 1);
    layout->addLayout(buttons);

    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!busy_) {
            ShowPage(value);
        }
    });
    connect(selectAll_, &QPushButton::clicked, this, [this] { SetAll(true); });
    connect(deselectAll_, &QPushButton::clicked, this, [this] { SetAll(false); });
    connect(acceptButton_, &QPushButton::clicked, this, [this] {
        if (!busy_) {
            Finish(true);
        }
    });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { Finish(false); });
}

SubfolderChoice SubfolderSelectionWindow::Choose(
    const std::string& topFolder, const std::string& caption,
    const std::vector<std::string>& previousSelection) {
    topFolder_ = WithTrailingSeparator(topFolder);
    caption_ = caption;
    previous_ = previousSelection;
    accepted_ = false;
    exec();
    SubfolderChoice choice;
    choice.accepted = accepted_;
    if (accepted_) {
        choice.paths = SelectedPaths(topFolder_, entries_);
        const SelectionSummary summary = SummariseSelection(
            entries_, LowerCaseText(caption_).find("included") != std::string::npos);
        choice.totalSize = summary.totalSize;
        choice.sizeIsLowerBound = summary.sizeIsLowerBound;
    }
    return choice;
}

void SubfolderSelectionWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setWindowTitle(QString::fromStdString(caption_));
    // Read once the window is on the screen, so that its progress can be seen.
    QTimer::singleShot(0, this, [this] { ReadFolder(); });
}

void SubfolderSelectionWindow::ReadFolder() {
    busy_ = true;
    stop_ = false;
    finishing_ = false;
    RemoveRows();
    entries_.clear();
    subfolderCountLabel_->clear();
    scrollBar_->hide();
    reading_->setText("Reading disk . . .");
    reading_->show();
    SubfolderListing listing = ReadSubfolders(topFolder_, noSizes, [this](int read) {
        reading_->setText(QString::fromStdString("Reading disk . . ." + RepeatText(" .", read)));
        QCoreApplication::processEvents();
        return !stop_;
    });
    if (!isVisible() || stop_) {
        busy_ = false;
        return;  // cancelled while reading
    }
    if (!listing.error.empty()) {
        busy_ = false;
        dialogs_.Ask(
            {listing.error, "Select subfolders", MessageButtons::Ok, 1, MessageIcon::Exclamation});
        Finish(false);
        return;
    }
    entries_ = std::move(listing.entries);
    PreCheck(entries_, topFolder_, previous_);
    reading_->hide();
    ShowRows();
    busy_ = false;
}

void SubfolderSelectionWindow::ShowRows() {
    const SubfolderPaging paging = PagingFor(static_cast<int>(entries_.size()), rowsPerPage);
    for (int row = 0; row < paging.rows; ++row) {
        auto* box = new QCheckBox(subfolderPanel_);
        box->setObjectName(QStringLiteral("subfolderBox_%1").arg(row));
        auto* rowsLayout = static_cast<QVBoxLayout*>(subfolderPanel_->layout());
        rowsLayout->insertWidget(rowsLayout->count() - 1, box);
        connect(box, &QCheckBox::clicked, this, [this, row](bool checked) {
            if (!busy_) {
                RowClicked(row, checked);
            }
        });
        rows_.push_back(box);
    }
    scrollBar_->setRange(0, paging.scrollMaximum);
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(paging.pageStep);
    scrollBar_->setValue(0);
    scrollBar_->setVisible(paging.scrollBar);
    ShowPage(0);
    UpdateSummary();
    // As high as its rows and the button row need.
    resize(width(), sizeHint().height());
    cancelButton_->setFocus();
}

void SubfolderSelectionWindow::ShowPage(int first) {
    first_ = first;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const SubfolderEntry& entry = entries_[static_cast<std::size_t>(first_) + row];
        rows_[row]->setText(QString::fromStdString(entry.Text()));
        rows_[row]->setChecked(entry.checked);
    }
}

void SubfolderSelectionWindow::RowClicked(int row, bool checked) {
    SubfolderEntry& entry = entries_[static_cast<std::size_t>(first_ + row)];
    rows_[static_cast<std::size_t>(row)]->setChecked(SetChecked(entry, checked));
    UpdateSummary();
}

void SubfolderSelectionWindow::SetAll(bool checked) {
    if (busy_) {
        return;
    }
    SetAllChecked(entries_, checked);
    ShowPage(first_);
    UpdateSummary();
    acceptButton_->setFocus();
}

void SubfolderSelectionWindow::UpdateSummary() {
    const bool withTotal = LowerCaseText(caption_).find("included") != std::string::npos;
    subfolderCountLabel_->setText(
        QString::fromStdString(SummariseSelection(entries_, withTotal).text));
}

void SubfolderSelectionWindow::Finish(bool accepted) {
    finishing_ = true;
    accepted_ = accepted;
    stop_ = !accepted;
    if (accepted) {
        QDialog::accept();
    } else {
        QDialog::reject();
    }
    RemoveRows();
}

void SubfolderSelectionWindow::RemoveRows() {
    for (QCheckBox* row : rows_) {
        row->deleteLater();
    }
    rows_.clear();
}

void SubfolderSelectionWindow::reject() {
    // Esc: the same as Cancel.
    Finish(false);
}

void SubfolderSelectionWindow::closeEvent(QCloseEvent* event) {
    if (!finishing_) {
        dialogs_.Ask({"Please exit this window only by clicking on 'Accept' or 'Cancel'.",
                      "Select Folders", MessageButtons::Ok, 1, MessageIcon::Exclamation});
        finishing_ = true;
        accepted_ = false;
        stop_ = true;
        RemoveRows();
    }
    QDialog::closeEvent(event);
}

}  // namespace vorlane
