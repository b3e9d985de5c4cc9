#include "toolwin/FrmSelectSubfolders.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "mainwin/WindowLook.h"
#include "support/Strings.h"

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

FrmSelectSubfolders::FrmSelectSubfolders(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setObjectName("frmSelectSubfolders");
    setModal(true);
    PaintWindow(*this, kListBackColour);
    picSubfolders_ = new QWidget(this);
    picSubfolders_->setObjectName("picSubfolders");
    picSubfolders_->setLayout(new QVBoxLayout);
    picSubfolders_->layout()->setContentsMargins(0, 0, 0, 0);
    picSubfolders_->layout()->setSpacing(0);
    reading_ = new QLabel(picSubfolders_);
    QFont readingFont = reading_->font();
    readingFont.setPointSize(kReadingFontSize);
    reading_->setFont(readingFont);
    picSubfolders_->layout()->addWidget(reading_);
    // The rows stand at the top, one under the other; the space below stays empty.
    static_cast<QVBoxLayout*>(picSubfolders_->layout())->addStretch(1);
    vsbScrollBar_ = new QScrollBar(Qt::Vertical, this);
    vsbScrollBar_->setObjectName("vsbScrollBar");
    vsbScrollBar_->setAccessibleName("Scroll the subfolders");
    vsbScrollBar_->hide();
    lblNumSubfolders_ = NamedLabel("lblNumSubfolders", "", this);
    selectAll_ = NamedButton("cmdSelectDeselectAllSubfolders_1", "Select all", this);
    deselectAll_ = NamedButton("cmdSelectDeselectAllSubfolders_0", "Deselect all", this);
    cmdAccept_ = NamedButton("cmdAccept", "Accept", this);
    cmdCancel_ = NamedButton("cmdCancel", "Cancel", this);
    cmdAccept_->setAutoDefault(false);
    cmdCancel_->setAutoDefault(false);

    auto* list = new QHBoxLayout;
    list->addWidget(picSubfolders_, 1);
    list->addWidget(vsbScrollBar_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(selectAll_);
    buttons->addWidget(deselectAll_);
    buttons->addWidget(lblNumSubfolders_, 1);
    buttons->addWidget(cmdAccept_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(list, 1);
    layout->addLayout(buttons);

    connect(vsbScrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!busy_) {
            ShowPage(value);
        }
    });
    connect(selectAll_, &QPushButton::clicked, this, [this] { SetAll(true); });
    connect(deselectAll_, &QPushButton::clicked, this, [this] { SetAll(false); });
    connect(cmdAccept_, &QPushButton::clicked, this, [this] {
        if (!busy_) {
            Finish(true);
        }
    });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { Finish(false); });
}

SubfolderChoice FrmSelectSubfolders::Choose(const std::string& topFolder,
                                            const std::string& caption,
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

void FrmSelectSubfolders::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setWindowTitle(QString::fromStdString(caption_));
    // Read once the window is on the screen, so that its progress can be seen.
    QTimer::singleShot(0, this, [this] { ReadFolder(); });
}

void FrmSelectSubfolders::ReadFolder() {
    busy_ = true;
    stop_ = false;
    finishing_ = false;
    RemoveRows();
    entries_.clear();
    lblNumSubfolders_->clear();
    vsbScrollBar_->hide();
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

void FrmSelectSubfolders::ShowRows() {
    const SubfolderPaging paging = PagingFor(static_cast<int>(entries_.size()), rowsPerPage);
    for (int row = 0; row < paging.rows; ++row) {
        auto* box = new QCheckBox(picSubfolders_);
        box->setObjectName(QStringLiteral("chkSubfolder_%1").arg(row));
        auto* rowsLayout = static_cast<QVBoxLayout*>(picSubfolders_->layout());
        rowsLayout->insertWidget(rowsLayout->count() - 1, box);
        connect(box, &QCheckBox::clicked, this, [this, row](bool checked) {
            if (!busy_) {
                RowClicked(row, checked);
            }
        });
        rows_.push_back(box);
    }
    vsbScrollBar_->setRange(0, paging.scrollMaximum);
    vsbScrollBar_->setSingleStep(1);
    vsbScrollBar_->setPageStep(paging.pageStep);
    vsbScrollBar_->setValue(0);
    vsbScrollBar_->setVisible(paging.scrollBar);
    ShowPage(0);
    UpdateSummary();
    // As high as its rows and the button row need.
    resize(width(), sizeHint().height());
    cmdCancel_->setFocus();
}

void FrmSelectSubfolders::ShowPage(int first) {
    first_ = first;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const SubfolderEntry& entry = entries_[static_cast<std::size_t>(first_) + row];
        rows_[row]->setText(QString::fromStdString(entry.Text()));
        rows_[row]->setChecked(entry.checked);
    }
}

void FrmSelectSubfolders::RowClicked(int row, bool checked) {
    SubfolderEntry& entry = entries_[static_cast<std::size_t>(first_ + row)];
    rows_[static_cast<std::size_t>(row)]->setChecked(SetChecked(entry, checked));
    UpdateSummary();
}

void FrmSelectSubfolders::SetAll(bool checked) {
    if (busy_) {
        return;
    }
    SetAllChecked(entries_, checked);
    ShowPage(first_);
    UpdateSummary();
    cmdAccept_->setFocus();
}

void FrmSelectSubfolders::UpdateSummary() {
    const bool withTotal = LowerCaseText(caption_).find("included") != std::string::npos;
    lblNumSubfolders_->setText(
        QString::fromStdString(SummariseSelection(entries_, withTotal).text));
}

void FrmSelectSubfolders::Finish(bool accepted) {
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

void FrmSelectSubfolders::RemoveRows() {
    for (QCheckBox* row : rows_) {
        row->deleteLater();
    }
    rows_.clear();
}

void FrmSelectSubfolders::reject() {
    // Esc: the same as Cancel.
    Finish(false);
}

void FrmSelectSubfolders::closeEvent(QCloseEvent* event) {
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
